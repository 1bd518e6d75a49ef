#pragma once
// A plug-in base with a recording binding, for the plug-in base tests.
#include <vector>

#include "framework/IPlugBase.h"

class TestPlug : public IPlugBase {
public:
  explicit TestPlug(const char* channelIO = "2-2 1-1", int nParams = 3, int latency = 0)
      : IPlugBase(nParams, channelIO, 0, "TestFx", "Product", "Maker", 0x10203, 0x514C3030,
                  0x516C6E74, latency, false, false, false, kAPIVST3) {}

  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int idx, double normalized) override {
    informed.push_back({idx, normalized});
  }
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override {}
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return tempo; }
  void GetTimeSig(int*, int*) override {}
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg* msg) override {
    sent.push_back(msg->mStatus);
    return msg->mStatus != 0xFF;
  }
  void OnParamChange(int idx) override {
    IPlugBase::OnParamChange(idx);
    notified.push_back(idx);
  }

  double* InScratch(int i) { return mInChannels.Get(i)->mScratchBuf.Get(); }
  double* OutScratch(int i) { return mOutChannels.Get(i)->mScratchBuf.Get(); }

  struct Inform {
    int idx;
    double value;
  };
  std::vector<Inform> informed;
  std::vector<int> notified;
  std::vector<int> sent;
  double tempo = 0.0;
};
