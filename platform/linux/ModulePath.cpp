#include "platform/ModulePath.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstring>

namespace platform {

bool ModuleFileOf(const void* address, char* buf, size_t bufSize) {
  if (!buf || bufSize == 0) return false;
  buf[0] = 0;
  Dl_info info = {};
  if (!address || !dladdr(address, &info) || !info.dli_fname) return false;
  char resolved[PATH_MAX];
  if (!realpath(info.dli_fname, resolved)) return false;
  const size_t length = strlen(resolved);
  if (length + 1 > bufSize) return false;
  memcpy(buf, resolved, length + 1);
  return true;
}

} // namespace platform
