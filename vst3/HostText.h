#pragma once
// The binding's 8-bit texts widened into the host's 128-unit UTF-16 strings,
// one unit per byte, always terminated.
#include "pluginterfaces/vst/vsttypes.h"

inline void WidenBounded(const char* text, Steinberg::Vst::String128 out) {
  int i = 0;
  for (; i < 127 && text && text[i]; ++i)
    out[i] = static_cast<Steinberg::char16>(static_cast<unsigned char>(text[i]));
  out[i] = 0;
}
