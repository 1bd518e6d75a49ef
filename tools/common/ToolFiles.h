#pragma once
// What the command-line tools share: finding the bundle to host, and reading
// and writing whole files (saved states).
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// The product the user installs: an explicit bundle, then $GRITTLEBOX_BUNDLE,
// the bundle this build made, then the per-user and the system folders.
// "" when none of them holds a module.
std::string FindBundle(const std::string& explicitBundle);

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes);
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace tools
