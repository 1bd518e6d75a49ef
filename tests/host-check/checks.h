#pragma once

#include "tests/host-check/check_report.h"
#include "tests/host-check/effect_model.h"
#include "tests/host-check/plugin_host.h"

namespace hostcheck {

// Scan result and the bus layout of a fresh instance.
void checkDescription(PluginHost& host, const ExpectedIdentity& expected, CheckReport& report);

// Parameter list, value texts and text parsing through the host's parameter API.
void checkParameters(PluginHost& host, CheckReport& report);

// Audio at several rates and block sizes, in both precisions; automation; bypass.
void checkProcessing(PluginHost& host, CheckReport& report);
void checkBypass(PluginHost& host, CheckReport& report);

// Saved state: its bytes as the host stores them, and restoring into a second instance.
void checkState(PluginHost& host, CheckReport& report);

// Loading and releasing the module repeatedly; two instances at once.
void checkModuleReloading(PluginHost& host, CheckReport& report);
void checkTwoInstances(PluginHost& host, CheckReport& report);

// The editor opened in a window of the host's and closed again, twice (needs an X display).
void checkEditor(PluginHost& host, CheckReport& report);

// A fresh instance, or null after reporting why there is none.
std::unique_ptr<juce::AudioPluginInstance> createInstance(PluginHost& host, CheckReport& report,
                                                          const std::string& purpose);

} // namespace hostcheck
