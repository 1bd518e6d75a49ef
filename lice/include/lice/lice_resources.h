#pragma once
// Where the module's bundled resources live: <module dir>/../Resources/,
// the module being the shared object (or program) this code is linked into.
#include <cstddef>

// Writes the folder with a trailing '/'; false when it cannot be found or
// does not fit in bufSize bytes.
bool LICE_GetResourceFolder(char* buf, size_t bufSize);

// Replaces the lookup with a fixed folder (tests, tools); null restores it.
void LICE_SetResourceFolderOverride(const char* folder);
