#include "detail/Base64.h"

#include "wdl/wdl_string.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

} // namespace

void Base64Encode(const unsigned char* data, int size, WDL_String* out) {
  if (!out) return;
  out->Set("");
  if (!data || size <= 0) return;
  char group[5] = {};
  for (int i = 0; i < size; i += 3) {
    const int remaining = size - i;
    const unsigned bits = (data[i] << 16) | (remaining > 1 ? data[i + 1] << 8 : 0) |
                          (remaining > 2 ? data[i + 2] : 0);
    group[0] = kAlphabet[(bits >> 18) & 63];
    group[1] = kAlphabet[(bits >> 12) & 63];
    group[2] = remaining > 1 ? kAlphabet[(bits >> 6) & 63] : '=';
    group[3] = remaining > 2 ? kAlphabet[bits & 63] : '=';
    out->Append(group);
  }
}

int Base64Decode(const char* text, unsigned char* out, int maxSize) {
  if (!text || !out || maxSize <= 0) return 0;
  int written = 0;
  unsigned accumulator = 0;
  int bits = 0;
  for (; *text && written < maxSize; ++text) {
    const int sextet = SextetOf(*text);
    if (sextet < 0) break;
    accumulator = ((accumulator << 6) | static_cast<unsigned>(sextet)) & 0xffffff;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out[written++] = static_cast<unsigned char>(accumulator >> bits);
    }
  }
  return written;
}
