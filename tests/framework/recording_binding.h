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
                   int vendorVersion, int uniqueID, int mfrID, int latency)
      : IPlugBase(nParams, channelIO, nPresets, effectName, "Product", "Maker", vendorVersion,
                  uniqueID, mfrID, latency, false, false, false, kAPIVST3) {}

  void BeginInformHostOfParamChange(int idx) override { begun.push_back(idx); }
  void InformHostOfParamChange(int idx, double normalized) override {
    informed.push_back({idx, normalized});
  }
  void EndInformHostOfParamChange(int idx) override { ended.push_back(idx); }
  void InformHostOfProgramChange() override { ++programChanges; }
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return tempo; }
  void GetTimeSig(int* numerator, int* denominator) override {
    if (numerator) *numerator = 4;
    if (denominator) *denominator = 4;
  }
  void GetTime(ITimeInfo* timeInfo) override {
    if (timeInfo) *timeInfo = ITimeInfo();
  }
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg* msg) override {
    sent.push_back(msg->mStatus);
    return msg->mStatus != 0xFF;
  }

  void OnParamChange(int idx) override {
    IPlugBase::OnParamChange(idx);
    notified.push_back(idx);
  }
  void PresetsChangedByHost() override { ++presetChanges; }

  struct Inform {
    int idx;
    double value;
  };
  std::vector<int> begun;
  std::vector<Inform> informed;
  std::vector<int> ended;
  int programChanges = 0;
  std::vector<int> sent;
  std::vector<int> notified;
  int presetChanges = 0;
  double tempo = 0.0;
};
