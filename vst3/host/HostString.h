#pragma once
// Conversions between the host-facing UTF-16 strings and 8-bit text.
#include <string>

#include "pluginterfaces/base/ftypes.h"

// UTF-16 to UTF-8 (code units below 0x80 pass as they are); stops at the first 0
// or after maxUnits units.
std::string NarrowString(const Steinberg::char16* text, size_t maxUnits = 128);
// Copies text into a zero-filled UTF-16 buffer of `units` units, each byte one unit.
void WidenString(const std::string& text, Steinberg::char16* dest, size_t units);
