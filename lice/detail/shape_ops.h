#pragma once
// Internal to lice/: how lines, circles and fills pick their per-pixel
// operator and plot through it, with every pixel bounds-checked.
#include "lice_combine.h"
#include "lice_view.h"

#include <utility>

namespace lice_shape {

struct Colour {
  int r, g, b, a;
};

inline Colour splitColour(LICE_Pixel32 c) {
  return {LICE_GETR(c), LICE_GETG(c), LICE_GETB(c), LICE_GETA(c)};
}

// Whole-word mixes wearing the channel interface, for the copy fast paths.
template <class WordOp> struct WordMix {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int) {
    WordOp::doPixWord(reinterpret_cast<LICE_Pixel32*>(d), LICE_RGBA(r, g, b, a));
  }
};

// The operator for weighted pixels (anti-aliasing): the plain one per mode.
template <class Fn> bool withWeightedOp(int mode, Fn&& fn) {
  switch (mode & LICE_MODE_MASK) {
  case LICE_MODE_COPY:
    fn(_LICE_CombinePixelsCopyNoClamp{});
    return true;
  case LICE_MODE_ADD:
    fn(_LICE_CombinePixelsAdd{});
    return true;
  case LICE_MODE_DODGE:
    fn(_LICE_CombinePixelsColorDodge{});
    return true;
  case LICE_MODE_MUL:
    fn(_LICE_CombinePixelsMulNoClamp{});
    return true;
  case LICE_MODE_OVERLAY:
    fn(_LICE_CombinePixelsOverlay{});
    return true;
  case LICE_MODE_HSVADJ:
    fn(_LICE_CombinePixelsHSVAdjust{});
    return true;
  default:
    return false;
  }
}

// The operator for a uniform weight: copy mode stores, half-mixes or
// (with quarterMixes) quarter-mixes whole words at the exact weights.
template <class Fn> bool withUniformOp(int mode, int ia, bool quarterMixes, Fn&& fn) {
  if (ia <= 0) return false;
  if ((mode & LICE_MODE_MASK) == LICE_MODE_COPY) {
    if (ia >= 256) return fn(_LICE_CombinePixelsClobberNoClamp{}), true;
    if (ia == 128) return fn(WordMix<_LICE_CombinePixelsHalfMixFAST>{}), true;
    if (quarterMixes && ia == 64) return fn(WordMix<_LICE_CombinePixelsQuarterMix2FAST>{}), true;
    if (quarterMixes && ia == 192) {
      return fn(WordMix<_LICE_CombinePixelsThreeQuarterMix2FAST>{}), true;
    }
  }
  return withWeightedOp(mode, fn);
}

template <class Op>
inline void plot(const lice_detail::BitmapView& v, int x, int y, const Colour& c, int weight) {
  if (x < 0 || y < 0 || x >= v.w || y >= v.h || weight <= 0) return;
  Op::doPix(reinterpret_cast<LICE_pixel_chan*>(v.row(y) + x), c.r, c.g, c.b, c.a, weight);
}

// Fills x0..x1 (inclusive, any order) of row y, clipped to the view.
template <class Op>
inline void fillSpan(const lice_detail::BitmapView& v, int y, int x0, int x1, const Colour& c,
                     int weight) {
  if (y < 0 || y >= v.h || weight <= 0) return;
  if (x0 > x1) std::swap(x0, x1);
  if (x0 < 0) x0 = 0;
  if (x1 >= v.w) x1 = v.w - 1;
  auto* p = reinterpret_cast<LICE_pixel_chan*>(v.row(y) + x0);
  for (int x = x0; x <= x1; ++x, p += 4) Op::doPix(p, c.r, c.g, c.b, c.a, weight);
}

} // namespace lice_shape
