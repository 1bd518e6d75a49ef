#include <cmath>
#include <initializer_list>

#include "lice/lice_lines.h"

namespace {

enum : int { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

template <typename T> int outcode(T x, T y, T xlo, T ylo, T xhi, T yhi) {
  int code = 0;
  if (x < xlo)
    code |= kLeft;
  else if (x > xhi)
    code |= kRight;
  if (y < ylo)
    code |= kTop;
  else if (y > yhi)
    code |= kBottom;
  return code;
}

// Outcode clipping against the inclusive box xlo..xhi, ylo..yhi. The moved
// coordinate is computed in double so that far-off ends cannot overflow, and
// converted by conv (truncation for ints).
template <typename T, typename Conv>
bool clipInclusive(T* x1, T* y1, T* x2, T* y2, T xlo, T ylo, T xhi, T yhi, Conv conv) {
  int c1 = outcode(*x1, *y1, xlo, ylo, xhi, yhi);
  int c2 = outcode(*x2, *y2, xlo, ylo, xhi, yhi);
  for (int guard = 0; (c1 | c2) && guard < 8; ++guard) {
    if (c1 & c2) return false;
    const int c = c1 ? c1 : c2;
    const double dx = double(*x2) - double(*x1), dy = double(*y2) - double(*y1);
    double x, y;
    if (c & kBottom) {
      x = double(*x1) + dx * (double(yhi) - double(*y1)) / dy, y = double(yhi);
    } else if (c & kTop) {
      x = double(*x1) + dx * (double(ylo) - double(*y1)) / dy, y = double(ylo);
    } else if (c & kRight) {
      y = double(*y1) + dy * (double(xhi) - double(*x1)) / dx, x = double(xhi);
    } else {
      y = double(*y1) + dy * (double(xlo) - double(*x1)) / dx, x = double(xlo);
    }
    if (c == c1) {
      *x1 = conv(x), *y1 = conv(y);
      c1 = outcode(*x1, *y1, xlo, ylo, xhi, yhi);
    } else {
      *x2 = conv(x), *y2 = conv(y);
      c2 = outcode(*x2, *y2, xlo, ylo, xhi, yhi);
    }
  }
  return !(c1 | c2);
}

} // namespace

// The clip rectangle includes its right column and bottom row: lines are
// clipped to left..right and top..bottom, as LICE_Line clips to 0..width - 1.
bool LICE_ClipLine(int* pX1, int* pY1, int* pX2, int* pY2, int xLo, int yLo, int xHi, int yHi) {
  if (xHi < xLo || yHi < yLo) return false;
  // Every moved coordinate lies between the box bounds, so it fits an int.
  auto truncate = [](double v) { return static_cast<int>(v); };
  return clipInclusive(pX1, pY1, pX2, pY2, xLo, yLo, xHi, yHi, truncate);
}

bool LICE_ClipFLine(float* px1, float* py1, float* px2, float* py2, float xlo, float ylo, float xhi,
                    float yhi) {
  if (!(xhi >= xlo) || !(yhi >= ylo)) return false;
  for (float v : {*px1, *py1, *px2, *py2}) {
    if (!std::isfinite(v)) return false;
  }
  auto keep = [](double v) { return static_cast<float>(v); };
  return clipInclusive(px1, py1, px2, py2, xlo, ylo, xhi, yhi, keep);
}
