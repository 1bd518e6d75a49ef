#include "tests/host-check/audio_run.h"
#include "tests/host-check/checks.h"

namespace hostcheck {

namespace {

using Layout = juce::AudioProcessor::BusesLayout;

Layout layoutOf(const juce::AudioChannelSet& input, const juce::AudioChannelSet& output) {
  Layout layout;
  layout.inputBuses.add(input);
  layout.outputBuses.add(output);
  return layout;
}

void checkScan(PluginHost& host, const ExpectedIdentity& expected, CheckReport& report) {
  report.expect(host.looksLikePlugin(), "the host takes the bundle for a VST 3 plug-in",
                host.bundlePath().toStdString());
  juce::OwnedArray<juce::PluginDescription> found = host.scan();
  if (!report.expect(found.size() == 1, "the scan finds exactly one class",
                     "found " + std::to_string(found.size())))
    return;
  const juce::PluginDescription& description = *found[0];
  report.expectText("scanned name", description.name.toStdString(), expected.name);
  report.expectText("scanned vendor", description.manufacturerName.toStdString(), expected.vendor);
  report.expectText("scanned version", description.version.toStdString(), expected.version);
  report.expectText("scanned category", description.category.toStdString(), expected.category);
  report.expect(!description.isInstrument, "scanned as an effect, not an instrument");
  report.expect(description.numInputChannels == expected.inputChannels, "scanned input channels",
                std::to_string(description.numInputChannels));
  report.expect(description.numOutputChannels == expected.outputChannels, "scanned output channels",
                std::to_string(description.numOutputChannels));
}

void checkInstanceLayout(juce::AudioPluginInstance& instance, const ExpectedIdentity& expected,
                         CheckReport& report) {
  report.expectText("instance name", instance.getName().toStdString(), expected.name);
  report.expect(instance.getBusCount(true) == 1 && instance.getBusCount(false) == 1,
                "one audio input bus and one audio output bus");
  report.expect(instance.getMainBusNumInputChannels() == expected.inputChannels &&
                    instance.getMainBusNumOutputChannels() == expected.outputChannels,
                "main buses carry the expected channel counts",
                std::to_string(instance.getMainBusNumInputChannels()) + " in, " +
                    std::to_string(instance.getMainBusNumOutputChannels()) + " out");
  const juce::AudioChannelSet mono = juce::AudioChannelSet::mono();
  const juce::AudioChannelSet stereo = juce::AudioChannelSet::stereo();
  report.expect(instance.checkBusesLayoutSupported(layoutOf(stereo, stereo)),
                "stereo in and out is accepted");
  report.expect(instance.checkBusesLayoutSupported(layoutOf(mono, mono)),
                "mono in and out is accepted");
  report.expect(!instance.checkBusesLayoutSupported(layoutOf(mono, stereo)),
                "mono in with stereo out is refused");
  // The probes above rearranged the plug-in's buses and back; stereo must still work.
  prepare(instance, true, 44100.0, 256);
  AudioComparison afterProbes = processBlocks(instance, 256, 2, EffectSettings());
  report.expect(afterProbes.matches(), "stereo processing after the layout probes",
                afterProbes.describe());
  instance.releaseResources();
  report.expect(instance.supportsDoublePrecisionProcessing(), "64-bit processing is offered");
  report.expect(!instance.acceptsMidi() && !instance.producesMidi(), "no MIDI buses");
  report.expect(instance.getLatencySamples() == 0, "no latency",
                std::to_string(instance.getLatencySamples()));
  report.expect(instance.getTailLengthSeconds() == 0.0, "no tail");
}

} // namespace

std::unique_ptr<juce::AudioPluginInstance> createInstance(PluginHost& host, CheckReport& report,
                                                          const std::string& purpose) {
  juce::String error;
  std::unique_ptr<juce::AudioPluginInstance> instance = host.create(44100.0, 512, error);
  report.expect(instance != nullptr, "the host creates an instance for " + purpose,
                error.toStdString());
  return instance;
}

void checkDescription(PluginHost& host, const ExpectedIdentity& expected, CheckReport& report) {
  checkScan(host, expected, report);
  std::unique_ptr<juce::AudioPluginInstance> instance =
      createInstance(host, report, "the layout checks");
  if (instance != nullptr) checkInstanceLayout(*instance, expected, report);
}

} // namespace hostcheck
