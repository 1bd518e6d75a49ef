#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "tests/host-check/audio_run.h"
#include "tests/host-check/checks.h"

namespace hostcheck {

namespace {

// True while the process maps the bundle's shared object. The loader records
// the resolved path, so the bundle path is resolved the same way first.
bool moduleMapped(const juce::String& bundlePath) {
  const std::string folder =
      juce::File(bundlePath).getChildFile("Contents/x86_64-linux").getFullPathName().toStdString();
  char resolved[PATH_MAX];
  if (realpath(folder.c_str(), resolved) == nullptr) return false;
  const std::string library = std::string(resolved) + "/";
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line))
    if (line.find(library) != std::string::npos) return true;
  return false;
}

AudioComparison runInstance(juce::AudioPluginInstance& instance, const EffectSettings& settings) {
  return processBlocks(instance, 128, 200, settings);
}

} // namespace

void checkModuleReloading(PluginHost& host, CheckReport& report) {
  const int cycles = 4;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    const std::string name = "load cycle " + std::to_string(cycle);
    {
      std::unique_ptr<juce::AudioPluginInstance> instance = createInstance(host, report, name);
      if (instance == nullptr) return;
      report.expect(moduleMapped(host.bundlePath()), name + ": module is loaded");
      prepare(*instance, true, 44100.0, 128);
      AudioComparison result = processBlocks(*instance, 128, 2, EffectSettings());
      report.expect(result.matches(), name + ": a fresh instance processes", result.describe());
    }
    // The host keeps modules open in caches that it drops at shut-down; dropping
    // them now releases the factory, calls the exit hook and unloads the module.
    juce::DeletedAtShutdown::deleteAll();
    report.expect(!moduleMapped(host.bundlePath()), name + ": module is unloaded after release");
  }
}

void checkTwoInstances(PluginHost& host, CheckReport& report) {
  std::unique_ptr<juce::AudioPluginInstance> first = createInstance(host, report, "first of two");
  std::unique_ptr<juce::AudioPluginInstance> second = createInstance(host, report, "second of two");
  if (first == nullptr || second == nullptr) return;
  EffectSettings firstSettings, secondSettings;
  setParameter(*first, kIn, 0.8f, firstSettings);
  setParameter(*first, kDistort, 0.2f, firstSettings);
  setParameter(*second, kOut, 0.3f, secondSettings);
  setParameter(*second, kDistort, 0.7f, secondSettings);
  prepare(*first, true, 48000.0, 128);
  prepare(*second, false, 48000.0, 128);

  // Each instance on its own audio thread, at the same time, as a host with two tracks does.
  AudioComparison firstResult, secondResult;
  std::thread firstThread([&] { firstResult = runInstance(*first, firstSettings); });
  std::thread secondThread([&] { secondResult = runInstance(*second, secondSettings); });
  firstThread.join();
  secondThread.join();
  report.expect(firstResult.matches(), "first of two instances keeps its own settings",
                firstResult.describe());
  report.expect(secondResult.matches(), "second of two instances keeps its own settings",
                secondResult.describe());
}

} // namespace hostcheck
