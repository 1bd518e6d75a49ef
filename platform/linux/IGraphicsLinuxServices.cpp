// Paths, web addresses and bitmap resources.
#include <cstring>
#include <strings.h>

#include "detail/ChildProcess.h"
#include "detail/LinuxPaths.h"
#include "lice/lice_png.h"
#include "lice/lice_resources.h"
#include "platform/linux/IGraphicsLinux.h"

namespace {

void SetIfFound(WDL_String* out, const std::string& value) {
  if (out && !value.empty()) out->Set(value.c_str());
}

} // namespace

void IGraphicsLinux::HostPath(WDL_String* path) {
  SetIfFound(path, ModuleFilePath());
}

void IGraphicsLinux::PluginPath(WDL_String* path) {
  SetIfFound(path, FolderHoldingBundle(ModuleFilePath()));
}

void IGraphicsLinux::DesktopPath(WDL_String* path) {
  SetIfFound(path, DesktopFolder());
}

void IGraphicsLinux::AppSupportPath(WDL_String* path) {
  SetIfFound(path, ConfigFolder());
}

bool IGraphicsLinux::OpenURL(const char* url, const char*, const char*, const char*) {
  // A leading '-' would be an option to the opener, not an address.
  if (!url || !*url || *url == '-') return false;
  ReapFinishedChildren();
  pid_t pid = 0;
  if (!SpawnProgram({"xdg-open", url}, &pid)) return false;
  ReapLater(pid);
  return true;
}

LICE_IBitmap* IGraphicsLinux::OSLoadBitmap(int, const char* name) {
  if (!name) return nullptr;
  const char* slash = strrchr(name, '/');
  const char* file = slash ? slash + 1 : name;
  const char* dot = strrchr(file, '.');
  if (!*file || !dot || strcasecmp(dot, ".png") != 0) return nullptr;
  std::string folder = mBitmapFolder;
  if (folder.empty()) {
    char resources[4096];
    if (!LICE_GetResourceFolder(resources, sizeof(resources))) return nullptr;
    folder = resources;
  }
  if (folder.back() != '/') folder += '/';
  return LICE_LoadPNG((folder + file).c_str());
}
