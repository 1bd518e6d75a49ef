#pragma once
// Plug-ins for the state chunk and preset tests: a stereo configuration and a
// given number of parameters and presets.
#include <cstring>
#include <vector>

#include "recording_binding.h"

class ChunkTestPlug : public RecordingBinding {
public:
  ChunkTestPlug(int nParams, int nPresets)
      : RecordingBinding(nParams, "2-2 1-1", nPresets, "TestPlug", 0x10000, 0x54706c67, 0x546d6b72,
                         0) {}
};

// The clipping effect's parameters: In and Out in dB, Distort in percent.
class EffectLikePlug : public ChunkTestPlug {
public:
  EffectLikePlug() : ChunkTestPlug(3, 0) {
    GetParam(0)->InitDouble("In", 0.0, -20.0, 20.0, 0.01, "dB");
    GetParam(1)->InitDouble("Out", 0.0, -20.0, 20.0, 0.01, "dB");
    GetParam(2)->InitDouble("Distort", 50.0, 0.01, 100.0, 0.01, "%");
  }
};

// One parameter of each kind, and room for presets.
class PresetPlug : public ChunkTestPlug {
public:
  enum { kGain, kEnabled, kVoices, kMode, kNumParams };

  explicit PresetPlug(int nPresets = 4) : ChunkTestPlug(kNumParams, nPresets) {
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
