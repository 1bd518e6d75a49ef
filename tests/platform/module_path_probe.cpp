// Answers with the file of the module it is linked into.
#include "platform/ModulePath.h"

extern "C" bool ProbeModuleFile(char* buf, size_t bufSize) {
  return platform::ModuleFileOf(reinterpret_cast<const void*>(&ProbeModuleFile), buf, bufSize);
}
