#pragma once
// A binding for running a plug-in without a host: offline rendering and tests.
// Edits go nowhere, the transport stands still at zero, MIDI out is refused.
#include "framework/IPlugBase.h"
#include "framework/IPlugInstanceInfo.h"

class IPlugHeadless : public IPlugBase {
public:
  IPlugHeadless(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
                const char* effectName, const char* productName, const char* mfrName,
                int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
                bool plugDoesChunks, bool plugIsInst, int nSideChainChannels);

  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override {}
  bool IsRenderingOffline() override { return true; }
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 0.0; }
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* timeInfo) override;
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }
};
