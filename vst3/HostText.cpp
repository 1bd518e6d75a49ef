#include "vst3/HostText.h"

using Steinberg::char16;

namespace {

const char32_t kReplacement = 0xFFFD;

// The code point starting at text[*at], which moves past it; 0 at the
// terminator. An ill-formed sequence gives U+FFFD and moves past its longest
// well-formed beginning only, so the byte that broke it is read again (a
// terminator among them ends the text there).
char32_t NextFromUtf8(const unsigned char* text, size_t* at) {
  const unsigned char lead = text[*at];
  if (lead < 0x80) {
    if (lead) ++*at;
    return lead;
  }
  int more = 0;
  unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    if (lead == 0xE0) lo = 0xA0; // no overlong forms
    if (lead == 0xED) hi = 0x9F; // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F; // nothing above U+10FFFF
  } else {
    ++*at;
    return kReplacement;
  }
  ++*at;
  char32_t code = lead & (0x3F >> more);
  for (int k = 0; k < more; ++k, lo = 0x80, hi = 0xBF) {
    const unsigned char next = text[*at];
    if (next < lo || next > hi) return kReplacement;
    code = (code << 6) | (next & 0x3F);
    ++*at;
  }
  return code;
}

// The code point starting at text[*at] (*at < maxUnits), which moves past it;
// 0 at the terminator. A surrogate without its partner gives U+FFFD.
char32_t NextFromUtf16(const char16* text, size_t maxUnits, size_t* at) {
  const char32_t unit = text[*at];
  if (!unit) return 0;
  ++*at;
  if (unit < 0xD800 || unit > 0xDFFF) return unit;
  if (unit <= 0xDBFF && *at < maxUnits) {
    const char32_t low = text[*at];
    if (low >= 0xDC00 && low <= 0xDFFF) {
      ++*at;
      return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return kReplacement;
}

// Writes code as UTF-8 into out (room for 4 bytes); returns the byte count.
size_t EncodeUtf8(char32_t code, char* out) {
  if (code < 0x80) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  if (code < 0x800) {
    out[0] = static_cast<char>(0xC0 | (code >> 6));
    out[1] = static_cast<char>(0x80 | (code & 0x3F));
    return 2;
  }
  if (code < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (code >> 12));
    out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (code & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (code >> 18));
  out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (code & 0x3F));
  return 4;
}

// Hands the UTF-8 form of each code point of a UTF-16 text to take(bytes,
// count) until the terminator, maxUnits units or a false answer.
template <class Take> void EachUtf8OfUtf16(const char16* text, size_t maxUnits, Take take) {
  if (!text) return;
  size_t at = 0;
  char encoded[4];
  while (at < maxUnits) {
    const char32_t code = NextFromUtf16(text, maxUnits, &at);
    if (!code || !take(encoded, EncodeUtf8(code, encoded))) return;
  }
}

} // namespace

size_t WidenUtf8(const char* text, char16* dest, size_t units) {
  if (!dest || units == 0) return 0;
  size_t written = 0;
  if (text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t at = 0;
    while (const char32_t code = NextFromUtf8(bytes, &at)) {
      if (code < 0x10000) {
        if (written + 1 >= units) break;
        dest[written++] = static_cast<char16>(code);
      } else {
        if (written + 2 >= units) break;
        dest[written++] = static_cast<char16>(0xD800 + ((code - 0x10000) >> 10));
        dest[written++] = static_cast<char16>(0xDC00 + ((code - 0x10000) & 0x3FF));
      }
    }
  }
  dest[written] = 0;
  return written;
}

size_t NarrowUtf16(const char16* text, size_t maxUnits, char* dest, size_t bytes) {
  if (!dest || bytes == 0) return 0;
  size_t written = 0;
  EachUtf8OfUtf16(text, maxUnits, [&](const char* encoded, size_t n) {
    if (written + n >= bytes) return false;
    for (size_t i = 0; i < n; ++i) dest[written++] = encoded[i];
    return true;
  });
  dest[written] = 0;
  return written;
}

std::string NarrowString(const char16* text, size_t maxUnits) {
  std::string out;
  EachUtf8OfUtf16(text, maxUnits, [&](const char* encoded, size_t n) {
    out.append(encoded, n);
    return true;
  });
  return out;
}
