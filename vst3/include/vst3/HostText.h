#pragma once
// Texts between our UTF-8 and the host's UTF-16, both ways, for plug-in and
// host code alike. Conversion never throws, never reads past the given
// bounds or a terminator and never writes past the destination: anything
// ill-formed (a lone surrogate, a broken UTF-8 sequence) becomes U+FFFD, and a
// character that does not fit whole is left out with everything after it.
#include <cstddef>
#include <string>

#include "pluginterfaces/vst/vsttypes.h"

// UTF-8 text into a UTF-16 buffer of `units` units: at most units - 1 units of
// text and a terminator (nothing when units is 0; a null text is empty).
// Returns the units of text written.
size_t WidenUtf8(const char* text, Steinberg::char16* dest, size_t units);

// UTF-16 text, up to its terminator or maxUnits units, into a UTF-8 buffer of
// `bytes` bytes: at most bytes - 1 bytes of text and a terminator. Returns the
// bytes of text written.
size_t NarrowUtf16(const Steinberg::char16* text, size_t maxUnits, char* dest, size_t bytes);

// The same narrowing into a string, for host code; a null text is empty.
std::string NarrowString(const Steinberg::char16* text, size_t maxUnits = 128);

// Into the host's 128-unit strings: at most 127 units and a terminator.
inline void WidenBounded(const char* text, Steinberg::Vst::String128 out) {
  WidenUtf8(text, out, 128);
}
