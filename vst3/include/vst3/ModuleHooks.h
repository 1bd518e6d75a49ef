#pragma once
// Bookkeeping behind the Linux module entry points: hosts call ModuleEntry and
// ModuleExit in balanced pairs; the first handle and the module's own path are
// kept for as long as the module is loaded.

namespace vst3binding {

// ModuleEntry's work: counts the entry and remembers the first handle. A null
// handle records nothing. Always true.
bool EnterModule(void* sharedLibraryHandle);
// ModuleExit's work: balances one entry. False when no entry is left to balance.
bool ExitModule();

int ModuleEntryCount();
void* FirstModuleHandle();
// Absolute path of the file this code was loaded from, symbolic links resolved;
// "" when it cannot be found.
const char* ModulePath();

} // namespace vst3binding
