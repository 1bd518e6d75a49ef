#pragma once
// Checks a VST 3 preset file (.vstpreset) before any of it reaches an effect:
// the header, the chunk list and every chunk lie inside the file, the class is
// the expected one, and there is a component state to restore.
#include <cstdint>
#include <string>
#include <vector>

#include "pluginterfaces/base/funknown.h"

namespace vst3host {

// Empty when the file is whole and of classId; otherwise what is wrong with it.
std::string CheckPresetFile(const std::vector<uint8_t>& bytes, const Steinberg::FUID& classId);

} // namespace vst3host
