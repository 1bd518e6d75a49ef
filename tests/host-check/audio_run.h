#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <string>

#include "tests/host-check/effect_model.h"

namespace hostcheck {

// How one processed stretch of audio compares with the effect's formula.
struct AudioComparison {
  long long samples = 0;
  long long mismatches = 0;
  std::string firstMismatch; // channel, sample, value and expected value

  bool matches() const { return samples > 0 && mismatches == 0; }
  void add(const AudioComparison& other);
  std::string describe() const;
};

// Fills a stereo buffer with a signal that differs per channel (a swapped or
// copied channel shows), swings to about +-1.6 so every block clips at any
// threshold, and includes exact zeros and exact threshold values.
template <typename Sample>
void fillTestSignal(juce::AudioBuffer<Sample>& buffer, long long startPosition);

// Processes one block of numSamples from the test signal at startPosition and
// compares the output with clipSample (or with the input when bypassed): exact
// in 64 bits, within one float rounding step in 32 bits. Uses processBlock, or
// processBlockBypassed when viaBypassedCall is set.
template <typename Sample>
AudioComparison processAndCompare(juce::AudioPluginInstance& instance, int numSamples,
                                  long long startPosition, const EffectSettings& settings,
                                  bool expectBypassed, bool viaBypassedCall = false);

// Processes blocks in the instance's current precision (which must be
// prepared) and compares each with the formula for the given settings.
AudioComparison processBlocks(juce::AudioPluginInstance& instance, int blockSize, int blockCount,
                              const EffectSettings& settings, bool expectBypassed = false);

// Both outputs of two instances fed the same block, bit for bit.
bool sameOutput(juce::AudioPluginInstance& first, juce::AudioPluginInstance& second, int numSamples,
                std::string& detail);

} // namespace hostcheck
