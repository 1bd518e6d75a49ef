#include "vst3/host/HostString.h"

std::string NarrowString(const Steinberg::char16* text, size_t maxUnits) {
  std::string out;
  if (!text) return out;
  for (size_t i = 0; i < maxUnits && text[i]; ++i) {
    const unsigned unit = static_cast<unsigned>(text[i]);
    if (unit < 0x80) {
      out += static_cast<char>(unit);
    } else if (unit < 0x800) {
      out += static_cast<char>(0xC0 | (unit >> 6));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      // Surrogate halves come out as separate three-byte forms; the texts
      // these helpers see are names and numbers.
      out += static_cast<char>(0xE0 | (unit >> 12));
      out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return out;
}

void WidenString(const std::string& text, Steinberg::char16* dest, size_t units) {
  if (!dest || units == 0) return;
  size_t i = 0;
  for (; i + 1 < units && i < text.size(); ++i)
    dest[i] = static_cast<Steinberg::char16>(static_cast<unsigned char>(text[i]));
  for (; i < units; ++i) dest[i] = 0;
}
