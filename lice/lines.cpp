#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "detail/lice_view.h"
#include "detail/shape_ops.h"
#include "lice/lice_lines.h"

using lice_detail::BitmapView;
using lice_shape::Colour;
using lice_shape::plot;

namespace {

// Lines are drawn from both ends toward the middle, but the middle pixel of
// an even length and the truncations of clipping still depend on which end
// comes first: taking the lexicographically smaller end first makes a line
// and its reverse identical everywhere.
void orderEnds(int& x1, int& y1, int& x2, int& y2) {
  if (x1 > x2 || (x1 == x2 && y1 > y2)) std::swap(x1, x2), std::swap(y1, y2);
}

// Row y of a flipped bitmap in storage order: turned before clipping, whose
// truncations do not mirror. Kept within int for ends at the int limits.
int turnedRow(const BitmapView& v, int y) {
  return int(lice_detail::clampI64(int64_t(v.h) - 1 - y, INT32_MIN, INT32_MAX));
}

struct Walk {
  int x, y;       // current pixel
  int sMaj, sMin; // step directions along the major and minor axes
  bool xMajor;
  void stepMajor() { (xMajor ? x : y) += sMaj; }
  void stepMinor() { (xMajor ? y : x) += sMin; }
  int minorNeighbourX() const { return xMajor ? x : x + sMin; }
  int minorNeighbourY() const { return xMajor ? y + sMin : y; }
};

template <class Op>
void straightLine(const BitmapView& v, int x1, int y1, int x2, int y2, const Colour& c, int ia) {
  const int sx = x2 > x1 ? 1 : x2 < x1 ? -1 : 0, sy = y2 > y1 ? 1 : y2 < y1 ? -1 : 0;
  const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
  for (int k = 0; k <= n; ++k) plot<Op>(v, x1 + sx * k, y1 + sy * k, c, ia);
}

// Anti-aliased diagonal: each step also lights the two pixels between it
// and the next one at a quarter weight.
template <class Main, class Side>
void diagonalAA(const BitmapView& v, int x1, int y1, int x2, int y2, const Colour& c, int mainW,
                int sideW) {
  const int sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
  const int n = std::abs(x2 - x1);
  for (int k = 0; k <= n; ++k) {
    const int x = x1 + sx * k, y = y1 + sy * k;
    plot<Main>(v, x, y, c, mainW);
    if (k == n) break;
    plot<Side>(v, x + sx, y, c, sideW);
    plot<Side>(v, x, y + sy, c, sideW);
  }
}

Walk startWalk(int xa, int ya, int xb, int yb, bool xMajor) {
  Walk w{xa, ya, 0, 0, xMajor};
  const int dMaj = xMajor ? xb - xa : yb - ya, dMin = xMajor ? yb - ya : xb - xa;
  w.sMaj = dMaj >= 0 ? 1 : -1;
  w.sMin = dMin >= 0 ? 1 : -1;
  return w;
}

// Steps from one end toward the middle; the minor axis moves once the
// accumulated slope passes one half.
template <class Op>
Walk walkPlain(const BitmapView& v, Walk w, int count, int slope, const Colour& c, int ia) {
  int acc = 0;
  for (int k = 0; k < count; ++k) {
    plot<Op>(v, w.x, w.y, c, ia);
    w.stepMajor();
    if (acc + slope >= 0x8000)
      w.stepMinor(), acc += slope - 0x10000;
    else
      acc += slope;
  }
  return w;
}

inline int scaled(int weight, int ia) {
  return ia >= 256 ? weight : weight * ia / 256;
}

// Wu's method from one end: the pixel on the line and its minor-side
// neighbour share the weight by the fractional minor position f (16.16).
template <class Op>
void walkAA(const BitmapView& v, Walk w, int count, int slope, const Colour& c, int ia,
            bool extraMiddle) {
  int f = slope;
  w.stepMajor();
  for (int k = 0; k < count + (extraMiddle ? 1 : 0); ++k) {
    plot<Op>(v, w.x, w.y, c, scaled(255 - (f >> 8), ia));
    plot<Op>(v, w.minorNeighbourX(), w.minorNeighbourY(), c, scaled(f >> 8, ia));
    w.stepMajor();
    if (f + slope >= 0x10000)
      w.stepMinor(), f += slope - 0x10000;
    else
      f += slope;
  }
}

template <class Op>
void generalLine(const BitmapView& v, int x1, int y1, int x2, int y2, const Colour& c, int ia,
                 bool aa) {
  const int adx = std::abs(x2 - x1), ady = std::abs(y2 - y1);
  const bool xMajor = adx >= ady;
  const int n = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  // 64-bit so the shift cannot overflow; the quotient is below 0x10000.
  const int slope = static_cast<int>((static_cast<int64_t>(minor) << 16) / n);
  const int half = (n + 1) / 2;
  const bool evenLength = (n % 2) == 0;
  Walk fromA = startWalk(x1, y1, x2, y2, xMajor), fromB = startWalk(x2, y2, x1, y1, xMajor);
  if (!aa) {
    Walk middle = walkPlain<Op>(v, fromA, half, slope, c, ia);
    walkPlain<Op>(v, fromB, half, slope, c, ia);
    if (evenLength) plot<Op>(v, middle.x, middle.y, c, ia);
    return;
  }
  plot<Op>(v, x1, y1, c, ia);
  plot<Op>(v, x2, y2, c, ia);
  walkAA<Op>(v, fromA, half - 1, slope, c, ia, evenLength);
  walkAA<Op>(v, fromB, half - 1, slope, c, ia, false);
}

void drawDiagonalAA(const BitmapView& v, int x1, int y1, int x2, int y2, const Colour& c, int ia,
                    int mode) {
  using Three = lice_shape::WordMix<_LICE_CombinePixelsThreeQuarterMix2FAST>;
  using Quarter = lice_shape::WordMix<_LICE_CombinePixelsQuarterMix2FAST>;
  if ((mode & LICE_MODE_MASK) == LICE_MODE_COPY && ia >= 256) {
    diagonalAA<Three, Quarter>(v, x1, y1, x2, y2, c, ia, ia);
    return;
  }
  lice_shape::withWeightedOp(mode, [&](auto op) {
    using Op = decltype(op);
    diagonalAA<Op, Op>(v, x1, y1, x2, y2, c, ia * 3 / 4, ia / 4);
  });
}

} // namespace

