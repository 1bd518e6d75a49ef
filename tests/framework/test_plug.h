#pragma once
// Plug-ins for the state chunk and preset tests: a stereo configuration and a
// given number of parameters and presets.
#include <cstring>
#include <memory>
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

// A plug-in that keeps a state chunk of its own: its parameters, then a text.
class TextChunkPlug : public RecordingBinding {
public:
  TextChunkPlug()
      : RecordingBinding(2, "2-2", 3, "TextChunk", 0x10203, 0x54786368, 0x546d6b72, 0, true) {
    GetParam(0)->InitDouble("Drive", 1.0, 0.0, 10.0, 0.1);
    GetParam(1)->InitBool("Bright", false);
  }
  bool SerializeState(ByteChunk* chunk) override {
    return SerializeParams(chunk) && chunk->PutStr(mText.Get()) > 0;
  }
  int UnserializeState(ByteChunk* chunk, int pos) override {
    pos = UnserializeParams(chunk, pos);
    if (pos < 0) return pos;
    mText.Set(""); // a stored empty text is read as one
    return chunk->GetStr(&mText, pos);
  }
  WDL_String mText{"plain"};
};

// Two presets made, one left empty, preset 1 current and then changed: where
// the program and bank file tests start. The values are exact as floats.
inline void FillProgramFilePlug(RecordingBinding* plug) {
  for (int k = 0; k < 2; ++k) {
    for (int i = 0; i < plug->NParams(); ++i)
      plug->GetParam(i)->SetNormalized(((k + 1) * (i + 2) % 7) / 8.0);
    if (TextChunkPlug* text = dynamic_cast<TextChunkPlug*>(plug))
      text->mText.SetFormatted(32, "text %d", k);
    plug->MakeDefaultPreset(k ? "Second" : "First", 1);
  }
  plug->RestorePreset(1);
  plug->GetParam(0)->SetNormalized(0.25);
}

// A plug-in with three presets and a state chunk of its own, or without.
inline std::unique_ptr<RecordingBinding> MakeProgramFilePlug(bool chunks, bool filled) {
  std::unique_ptr<RecordingBinding> plug(chunks ? static_cast<RecordingBinding*>(new TextChunkPlug)
                                                : new PresetPlug(3));
  if (filled) FillProgramFilePlug(plug.get());
  return plug;
}

inline std::vector<double> DoublesOf(const ByteChunk& chunk) {
  std::vector<double> values(static_cast<size_t>(chunk.Size()) / sizeof(double));
  if (!values.empty()) memcpy(values.data(), chunk.GetBytes(), values.size() * sizeof(double));
  return values;
}
