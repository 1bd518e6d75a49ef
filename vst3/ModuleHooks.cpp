#include "vst3/ModuleHooks.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <mutex>

#include "wdl/wdl_string.h"

namespace {

std::mutex sEntryLock;
int sEntryCount = 0;
void* sFirstHandle = nullptr;

// The module's own file, from the address of a function inside it.
WDL_String FindModulePath() {
  WDL_String path;
  Dl_info info = {};
  if (dladdr(reinterpret_cast<void*>(&FindModulePath), &info) && info.dli_fname) {
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved)) path.Set(resolved);
  }
  return path;
}

} // namespace

bool EnterModule(void* sharedLibraryHandle) {
  if (!sharedLibraryHandle) return true;
  std::lock_guard<std::mutex> hold(sEntryLock);
  ++sEntryCount;
  if (!sFirstHandle) sFirstHandle = sharedLibraryHandle;
  ModulePath();
  return true;
}

bool ExitModule() {
  std::lock_guard<std::mutex> hold(sEntryLock);
  if (sEntryCount <= 0) return false;
  --sEntryCount;
  return true;
}

int ModuleEntryCount() {
  std::lock_guard<std::mutex> hold(sEntryLock);
  return sEntryCount;
}

void* FirstModuleHandle() {
  std::lock_guard<std::mutex> hold(sEntryLock);
  return sFirstHandle;
}

const char* ModulePath() {
  static const WDL_String path = FindModulePath();
  return path.Get();
}
