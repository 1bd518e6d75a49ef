#include "tests/host-check/plugin_host.h"

namespace hostcheck {

PluginHost::PluginHost(const juce::String& bundlePath) : mBundlePath(bundlePath) {}

juce::OwnedArray<juce::PluginDescription> PluginHost::scan() {
  juce::OwnedArray<juce::PluginDescription> found;
  mFormat.findAllTypesForFile(found, mBundlePath);
  return found;
}

std::unique_ptr<juce::AudioPluginInstance> PluginHost::create(double sampleRate, int blockSize,
                                                              juce::String& error) {
  juce::OwnedArray<juce::PluginDescription> found = scan();
  if (found.isEmpty()) {
    error = "the scan found no plug-in class";
    return nullptr;
  }
  return mFormat.createInstanceFromDescription(*found[0], sampleRate, blockSize, error);
}

juce::AudioProcessorParameter* findParameter(juce::AudioPluginInstance& instance, int index) {
  const juce::String id(parameterRange(index).id);
  for (juce::AudioProcessorParameter* parameter : instance.getParameters()) {
    auto* withId = dynamic_cast<juce::HostedAudioProcessorParameter*>(parameter);
    if (withId != nullptr && withId->getParameterID() == id) return parameter;
  }
  return nullptr;
}

bool setParameter(juce::AudioPluginInstance& instance, int index, float normalized,
                  EffectSettings& settings) {
  juce::AudioProcessorParameter* parameter = findParameter(instance, index);
  if (parameter == nullptr) return false;
  parameter->setValue(normalized);
  const double plain = plainFromNormalized(index, normalized);
  if (index == kIn) settings.inDB = plain;
  if (index == kOut) settings.outDB = plain;
  if (index == kDistort) settings.distortPercent = plain;
  return true;
}

void prepare(juce::AudioPluginInstance& instance, bool doublePrecision, double sampleRate,
             int blockSize) {
  instance.releaseResources();
  instance.setProcessingPrecision(doublePrecision ? juce::AudioProcessor::doublePrecision
                                                  : juce::AudioProcessor::singlePrecision);
  instance.prepareToPlay(sampleRate, blockSize);
}

} // namespace hostcheck
