// The Linux module entry points, the only names the module exports.
#include "pluginterfaces/base/ipluginbase.h"
#include "vst3/ModuleHooks.h"
#include "vst3/module/GrittleboxFactory.h"

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle) {
  return vst3binding::EnterModule(sharedLibraryHandle);
}

SMTG_EXPORT_SYMBOL bool ModuleExit() {
  return vst3binding::ExitModule();
}

SMTG_EXPORT_SYMBOL Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory() {
  return GetGrittleboxFactory();
}

} // extern "C"
