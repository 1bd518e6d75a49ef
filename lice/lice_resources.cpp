#include "lice/lice_resources.h"

#include <climits>
#include <cstring>
#include <string>

#include "platform/ModulePath.h"
#include "wdl/mutex.h"

namespace {

WDL_Mutex& overrideMutex() {
  static WDL_Mutex mutex;
  return mutex;
}

std::string& overrideFolder() {
  static std::string folder;
  return folder;
}

bool copyOut(const std::string& text, char* buf, size_t bufSize) {
  if (text.size() + 1 > bufSize) return false;
  memcpy(buf, text.c_str(), text.size() + 1);
  return true;
}

// The address of this function lies inside whichever module linked the
// library, which is what tells us where the bundle is.
std::string moduleFolder() {
  char file[PATH_MAX];
  if (!platform::ModuleFileOf(reinterpret_cast<const void*>(&moduleFolder), file, sizeof file))
    return {};
  const char* slash = strrchr(file, '/');
  if (!slash) return {};
  return std::string(file, static_cast<size_t>(slash - file));
}

} // namespace

bool LICE_GetResourceFolder(char* buf, size_t bufSize) {
  if (!buf || !bufSize) return false;
  {
    WDL_MutexLock lock(&overrideMutex());
    const std::string& forced = overrideFolder();
    if (!forced.empty()) {
      return copyOut(forced.back() == '/' ? forced : forced + "/", buf, bufSize);
    }
  }
  const std::string folder = moduleFolder();
  if (folder.empty()) return false;
  return copyOut(folder + "/../Resources/", buf, bufSize);
}

void LICE_SetResourceFolderOverride(const char* folder) {
  WDL_MutexLock lock(&overrideMutex());
  overrideFolder() = folder ? folder : "";
}
