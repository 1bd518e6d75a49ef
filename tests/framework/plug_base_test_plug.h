#pragma once
// The plug-in for the plug-in base tests: any channel configuration, three
// parameters by default, and access to the scratch buffers.
#include "framework/detail/IPlugChannels.h"
#include "recording_binding.h"

class PlugBaseTestPlug : public RecordingBinding {
public:
  explicit PlugBaseTestPlug(const char* channelIO = "2-2 1-1", int nParams = 3, int latency = 0)
      : RecordingBinding(nParams, channelIO, 0, "TestFx", 0x10203, 0x514C3030, 0x516C6E74,
                         latency) {}

  double* InScratch(int i) { return ChannelsOf(this)->mIn.Get(i)->mScratchBuf.Get(); }
  double* OutScratch(int i) { return ChannelsOf(this)->mOut.Get(i)->mScratchBuf.Get(); }
};
