#pragma once
// Our pixel word (bytes A, R, G, B in memory, not premultiplied) turned into
// the X server's ZPixmap layout for one visual: 32 bits a pixel, the visual's
// channel masks, the server's image byte order. Read from the server at run
// time, never assumed.
#include <cstdint>

#include "lice/lice.h"

struct PixelFormat {
  int depth = 24;
  int bitsPerPixel = 32;
  bool msbFirst = false; // the server's image byte order
  uint32_t redMask = 0xff0000, greenMask = 0xff00, blueMask = 0xff;
};

// Depth 24 or 32 at 32 bits a pixel, each mask 8 contiguous bits: the
// formats ConvertPixels writes. Others are refused rather than drawn wrong.
bool PixelFormatSupported(const PixelFormat& format);

// Writes n pixels of 4 bytes each. At depth 32 the bits outside the colour
// masks (the visual's alpha) are set, so the window is opaque.
void ConvertPixels(const LICE_Pixel32* src, int n, uint8_t* dst, const PixelFormat& format);