void LICE_Line(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_Pixel32 color, float alpha,
               int mode, bool aa) {
  BitmapView v;
  const int ia = lice_detail::alphaWeight(alpha);
  if (ia <= 0 || !lice_detail::getView(dest, &v, false)) return;
  if (dest->isFlipped()) y1 = turnedRow(v, y1), y2 = turnedRow(v, y2);
  orderEnds(x1, y1, x2, y2);
  if (!LICE_ClipLine(&x1, &y1, &x2, &y2, 0, 0, v.w - 1, v.h - 1)) return;
  const Colour c = lice_shape::splitColour(color);
  const int adx = std::abs(x2 - x1), ady = std::abs(y2 - y1);
  if (adx == ady && adx != 0 && aa) {
    drawDiagonalAA(v, x1, y1, x2, y2, c, ia, mode);
    return;
  }
  const bool straight = adx == 0 || ady == 0 || adx == ady;
  // Straight rows and columns word-mix at exactly a quarter or three quarters;
  // an alpha merely rounding to those weights takes the copy operator.
  const bool quarterMixes = (adx == 0 || ady == 0) && (alpha == 0.25f || alpha == 0.75f);
  if (aa && !straight) {
    lice_shape::withWeightedOp(
        mode, [&](auto op) { generalLine<decltype(op)>(v, x1, y1, x2, y2, c, ia, true); });
    return;
  }
  lice_shape::withUniformOp(mode, ia, quarterMixes, [&](auto op) {
    using Op = decltype(op);
    if (straight)
      straightLine<Op>(v, x1, y1, x2, y2, c, ia);
    else
      generalLine<Op>(v, x1, y1, x2, y2, c, ia, false);
  });
}

