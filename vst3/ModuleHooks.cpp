#include "vst3/ModuleHooks.h"

#include <limits.h>

#include <mutex>

#include "detail/HostCall.h"
#include "platform/ModulePath.h"

namespace vst3binding {
namespace {

std::mutex sEntryLock;
int sEntryCount = 0;
void* sFirstHandle = nullptr;

struct FoundPath {
  char text[PATH_MAX] = {};
  // The address of a function of ours lies inside the module that linked it.
  FoundPath() {
    platform::ModuleFileOf(reinterpret_cast<const void*>(&ModulePath), text, sizeof text);
  }
};

} // namespace

bool EnterModule(void* sharedLibraryHandle) {
  return HostCall(false, [&] {
    if (!sharedLibraryHandle) return true;
    std::lock_guard<std::mutex> hold(sEntryLock);
    ++sEntryCount;
    if (!sFirstHandle) sFirstHandle = sharedLibraryHandle;
    ModulePath();
    return true;
  });
}

bool ExitModule() {
  return HostCall(false, [&] {
    std::lock_guard<std::mutex> hold(sEntryLock);
    if (sEntryCount <= 0) return false;
    --sEntryCount;
    return true;
  });
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
  static const FoundPath path;
  return path.text;
}

} // namespace vst3binding
