#include <cmath>

#include "tests/host-check/checks.h"
#include "tests/host-check/saved_state.h"

namespace hostcheck {

namespace {

std::string nameOf(int index) {
  return parameterRange(index).name;
}

float normalizedDefault(int index) {
  const ParameterRange& range = parameterRange(index);
  return static_cast<float>((range.defaultValue - range.minimum) / (range.maximum - range.minimum));
}

void checkEffectParameter(juce::AudioPluginInstance& instance, int index, CheckReport& report) {
  juce::AudioProcessorParameter* parameter = findParameter(instance, index);
  if (!report.expect(parameter != nullptr, nameOf(index) + " is listed under its index as id"))
    return;
  report.expectText(nameOf(index) + " name", parameter->getName(64).toStdString(), nameOf(index));
  report.expectText(nameOf(index) + " label", parameter->getLabel().toStdString(),
                    parameterRange(index).label);
  report.expectNumber(nameOf(index) + " default", parameter->getDefaultValue(),
                      normalizedDefault(index), 1e-6);
  report.expect(parameter->isAutomatable() && !parameter->isDiscrete(),
                nameOf(index) + " is continuous and automatable");
}

void checkBypassParameter(juce::AudioPluginInstance& instance, CheckReport& report) {
  juce::AudioProcessorParameter* bypass = instance.getBypassParameter();
  if (!report.expect(bypass != nullptr, "the host finds a bypass parameter")) return;
  auto* withId = dynamic_cast<juce::HostedAudioProcessorParameter*>(bypass);
  report.expect(withId != nullptr && withId->getParameterID() == juce::String(kBypassId),
                "the bypass parameter has the id bpas");
  report.expectText("bypass name", bypass->getName(64).toStdString(), "Bypass");
  report.expect(bypass->isDiscrete() && bypass->getNumSteps() == 2 && bypass->isAutomatable(),
                "bypass is an automatable two-state switch",
                std::to_string(bypass->getNumSteps()) + " steps");
  report.expect(bypass->getDefaultValue() == 0.0f, "bypass is off by default");
}

struct TextCase {
  int index;
  float normalized;
  const char* text;
};

void checkValueTexts(juce::AudioPluginInstance& instance, CheckReport& report) {
  const TextCase cases[] = {
      {kIn, 0.25f, "-10.00"},   {kIn, 0.5f, "0.00"},
      {kIn, 0.0f, "-20.00"},    {kOut, 1.0f, "20.00"},
      {kOut, 0.5625f, "2.50"},  {kDistort, 1.0f, "100.00"},
      {kDistort, 0.0f, "0.01"}, {kDistort, normalizedDefault(kDistort), "50.00"}};
  for (const TextCase& c : cases) {
    juce::AudioProcessorParameter* parameter = findParameter(instance, c.index);
    if (parameter == nullptr) continue;
    report.expectText(nameOf(c.index) + " text at " + std::to_string(c.normalized),
                      parameter->getText(c.normalized, 32).toStdString(), c.text);
  }
}

// Values set through the host must arrive in the plug-in: its saved state holds
// the plain values it derived from them.
void checkSetAndReadBack(juce::AudioPluginInstance& instance, CheckReport& report) {
  const float normalized[kParameterCount] = {0.625f, 0.375f, 0.75f};
  for (int index = 0; index < kParameterCount; ++index)
    if (juce::AudioProcessorParameter* parameter = findParameter(instance, index))
      parameter->setValue(normalized[index]);
  juce::MemoryBlock saved;
  instance.getStateInformation(saved);
  ControllerState state = controllerStateOf(saved);
  if (!report.expect(state.found, "the saved state carries the plug-in's bytes")) return;
  for (int index = 0; index < kParameterCount; ++index) {
    double stored = std::nan(""); // stays NaN, and fails, when the bytes are missing
    state.readDouble(static_cast<size_t>(index) * 8, stored);
    report.expectNumber(nameOf(index) + " set through the host reads back from the plug-in", stored,
                        plainFromNormalized(index, normalized[index]), 0.0);
  }
}

void checkTextParsing(juce::AudioPluginInstance& instance, CheckReport& report) {
  juce::AudioProcessorParameter* in = findParameter(instance, kIn);
  juce::AudioProcessorParameter* distort = findParameter(instance, kDistort);
  if (in == nullptr || distort == nullptr) return;
  report.expectNumber("In parses 3.5", in->getValueForText("3.5"), 23.5 / 40.0, 1e-6);
  report.expectNumber("In clamps -35 to its minimum", in->getValueForText("-35"), 0.0, 1e-6);
  report.expectNumber("Distort parses 50", distort->getValueForText("50"), 49.99 / 99.99, 1e-6);
}

} // namespace

void checkParameters(PluginHost& host, CheckReport& report) {
  std::unique_ptr<juce::AudioPluginInstance> instance =
      createInstance(host, report, "the parameter checks");
  if (instance == nullptr) return;
  report.expect(instance->getParameters().size() == 4,
                "the host lists bypass and three effect parameters",
                std::to_string(instance->getParameters().size()));
  for (int index = 0; index < kParameterCount; ++index)
    checkEffectParameter(*instance, index, report);
  checkBypassParameter(*instance, report);
  checkValueTexts(*instance, report);
  checkTextParsing(*instance, report);
  checkSetAndReadBack(*instance, report);
}

} // namespace hostcheck
