#pragma once
// Source sampling for the resampling blits. Positions are 16.16 fixed point
// held in 64 bits: the column is the value divided by 65536 truncating toward
// zero (so -0.99 addresses column 0) and the fraction is its low 16 bits.
#include "lice_view.h"

namespace lice_detail {

// Samples are taken only from left <= column < right, top <= row < bottom;
// these always lie inside the source bitmap.
struct SampleBounds {
  int left, top, right, bottom;
};

struct Rgba {
  int r, g, b, a;
};

inline Rgba unpack(LICE_Pixel32 p) {
  return Rgba{LICE_GETR(p), LICE_GETG(p), LICE_GETB(p), LICE_GETA(p)};
}

// The source pixel under a position, or null when it is outside the bounds.
inline const LICE_Pixel32* sampleNearest(const BitmapView& src, const SampleBounds& b, int64_t x,
                                         int64_t y) {
  const int64_t col = x / 65536, row = y / 65536;
  if (col < b.left || col >= b.right || row < b.top || row >= b.bottom) return nullptr;
  return src.row((int)row) + col;
}

// Weighted sum of two pixels, weights out of 65536.
inline Rgba lerp2(LICE_Pixel32 p, LICE_Pixel32 q, int wq) {
  const int wp = 65536 - wq;
  return Rgba{
      (LICE_GETR(p) * wp + LICE_GETR(q) * wq) >> 16, (LICE_GETG(p) * wp + LICE_GETG(q) * wq) >> 16,
      (LICE_GETB(p) * wp + LICE_GETB(q) * wq) >> 16, (LICE_GETA(p) * wp + LICE_GETA(q) * wq) >> 16};
}

// Bilinear sample: four taps inside, two along the last column or row, the
// pixel itself in the last corner, so nothing past the bounds is ever read.
inline bool sampleBilinear(const BitmapView& src, const SampleBounds& b, int64_t x, int64_t y,
                           Rgba* out) {
  const int64_t col = x / 65536, row = y / 65536;
  if (col < b.left || col >= b.right || row < b.top || row >= b.bottom) return false;
  const int fx = (int)(x & 0xFFFF), fy = (int)(y & 0xFFFF);
  const LICE_Pixel32* p = src.row((int)row) + col;
  const bool lastCol = col == b.right - 1, lastRow = row == b.bottom - 1;
  if (lastCol && lastRow) {
    *out = unpack(*p);
  } else if (lastCol) {
    *out = lerp2(p[0], p[src.step], fy);
  } else if (lastRow) {
    *out = lerp2(p[0], p[1], fx);
  } else {
    // fx * fy needs more than 31 bits.
    const int w11 = (int)(((int64_t)fx * fy) >> 16);
    const int w10 = fx - w11, w01 = fy - w11, w00 = 65536 - fy - w10;
    const LICE_Pixel32 p00 = p[0], p10 = p[1], p01 = p[src.step], p11 = p[src.step + 1];
    auto mix = [&](int shift) {
      auto ch = [shift](LICE_Pixel32 v) { return (int)((v >> shift) & 0xFF); };
      return (ch(p00) * w00 + ch(p10) * w10 + ch(p01) * w01 + ch(p11) * w11) >> 16;
    };
    *out = Rgba{mix(8), mix(16), mix(24), mix(0)};
  }
  return true;
}

} // namespace lice_detail
