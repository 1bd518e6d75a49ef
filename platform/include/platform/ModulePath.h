#pragma once
// Where loaded code lives on disk. Each platform has its own implementation
// beside this header (linux/ModulePath.cpp).
#include <cstddef>

namespace platform {

// Writes the absolute path of the file (shared object or program) whose
// loaded image holds `address`, symbolic links resolved, into buf. False, with
// buf holding "" when bufSize allows, when there is no such file or the path
// does not fit.
bool ModuleFileOf(const void* address, char* buf, size_t bufSize);

} // namespace platform
