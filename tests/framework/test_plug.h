#pragma once
// A minimal plug-in for framework tests: every binding operation is a no-op,
// and the notifications the base makes are counted so tests can check them.
#include <vector>

#include "framework/IPlugBase.h"

class TestPlug : public IPlugBase {
public:
  TestPlug(int nParams, int nPresets)
      : IPlugBase(nParams, "2-2 1-1", nPresets, "TestPlug", "Test Product", "Test Maker", 0x10000,
                  0x54706c67, 0x546d6b72, 0, false, false, false, kAPIVST3) {}

  void OnParamChange(int paramIdx) override { mNotified.push_back(paramIdx); }
  void PresetsChangedByHost() override { ++mPresetChanges; }

  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override {}
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int* numerator, int* denominator) override {
    *numerator = 4;
    *denominator = 4;
  }
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }

  std::vector<int> mNotified;
  int mPresetChanges = 0;
};

// The clipping effect's parameters: In and Out in dB, Distort in percent.
class EffectLikePlug : public TestPlug {
public:
  EffectLikePlug() : TestPlug(3, 0) {
    GetParam(0)->InitDouble("In", 0.0, -20.0, 20.0, 0.01, "dB");
    GetParam(1)->InitDouble("Out", 0.0, -20.0, 20.0, 0.01, "dB");
    GetParam(2)->InitDouble("Distort", 50.0, 0.01, 100.0, 0.01, "%");
  }
};

// One parameter of each kind, and room for presets.
class PresetPlug : public TestPlug {
public:
  enum { kGain, kEnabled, kVoices, kMode, kNumParams };

  explicit PresetPlug(int nPresets = 4) : TestPlug(kNumParams, nPresets) {
    GetParam(kGain)->InitDouble("Gain", 0.0, -24.0, 24.0, 0.1, "dB");
    GetParam(kEnabled)->InitBool("Enabled", true);
    GetParam(kVoices)->InitInt("Voices", 4, 1, 16);
    GetParam(kMode)->InitEnum("Mode", 0, 3);
  }

  void SetValues(double gain, bool enabled, int voices, int mode) {
    GetParam(kGain)->Set(gain);
    GetParam(kEnabled)->Set(enabled ? 1.0 : 0.0);
    GetParam(kVoices)->Set(voices);
    GetParam(kMode)->Set(mode);
  }
  std::vector<double> Values() const {
    std::vector<double> values;
    for (int i = 0; i < NParams(); ++i) values.push_back(GetParam(i)->Value());
    return values;
  }
};

inline std::vector<double> DoublesOf(const ByteChunk& chunk) {
  std::vector<double> values(static_cast<size_t>(chunk.Size()) / sizeof(double));
  if (!values.empty()) memcpy(values.data(), chunk.GetBytes(), values.size() * sizeof(double));
  return values;
}
