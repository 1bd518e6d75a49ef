#include <string>

#include "tests/host-check/audio_run.h"
#include "tests/host-check/checks.h"

namespace hostcheck {

namespace {

const double kSampleRates[] = {44100.0, 48000.0, 96000.0};
const int kBlockSizes[] = {32, 480, 4096};

std::string precisionName(bool doublePrecision) {
  return doublePrecision ? "64-bit" : "32-bit";
}

// A different setting for every run, so a value stuck from an earlier run shows.
void setRunParameters(juce::AudioPluginInstance& instance, int run, EffectSettings& settings) {
  setParameter(instance, kIn, 0.35f + 0.05f * static_cast<float>(run % 7), settings);
  setParameter(instance, kOut, 0.62f - 0.04f * static_cast<float>(run % 5), settings);
  setParameter(instance, kDistort, 0.05f * static_cast<float>(run % 19), settings);
}

void checkRatesAndBlockSizes(juce::AudioPluginInstance& instance, bool doublePrecision,
                             CheckReport& report) {
  EffectSettings settings;
  int run = 0;
  for (double rate : kSampleRates) {
    for (int blockSize : kBlockSizes) {
      prepare(instance, doublePrecision, rate, blockSize);
      setRunParameters(instance, run++, settings);
      AudioComparison result = processBlocks(instance, blockSize, 3, settings);
      // Hosts hand over shorter blocks than the prepared maximum, too.
      result.add(processBlocks(instance, blockSize / 3 + 1, 2, settings));
      report.expect(result.matches(),
                    precisionName(doublePrecision) + " at " + std::to_string(int(rate)) +
                        " Hz in blocks of " + std::to_string(blockSize) + " follows the formula",
                    result.describe());
    }
  }
}

// Distort (and In) move every block while audio runs; each block must use the
// value the host sent with it, across the whole range including the floor.
void checkAutomation(juce::AudioPluginInstance& instance, bool doublePrecision,
                     CheckReport& report) {
  const int blockSize = 64;
  const int steps = 24;
  prepare(instance, doublePrecision, 48000.0, blockSize);
  EffectSettings settings;
  AudioComparison total;
  for (int step = 0; step <= steps; ++step) {
    setParameter(instance, kDistort, static_cast<float>(step) / steps, settings);
    if (step % 4 == 0)
      setParameter(instance, kIn, 0.3f + 0.02f * static_cast<float>(step), settings);
    const long long position = static_cast<long long>(step) * blockSize;
    total.add(doublePrecision
                  ? processAndCompare<double>(instance, blockSize, position, settings, false)
                  : processAndCompare<float>(instance, blockSize, position, settings, false));
  }
  report.expect(total.matches(), precisionName(doublePrecision) + " Distort automation",
                total.describe());
}

// Hosts send empty blocks to deliver parameter changes without audio; the
// change must hold for the blocks that follow.
void checkEmptyBlock(juce::AudioPluginInstance& instance, bool doublePrecision,
                     CheckReport& report) {
  EffectSettings settings;
  setParameter(instance, kIn, 0.7f, settings);
  if (doublePrecision)
    processAndCompare<double>(instance, 0, 0, settings, false);
  else
    processAndCompare<float>(instance, 0, 0, settings, false);
  AudioComparison next = processBlocks(instance, 512, 1, settings);
  report.expect(next.matches(),
                precisionName(doublePrecision) + " a change sent with an empty block holds",
                next.describe());
}

} // namespace

void checkProcessing(PluginHost& host, CheckReport& report) {
  for (bool doublePrecision : {true, false}) {
    std::unique_ptr<juce::AudioPluginInstance> instance =
        createInstance(host, report, precisionName(doublePrecision) + " processing");
    if (instance == nullptr) continue;
    // Untouched parameters: the default Distort of 50 % gives a threshold of 0.4.
    prepare(*instance, doublePrecision, 44100.0, 512);
    AudioComparison fresh = processBlocks(*instance, 512, 2, EffectSettings());
    report.expect(fresh.matches(),
                  precisionName(doublePrecision) + " fresh instance clips at the default threshold",
                  fresh.describe());
    checkEmptyBlock(*instance, doublePrecision, report);
    checkRatesAndBlockSizes(*instance, doublePrecision, report);
    checkAutomation(*instance, doublePrecision, report);
  }
}

void checkBypass(PluginHost& host, CheckReport& report) {
  for (bool doublePrecision : {true, false}) {
    const std::string name = precisionName(doublePrecision);
    std::unique_ptr<juce::AudioPluginInstance> instance =
        createInstance(host, report, name + " bypass");
    if (instance == nullptr) continue;
    juce::AudioProcessorParameter* bypass = instance->getBypassParameter();
    if (!report.expect(bypass != nullptr, name + " bypass parameter present")) continue;
    prepare(*instance, doublePrecision, 44100.0, 256);
    EffectSettings settings;
    setParameter(*instance, kIn, 0.75f, settings);
    setParameter(*instance, kDistort, 0.3f, settings);

    bypass->setValue(1.0f);
    AudioComparison on = processBlocks(*instance, 256, 3, settings, true);
    report.expect(on.matches(), name + " bypass on passes the input unchanged", on.describe());
    bypass->setValue(0.0f);
    AudioComparison off = processBlocks(*instance, 256, 3, settings, false);
    report.expect(off.matches(), name + " bypass off processes again", off.describe());

    // The host's own bypassed call drives the same parameter.
    AudioComparison viaCall =
        doublePrecision ? processAndCompare<double>(*instance, 256, 0, settings, true, true)
                        : processAndCompare<float>(*instance, 256, 0, settings, true, true);
    report.expect(viaCall.matches(), name + " host's bypassed call passes the input unchanged",
                  viaCall.describe());
    AudioComparison resumed = processBlocks(*instance, 256, 1, settings, false);
    report.expect(resumed.matches(), name + " processing resumes after the bypassed call",
                  resumed.describe());
  }
}

} // namespace hostcheck
