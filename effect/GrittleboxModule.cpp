// The module's entry points, the only names it exports, and how its one
// factory describes the effect to hosts.
#include "editor/ModuleCaches.h"
#include "effect/Grittlebox.h"
#include "effect/GrittleboxIdentity.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "vst3/ModuleHooks.h"
#include "vst3/module/ModuleFactory.h"

namespace {

IPlugVST3* MakeEffect() {
  return MakePlug();
}

const vst3binding::FactoryDescription kDescription = {
    grittlebox::kMfrName,
    grittlebox::kVendorUrl,
    grittlebox::kVendorEmail,
    {grittlebox::kClassIdWords[0], grittlebox::kClassIdWords[1], grittlebox::kClassIdWords[2],
     grittlebox::kClassIdWords[3]},
    grittlebox::kEffectName,
    grittlebox::kSubCategories,
    grittlebox::kClassVersion,
    grittlebox::kClassSdkVersion,
    MakeEffect,
};

} // namespace

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle) {
  return vst3binding::EnterModule(sharedLibraryHandle);
}

SMTG_EXPORT_SYMBOL bool ModuleExit() {
  if (!vst3binding::ExitModule()) return false;
  // The editors' bitmaps and fonts go with the last exit, so that nothing
  // is left behind when the host unloads the module.
  if (vst3binding::ModuleEntryCount() == 0 && Grittlebox::LiveInstances() == 0)
    ReleaseModuleCaches();
  return true;
}

SMTG_EXPORT_SYMBOL Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory() {
  return vst3binding::GetModuleFactory(kDescription);
}

} // extern "C"
