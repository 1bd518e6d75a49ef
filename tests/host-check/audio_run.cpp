#include "tests/host-check/audio_run.h"

#include <cfloat>
#include <cmath>
#include <sstream>

namespace hostcheck {

void AudioComparison::add(const AudioComparison& other) {
  if (firstMismatch.empty()) firstMismatch = other.firstMismatch;
  samples += other.samples;
  mismatches += other.mismatches;
}

std::string AudioComparison::describe() const {
  std::ostringstream text;
  text << mismatches << " of " << samples << " samples differ";
  if (!firstMismatch.empty()) text << "; first: " << firstMismatch;
  return text.str();
}

namespace {

double testSample(int channel, long long position) {
  if (position % 17 == 0) return 0.0;
  if (position % 23 == 0) return channel == 0 ? 0.4 : -0.4;
  const double rate = channel == 0 ? 0.0131 : 0.0077;
  return 1.6 * std::sin(6.283185307179586 * rate * static_cast<double>(position) + channel);
}

bool closeEnough(double actual, double expected) {
  return actual == expected;
}

bool closeEnough(float actual, double expected) {
  const float rounded = static_cast<float>(expected);
  return std::fabs(actual - rounded) <= FLT_EPSILON * std::fmax(1.0f, std::fabs(rounded));
}

template <typename Sample>
void compareBlock(const juce::AudioBuffer<Sample>& input, const juce::AudioBuffer<Sample>& output,
                  long long startPosition, const EffectSettings& settings, bool expectBypassed,
                  AudioComparison& result) {
  for (int channel = 0; channel < input.getNumChannels(); ++channel) {
    for (int i = 0; i < input.getNumSamples(); ++i) {
      const double in = input.getSample(channel, i);
      const double expected = expectBypassed ? in : clipSample(in, settings);
      const Sample got = output.getSample(channel, i);
      ++result.samples;
      if (closeEnough(got, expected)) continue;
      if (result.mismatches++ == 0) {
        std::ostringstream where;
        where.precision(17);
        where << "channel " << channel << " sample " << startPosition + i << ": input " << in
              << " gave " << static_cast<double>(got) << ", expected " << expected;
        result.firstMismatch = where.str();
      }
    }
  }
}

} // namespace

template <typename Sample>
void fillTestSignal(juce::AudioBuffer<Sample>& buffer, long long startPosition) {
  for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
    for (int i = 0; i < buffer.getNumSamples(); ++i)
      buffer.setSample(channel, i, static_cast<Sample>(testSample(channel, startPosition + i)));
}

template <typename Sample>
AudioComparison processAndCompare(juce::AudioPluginInstance& instance, int numSamples,
                                  long long startPosition, const EffectSettings& settings,
                                  bool expectBypassed, bool viaBypassedCall) {
  juce::AudioBuffer<Sample> input(2, numSamples);
  fillTestSignal(input, startPosition);
  juce::AudioBuffer<Sample> buffer(input);
  juce::MidiBuffer midi;
  if (viaBypassedCall)
    instance.processBlockBypassed(buffer, midi);
  else
    instance.processBlock(buffer, midi);
  AudioComparison result;
  compareBlock(input, buffer, startPosition, settings, expectBypassed, result);
  return result;
}

AudioComparison processBlocks(juce::AudioPluginInstance& instance, int blockSize, int blockCount,
                              const EffectSettings& settings, bool expectBypassed) {
  AudioComparison total;
  for (int block = 0; block < blockCount; ++block) {
    const long long position = static_cast<long long>(block) * blockSize;
    if (instance.isUsingDoublePrecision())
      total.add(processAndCompare<double>(instance, blockSize, position, settings, expectBypassed));
    else
      total.add(processAndCompare<float>(instance, blockSize, position, settings, expectBypassed));
  }
  return total;
}

bool sameOutput(juce::AudioPluginInstance& first, juce::AudioPluginInstance& second, int numSamples,
                std::string& detail) {
  juce::AudioBuffer<double> a(2, numSamples);
  fillTestSignal(a, 0);
  juce::AudioBuffer<double> b(a);
  juce::MidiBuffer midi;
  first.processBlock(a, midi);
  second.processBlock(b, midi);
  for (int channel = 0; channel < 2; ++channel) {
    for (int i = 0; i < numSamples; ++i) {
      if (a.getSample(channel, i) == b.getSample(channel, i)) continue;
      std::ostringstream where;
      where.precision(17);
      where << "channel " << channel << " sample " << i << ": " << a.getSample(channel, i)
            << " versus " << b.getSample(channel, i);
      detail = where.str();
      return false;
    }
  }
  return true;
}

template void fillTestSignal<float>(juce::AudioBuffer<float>&, long long);
template void fillTestSignal<double>(juce::AudioBuffer<double>&, long long);
template AudioComparison processAndCompare<float>(juce::AudioPluginInstance&, int, long long,
                                                  const EffectSettings&, bool, bool);
template AudioComparison processAndCompare<double>(juce::AudioPluginInstance&, int, long long,
                                                   const EffectSettings&, bool, bool);

} // namespace hostcheck
