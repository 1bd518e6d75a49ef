#pragma once
// What the command-line tools share: finding the bundle to host, and reading
// and writing whole files (saved states and presets).
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// The product the user installs: an explicit bundle, then $GRITTLEBOX_BUNDLE,
// the bundle this build made, then the per-user and the system folders.
// "" when none of them holds a module.
std::string FindBundle(const std::string& explicitBundle);

// Whole files of at most 64 MiB; false for anything larger or unreadable.
bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes);
// Written beside path and renamed over it, so a failure leaves the old file.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
// A new file beside path, with an ordinary file's permissions, to be renamed
// over path once complete; its descriptor, or -1 when it cannot be made.
int CreateBeside(const std::string& path, std::string* temp);

} // namespace tools
