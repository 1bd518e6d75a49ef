#include "lice/lice_text.h"

namespace {

bool isContinuation(int byte) {
  return byte >= 0x80 && byte <= 0xBF;
}

// How many bytes are available from text: len when given, else up to the NUL
// but never more than want (so the scan stops early).
int available(const char* text, int len, int want) {
  if (len >= 0) return len;
  int n = 0;
  while (n < want && text[n]) ++n;
  return n;
}

} // namespace

int LICE_DecodeUTF8(const char* text, int len, unsigned short* outChar) {
  *outChar = 0;
  if (!text) return 0;
  const int have = available(text, len, 4);
  if (have <= 0) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(text);
  const int lead = b[0];
  *outChar = static_cast<unsigned short>(lead);
  if (lead >= 0xC2 && lead <= 0xDF && have >= 2 && isContinuation(b[1])) {
    *outChar = static_cast<unsigned short>(((lead & 0x1F) << 6) | (b[1] & 0x3F));
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF && have >= 3 && isContinuation(b[1]) && isContinuation(b[2])) {
    *outChar = static_cast<unsigned short>((lead << 12) | ((b[1] & 0x3F) << 6) | (b[2] & 0x3F));
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4 && have >= 4 && isContinuation(b[1]) && isContinuation(b[2]) &&
      isContinuation(b[3])) {
    *outChar = ' '; // beyond 16 bits: drawn as a space
    return 4;
  }
  return 1;
}
