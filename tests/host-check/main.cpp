// Loads the Grittlebox bundle through a third-party VST 3 host and checks what
// that host sees: description, parameters, audio, bypass, state, module life.
// Prints one summary line; the exit status is non-zero on any failed check.

#include <cstdio>
#include <cstring>

#include "tests/host-check/checks.h"

namespace {

void usage() {
  std::fprintf(stderr, "usage: grittlebox_host_check <bundle.vst3> [--expect-name TEXT] "
                       "[--expect-vendor TEXT] [--expect-version TEXT] [--expect-category TEXT]\n");
}

// Overrides exist so that a deliberately wrong expectation can prove the check fails.
bool parseArguments(int argc, char** argv, juce::String& bundle,
                    hostcheck::ExpectedIdentity& expected) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--expect-name") == 0 && hasValue)
      expected.name = argv[++i];
    else if (std::strcmp(argv[i], "--expect-vendor") == 0 && hasValue)
      expected.vendor = argv[++i];
    else if (std::strcmp(argv[i], "--expect-version") == 0 && hasValue)
      expected.version = argv[++i];
    else if (std::strcmp(argv[i], "--expect-category") == 0 && hasValue)
      expected.category = argv[++i];
    else if (argv[i][0] != '-' && bundle.isEmpty())
      bundle = juce::File::getCurrentWorkingDirectory().getChildFile(argv[i]).getFullPathName();
    else
      return false;
  }
  return bundle.isNotEmpty();
}

int runChecks(const juce::String& bundle, const hostcheck::ExpectedIdentity& expected) {
  hostcheck::CheckReport report;
  {
    juce::ScopedJuceInitialiser_GUI hostRuntime;
    hostcheck::PluginHost host(bundle);
    hostcheck::checkDescription(host, expected, report);
    hostcheck::checkParameters(host, report);
    hostcheck::checkProcessing(host, report);
    hostcheck::checkBypass(host, report);
    hostcheck::checkState(host, report);
    hostcheck::checkTwoInstances(host, report);
    hostcheck::checkEditor(host, report);
    hostcheck::checkModuleReloading(host, report);
  }
  std::printf("%s\n", report.summary().c_str());
  return report.failed() == 0 && report.passed() > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  juce::String bundle;
  hostcheck::ExpectedIdentity expected;
  if (!parseArguments(argc, argv, bundle, expected)) {
    usage();
    return 2;
  }
  return runChecks(bundle, expected);
}
