#pragma once
// Loads a VST 3 bundle the way a Linux host does: dlopen of
// <bundle>/Contents/x86_64-linux/<name>.so, ModuleEntry, GetPluginFactory;
// and the reverse when it goes.
#include <string>

#include "pluginterfaces/base/ipluginbase.h"

namespace vst3host {

class HostModule {
public:
  HostModule() = default;
  ~HostModule() { Unload(); }
  HostModule(const HostModule&) = delete;
  HostModule& operator=(const HostModule&) = delete;

  // path: the bundle folder, or the module file itself. False with Error() set
  // when anything is missing or refused; nothing stays loaded then.
  bool Load(const std::string& path);
  void Unload();

  // The factory, or null when nothing is loaded. The module keeps the reference.
  Steinberg::IPluginFactory* Factory() const { return mFactory; }
  // Hands the module's factory reference to the caller, who must release it.
  Steinberg::IPluginFactory* TakeFactory() {
    Steinberg::IPluginFactory* factory = mFactory;
    mFactory = nullptr;
    return factory;
  }
  void* Handle() const { return mHandle; }
  const std::string& Error() const { return mError; }
  const std::string& ModuleFile() const { return mModuleFile; }

  // The module file inside a bundle folder (the folder's name without .vst3).
  static std::string ModuleFileOfBundle(const std::string& bundlePath);

  using EntryFunction = bool (*)(void*);
  using ExitFunction = bool (*)();
  using FactoryFunction = Steinberg::IPluginFactory* (*)();

  EntryFunction Entry() const { return mEntry; }
  ExitFunction Exit() const { return mExit; }
  FactoryFunction GetFactoryFunction() const { return mGetFactory; }

private:
  bool Fail(const std::string& what);

  void* mHandle = nullptr;
  EntryFunction mEntry = nullptr;
  ExitFunction mExit = nullptr;
  FactoryFunction mGetFactory = nullptr;
  Steinberg::IPluginFactory* mFactory = nullptr;
  bool mEntered = false;
  std::string mModuleFile;
  std::string mError;
};

} // namespace vst3host
