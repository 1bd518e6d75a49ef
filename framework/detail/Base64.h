#pragma once
// Base64 with the standard alphabet (A-Z, a-z, 0-9, "+", "/"), as used by
// presets stored in source code.

class WDL_String;

// Sets `out` to the encoding of `size` bytes, filled with "=" to a multiple of
// four characters.
void Base64Encode(const unsigned char* data, int size, WDL_String* out);

// Decodes `text` into at most `maxSize` bytes of `out`, stopping at the first
// character outside the alphabet (so "=" ends it). Returns the number of bytes
// written; bits of an incomplete last byte are dropped.
int Base64Decode(const char* text, unsigned char* out, int maxSize);
