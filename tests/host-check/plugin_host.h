#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

#include "tests/host-check/effect_model.h"

namespace hostcheck {

// The bundle as the third-party host sees it: one scanner and instance factory.
class PluginHost {
public:
  explicit PluginHost(const juce::String& bundlePath);

  const juce::String& bundlePath() const { return mBundlePath; }
  bool looksLikePlugin() { return mFormat.fileMightContainThisPluginType(mBundlePath); }

  // Every description the host's scan finds in the bundle.
  juce::OwnedArray<juce::PluginDescription> scan();

  // A fresh instance of the bundle's first class, or null with error filled in.
  std::unique_ptr<juce::AudioPluginInstance> create(double sampleRate, int blockSize,
                                                    juce::String& error);

private:
  juce::VST3PluginFormat mFormat;
  juce::String mBundlePath;
};

// The host parameter that stands for the plug-in's parameter index, or null.
juce::AudioProcessorParameter* findParameter(juce::AudioPluginInstance& instance, int index);

// Sets one parameter through the host API and records in settings the plain
// value that the plug-in derives from it.
bool setParameter(juce::AudioPluginInstance& instance, int index, float normalized,
                  EffectSettings& settings);

// Prepares for processing in the given precision at the given rate and block size.
void prepare(juce::AudioPluginInstance& instance, bool doublePrecision, double sampleRate,
             int blockSize);

} // namespace hostcheck
