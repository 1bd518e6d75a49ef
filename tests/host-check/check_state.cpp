#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/host-check/audio_run.h"
#include "tests/host-check/checks.h"
#include "tests/host-check/saved_state.h"

namespace hostcheck {

namespace {

// Three doubles in parameter order, then the bypass flag as a 32-bit integer.
const size_t kStateSize = 28;

void checkStateBytes(const juce::MemoryBlock& saved, const EffectSettings& settings, int bypassed,
                     const std::string& name, CheckReport& report) {
  ControllerState state = controllerStateOf(saved);
  if (!report.expect(state.found, name + ": the host's state holds the plug-in's bytes")) return;
  report.expect(state.bytes.size() == kStateSize, name + ": state is 28 bytes",
                std::to_string(state.bytes.size()));
  const double expected[kParameterCount] = {settings.inDB, settings.outDB, settings.distortPercent};
  for (int index = 0; index < kParameterCount; ++index) {
    double stored = std::nan("");
    state.readDouble(static_cast<size_t>(index) * 8, stored);
    report.expectNumber(name + ": stored " + parameterRange(index).name, stored, expected[index],
                        0.0);
  }
  int flag = -1;
  state.readInt32(24, flag);
  report.expect(flag == bypassed, name + ": stored bypass flag", std::to_string(flag));
}

std::unique_ptr<juce::AudioPluginInstance> restoredInstance(PluginHost& host,
                                                            const juce::MemoryBlock& saved,
                                                            CheckReport& report,
                                                            const std::string& purpose) {
  std::unique_ptr<juce::AudioPluginInstance> instance = createInstance(host, report, purpose);
  if (instance == nullptr) return nullptr;
  // A project load restores the state first and starts processing afterwards.
  instance->setStateInformation(saved.getData(), static_cast<int>(saved.getSize()));
  prepare(*instance, true, 44100.0, 256);
  return instance;
}

EffectSettings checkRoundTrip(PluginHost& host, juce::AudioPluginInstance& original,
                              CheckReport& report) {
  EffectSettings settings;
  setParameter(original, kIn, 0.7125f, settings);
  setParameter(original, kOut, 0.3875f, settings);
  setParameter(original, kDistort, 0.8f, settings);
  processBlocks(original, 256, 1, settings); // the values reach the plug-in with a block
  juce::MemoryBlock saved;
  original.getStateInformation(saved);
  checkStateBytes(saved, settings, 0, "saved settings", report);

  std::unique_ptr<juce::AudioPluginInstance> copy =
      restoredInstance(host, saved, report, "restoring settings");
  if (copy == nullptr) return settings;
  // The host shows and automates from its own copy of the values.
  for (int index = 0; index < kParameterCount; ++index) {
    juce::AudioProcessorParameter* shown = findParameter(*copy, index);
    juce::AudioProcessorParameter* set = findParameter(original, index);
    if (report.expect(shown != nullptr && set != nullptr,
                      std::string("restored instance lists ") + parameterRange(index).name))
      report.expectNumber(std::string("host sees the restored ") + parameterRange(index).name,
                          shown->getValue(), set->getValue(), 1e-6);
  }
  std::string detail;
  report.expect(sameOutput(original, *copy, 256, detail),
                "restored instance sounds like the original", detail);
  AudioComparison restored = processBlocks(*copy, 256, 2, settings);
  report.expect(restored.matches(), "restored instance follows the saved settings",
                restored.describe());
  return settings;
}

void checkBypassRoundTrip(PluginHost& host, juce::AudioPluginInstance& original,
                          EffectSettings settings, CheckReport& report) {
  setParameter(original, kDistort, 0.6f, settings);
  original.getBypassParameter()->setValue(1.0f);
  processBlocks(original, 256, 1, settings, true);
  juce::MemoryBlock saved;
  original.getStateInformation(saved);
  checkStateBytes(saved, settings, 1, "saved while bypassed", report);
  std::unique_ptr<juce::AudioPluginInstance> copy =
      restoredInstance(host, saved, report, "restoring bypass");
  if (copy == nullptr) return;
  AudioComparison passed = processBlocks(*copy, 256, 2, settings, true);
  report.expect(passed.matches(), "restored bypass passes the input unchanged", passed.describe());
}

std::vector<unsigned char> stateBytes(double in, double out, double distort, int bypass) {
  std::vector<unsigned char> bytes(kStateSize);
  const double values[kParameterCount] = {in, out, distort};
  std::memcpy(bytes.data(), values, sizeof values);
  std::memcpy(bytes.data() + sizeof values, &bypass, sizeof bypass);
  return bytes;
}

void restoreAndExpect(juce::AudioPluginInstance& instance, const juce::MemoryBlock& hostState,
                      const EffectSettings& expected, const std::string& what,
                      CheckReport& report) {
  instance.setStateInformation(hostState.getData(), static_cast<int>(hostState.getSize()));
  AudioComparison result = processBlocks(instance, 256, 1, expected);
  report.expect(result.matches(), what, result.describe());
}

// Project files come from outside: damaged ones must change nothing, and
// values out of range are clamped, never taken as they stand.
void checkDamagedStates(PluginHost& host, CheckReport& report) {
  std::unique_ptr<juce::AudioPluginInstance> instance =
      createInstance(host, report, "damaged states");
  if (instance == nullptr) return;
  prepare(*instance, true, 44100.0, 256);
  EffectSettings settings;
  setParameter(*instance, kIn, 0.6f, settings);
  setParameter(*instance, kOut, 0.45f, settings);
  setParameter(*instance, kDistort, 0.35f, settings);
  processBlocks(*instance, 256, 1, settings);
  juce::MemoryBlock good;
  instance->getStateInformation(good);

  std::vector<unsigned char> shortened = stateBytes(3.0, 4.0, 5.0, 0);
  shortened.resize(16);
  restoreAndExpect(*instance, withControllerState(good, shortened), settings,
                   "a state cut short changes nothing", report);
  restoreAndExpect(*instance, withControllerState(good, stateBytes(3.0, std::nan(""), 5.0, 0)),
                   settings, "a state holding NaN changes nothing", report);

  EffectSettings clamped{20.0, -20.0, 100.0};
  restoreAndExpect(*instance, withControllerState(good, stateBytes(1000.0, -1000.0, 500.0, 0)),
                   clamped, "values out of range are clamped on restore", report);
}

} // namespace

void checkState(PluginHost& host, CheckReport& report) {
  std::unique_ptr<juce::AudioPluginInstance> original =
      createInstance(host, report, "saving state");
  if (original == nullptr || original->getBypassParameter() == nullptr) return;
  prepare(*original, true, 44100.0, 256);
  EffectSettings settings = checkRoundTrip(host, *original, report);
  checkBypassRoundTrip(host, *original, settings, report);
  checkDamagedStates(host, report);
}

} // namespace hostcheck
