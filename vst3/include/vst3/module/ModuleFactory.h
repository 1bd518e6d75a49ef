#pragma once
// The factory of a module that offers one audio effect: the plug-in's module
// hands its description here from its GetPluginFactory entry point.
#include <cstdint>

#include "pluginterfaces/base/ipluginbase.h"

class IPlugVST3;

namespace vst3binding {

// How hosts see a plug-in's module and its class, and how to make one.
struct FactoryDescription {
  const char* vendor;
  const char* url;
  const char* email;
  // The class id: four words, each written most significant byte first.
  uint32_t classIdWords[4];
  const char* className;
  const char* subCategories;
  const char* classVersion;
  const char* sdkVersion;
  // A new instance with one reference, or null when it could not be made.
  IPlugVST3* (*makePlug)();
};

// The factory with one more reference for the caller, made anew after the
// last release of the previous one. The module's one description is read on
// the first call and must outlive the module.
Steinberg::IPluginFactory* GetModuleFactory(const FactoryDescription& description);

} // namespace vst3binding
