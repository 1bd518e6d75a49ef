#include "vst3/host/HostModule.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace vst3host {

std::string HostModule::ModuleFileOfBundle(const std::string& bundlePath) {
  std::string folder = bundlePath;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const size_t slash = folder.rfind('/');
  std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
  const std::string suffix = ".vst3";
  if (name.size() > suffix.size() &&
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
    name.resize(name.size() - suffix.size());
  return folder + "/Contents/x86_64-linux/" + name + ".so";
}

bool HostModule::Fail(const std::string& what) {
  mError = what;
  Unload();
  return false;
}

bool HostModule::Load(const std::string& path) {
  Unload();
  mError.clear();
  struct stat info = {};
  if (stat(path.c_str(), &info) != 0) return Fail("no such file or folder: " + path);
  mModuleFile = S_ISDIR(info.st_mode) ? ModuleFileOfBundle(path) : path;

  mHandle = dlopen(mModuleFile.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHandle) {
    const char* why = dlerror();
    return Fail("cannot load " + mModuleFile + ": " + (why ? why : "unknown error"));
  }
  mEntry = reinterpret_cast<EntryFunction>(dlsym(mHandle, "ModuleEntry"));
  mExit = reinterpret_cast<ExitFunction>(dlsym(mHandle, "ModuleExit"));
  mGetFactory = reinterpret_cast<FactoryFunction>(dlsym(mHandle, "GetPluginFactory"));
  if (!mEntry || !mExit || !mGetFactory)
    return Fail(mModuleFile + " lacks ModuleEntry, ModuleExit or GetPluginFactory");
  if (!mEntry(mHandle)) return Fail("ModuleEntry refused " + mModuleFile);
  mEntered = true;
  mFactory = mGetFactory();
  if (!mFactory) return Fail("GetPluginFactory of " + mModuleFile + " gave no factory");
  return true;
}

void HostModule::Unload() {
  if (mFactory) mFactory->release();
  mFactory = nullptr;
  if (mEntered && mExit) mExit();
  mEntered = false;
  if (mHandle) dlclose(mHandle);
  mHandle = nullptr;
  mEntry = nullptr;
  mExit = nullptr;
  mGetFactory = nullptr;
}

} // namespace vst3host
