#pragma once
// A plug-in base whose binding has no host behind it: it records what the
// base and the plug-in tell the host (edit gestures, values, program changes,
// MIDI) and what the base tells the plug-in (parameter and preset changes),
// so tests can check both. The transport stands still; a MIDI message with the
// status 0xFF is refused so that a failing send can be seen.
#include <vector>

#include "framework/IPlugBase.h"

class RecordingBinding : public IPlugBase {
public:
  RecordingBinding(int nParams, const char* channelIO, int nPresets, const char* effectName,
                   int vendorVersion, int uniqueID, int mfrID, int latency, bool doesChunks = false)
      : IPlugBase(nParams, channelIO, nPresets, effectName, "Product", "Maker", vendorVersion,
                  uniqueID, mfrID, latency, false, doesChunks, false, kAPIVST3) {}

  void BeginInformHostOfParamChange(int idx) override { mBegun.push_back(idx); }
  void InformHostOfParamChange(int idx, double normalized) override {
    mInformed.push_back({idx, normalized});
  }
  void EndInformHostOfParamChange(int idx) override { mEnded.push_back(idx); }
  void InformHostOfProgramChange() override { ++mProgramChanges; }
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return mTempo; }
  void GetTimeSig(int* numerator, int* denominator) override {
    if (numerator) *numerator = 4;
    if (denominator) *denominator = 4;
  }
  void GetTime(ITimeInfo* timeInfo) override {
    if (timeInfo) *timeInfo = ITimeInfo();
  }
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg* msg) override {
    mSent.push_back(msg->mStatus);
    return msg->mStatus != 0xFF;
  }

  void OnParamChange(int idx) override {
    IPlugBase::OnParamChange(idx);
    mNotified.push_back(idx);
  }
  void PresetsChangedByHost() override { ++mPresetChanges; }

  struct Inform {
    int idx;
    double value;
  };
  std::vector<int> mBegun;
  std::vector<Inform> mInformed;
  std::vector<int> mEnded;
  int mProgramChanges = 0;
  std::vector<int> mSent;
  std::vector<int> mNotified;
  int mPresetChanges = 0;
  double mTempo = 0.0;
};