void LICE_FLine(LICE_IBitmap* dest, float x1, float y1, float x2, float y2, LICE_Pixel32 color,
                float alpha, int mode, bool aa) {
  if (!aa) {
    auto toInt = [](float f) { return lice_detail::toIntClamped(f); };
    LICE_Line(dest, toInt(x1), toInt(y1), toInt(x2), toInt(y2), color, alpha, mode, false);
    return;
  }
  BitmapView v;
  const int ia = lice_detail::alphaWeight(alpha);
  if (ia <= 0 || !lice_detail::getView(dest, &v, false)) return;
  // Rows as stored: a flipped bitmap turns y before the fractions are taken
  // (the two weights do not sum to 256, so mirroring afterwards differs).
  if (dest->isFlipped()) y1 = float(v.h - 1) - y1, y2 = float(v.h - 1) - y2;
  if (!LICE_ClipFLine(&x1, &y1, &x2, &y2, 0.0f, 0.0f, float(v.w - 1), float(v.h - 1))) return;
  if (x1 == x2 && y1 == y2) return;
  const bool xMajor = std::fabs(x2 - x1) >= std::fabs(y2 - y1);
  if (!xMajor) std::swap(x1, y1), std::swap(x2, y2);
  if (x1 > x2) std::swap(x1, x2), std::swap(y1, y2);
  const double slope = (double(y2) - y1) / (double(x2) - x1);
  const int first = int(std::ceil(x1)), last = int(std::floor(x2));
  const Colour c = lice_shape::splitColour(color);
  lice_shape::withWeightedOp(mode, [&](auto op) {
    using Op = decltype(op);
    // 16.16 minor position in 64 bits: no overflow on any bitmap size.
    int64_t pos = lice_detail::toFixed(y1 + (first - x1) * slope);
    const int64_t step = lice_detail::toFixed(slope);
    for (int i = first; i <= last; ++i, pos += step) {
      const int m = int(pos >> 16), f = int(pos & 0xFFFF);
      const int wMain = scaled(255 - (f >> 8), ia), wSide = scaled(f >> 8, ia);
      if (xMajor)
        plot<Op>(v, i, m, c, wMain), plot<Op>(v, i, m + 1, c, wSide);
      else
        plot<Op>(v, m, i, c, wMain), plot<Op>(v, m + 1, i, c, wSide);
    }
  });
}

void LICE_DashedLine(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int pxon, int pxoff,
                     LICE_Pixel32 color, float alpha, int mode, bool) {
  BitmapView v;
  const int ia = lice_detail::alphaWeight(alpha);
  if (ia <= 0 || pxon < 1 || !lice_detail::getView(dest, &v, false)) return;
  if (pxoff < 0) pxoff = 0;
  orderEnds(x1, y1, x2, y2);
  if (!LICE_ClipLine(&x1, &y1, &x2, &y2, 0, 0, v.w - 1, v.h - 1)) return;
  const Colour c = lice_shape::splitColour(color);
  const int adx = std::abs(x2 - x1), ady = std::abs(y2 - y1);
  const bool xMajor = adx >= ady;
  const int n = std::max(adx, ady);
  const int slope = n ? static_cast<int>((static_cast<int64_t>(std::min(adx, ady)) << 16) / n) : 0;
  const int64_t period = int64_t(pxon) + pxoff; // both may be INT_MAX
  lice_shape::withUniformOp(mode, ia, false, [&](auto op) {
    using Op = decltype(op);
    Walk w = startWalk(x1, y1, x2, y2, xMajor);
    int acc = 0;
    for (int k = 0; k <= n; ++k) {
      if (k % period < pxon) plot<Op>(v, w.x, w.y, c, ia);
      w.stepMajor();
      if (acc + slope >= 0x8000)
        w.stepMinor(), acc += slope - 0x10000;
      else
        acc += slope;
    }
  });
}

namespace {
// A sum held at the int limits: the edges are axis-aligned, so an edge moved
// from beyond the limit to it still clips to the same pixels.
int sumHeld(int a, int64_t b) {
  return static_cast<int>(lice_detail::clampI64(a + b, INT_MIN, INT_MAX));
}
} // namespace

void LICE_DrawRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_Pixel32 color, float alpha,
                   int mode) {
  const int r = sumHeld(x, w), b = sumHeld(y, h);
  LICE_Line(dest, x, y, r, y, color, alpha, mode, false);
  LICE_Line(dest, r, y, r, b, color, alpha, mode, false);
  LICE_Line(dest, r, b, x, b, color, alpha, mode, false);
  LICE_Line(dest, x, b, x, y, color, alpha, mode, false);
}

void LICE_BorderedRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_Pixel32 bgcolor,
                       LICE_Pixel32 fgcolor, float alpha, int mode) {
  LICE_FillRect(dest, sumHeld(x, 1), sumHeld(y, 1), sumHeld(w, -1), sumHeld(h, -1), bgcolor, alpha,
                mode);
  LICE_DrawRect(dest, x, y, w, h, fgcolor, alpha, mode);
}
