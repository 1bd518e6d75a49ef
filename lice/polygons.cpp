#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "lice/lice_lines.h"
#include "lice/shape_ops.h"

using lice_detail::BitmapView;
using lice_shape::Colour;

namespace {

struct Point {
  int x, y;
};

// Copy mode stores or word-mixes at the exact quarter weights; every other
// weight and mode mixes all four channels toward the colour.
template <class Fn> bool withFillOp(int mode, int ia, Fn&& fn) {
  return lice_shape::withUniformOp(mode, ia, true, fn);
}

// An edge's x at row y, exact at both ends; 64-bit so far-off coordinates
// cannot overflow, and never divided by a zero height.
int edgeX(const Point& a, const Point& b, int y) {
  if (b.y == a.y) return a.x;
  return int(a.x + (int64_t(b.x) - a.x) * (int64_t(y) - a.y) / (int64_t(b.y) - a.y));
}

// The extreme x over a chain's edges that touch row y (horizontal edges count
// with both ends); the chain is ordered by y.
class ChainCursor {
public:
  ChainCursor(const std::vector<Point>& chain, bool wantMax) : mChain(chain), mMax(wantMax) {}
  int at(int y) {
    while (mEdge + 2 < int(mChain.size()) && mChain[size_t(mEdge) + 1].y < y) ++mEdge;
    int best = mMax ? INT32_MIN : INT32_MAX;
    for (int e = mEdge; e + 1 < int(mChain.size()) && mChain[size_t(e)].y <= y; ++e) {
      const Point& a = mChain[size_t(e)];
      const Point& b = mChain[size_t(e) + 1];
      if (b.y < y) continue;
      const int xa = a.y == b.y ? (mMax ? std::max(a.x, b.x) : std::min(a.x, b.x)) : edgeX(a, b, y);
      best = mMax ? std::max(best, xa) : std::min(best, xa);
    }
    return best;
  }

private:
  const std::vector<Point>& mChain;
  bool mMax;
  int mEdge = 0;
};

// Splits the points of a convex polygon, sorted by y then x, into the chains
// left and right of the line from the top point to the bottom point.
void splitChains(const std::vector<Point>& sorted, std::vector<Point>* left,
                 std::vector<Point>* right) {
  const Point& top = sorted.front();
  const Point& bottom = sorted.back();
  left->push_back(top);
  right->push_back(top);
  for (size_t i = 1; i + 1 < sorted.size(); ++i) {
    const Point& p = sorted[i];
    const int64_t cross = (int64_t(bottom.x) - top.x) * (int64_t(p.y) - top.y) -
                          (int64_t(bottom.y) - top.y) * (int64_t(p.x) - top.x);
    (cross >= 0 ? left : right)->push_back(p);
  }
  left->push_back(bottom);
  right->push_back(bottom);
}

template <class Op>
void fillPolygonRows(const BitmapView& v, const std::vector<Point>& sorted, const Colour& c,
                     int ia) {
  std::vector<Point> left, right;
  splitChains(sorted, &left, &right);
  ChainCursor l(left, false), r(right, true);
  const int y0 = std::max(sorted.front().y, 0), y1 = std::min(sorted.back().y, v.h - 1);
  for (int y = y0; y <= y1; ++y) {
    const int xl = l.at(y), xr = r.at(y);
    if (std::max(xl, xr) < 0 || std::min(xl, xr) >= v.w) continue;
    lice_shape::fillSpan<Op>(v, y, xl, xr, c, ia);
  }
}

} // namespace

void LICE_FillTrapezoid(LICE_IBitmap* dest, int x1a, int x1b, int y1, int x2a, int x2b, int y2,
                        LICE_Pixel32 color, float alpha, int mode) {
  BitmapView v;
  const int ia = lice_detail::alphaWeight(alpha);
  if (ia <= 0 || !lice_detail::getView(dest, &v, false)) return;
  if (y1 > y2) std::swap(y1, y2), std::swap(x1a, x2a), std::swap(x1b, x2b);
  if (y2 < 0 || y1 >= v.h) return;
  if (std::max({x1a, x1b, x2a, x2b}) < 0 || std::min({x1a, x1b, x2a, x2b}) >= v.w) return;
  const Colour c = lice_shape::splitColour(color);
  const int64_t rows = int64_t(y2) - y1;
  // 16.16 edges in 64 bits, each step limited to +-2^29; a single row has no
  // step at all and spans both pairs of ends.
  auto stepOf = [rows](int from, int to) -> int64_t {
    if (!rows) return 0;
    return lice_detail::clampI64(((int64_t(to) - from) * 65536) / rows, -(int64_t(1) << 29),
                                 int64_t(1) << 29);
  };
  const int64_t stepA = stepOf(x1a, x2a), stepB = stepOf(x1b, x2b);
  int64_t posA = int64_t(x1a) * 65536 + 0x8000, posB = int64_t(x1b) * 65536 + 0x8000;
  int y = y1;
  if (y < 0) posA += stepA * -int64_t(y), posB += stepB * -int64_t(y), y = 0;
  const int last = std::min(y2, v.h - 1);
  withFillOp(mode, ia, [&](auto op) {
    using Op = decltype(op);
    if (!rows) {
      lice_shape::fillSpan<Op>(v, y, std::min({x1a, x1b, x2a, x2b}), std::max({x1a, x1b, x2a, x2b}),
                               c, ia);
      return;
    }
    for (; y <= last; ++y, posA += stepA, posB += stepB) {
      const int64_t a = posA >> 16, b = posB >> 16;
      if (std::max(a, b) < 0 || std::min(a, b) >= v.w) continue;
      lice_shape::fillSpan<Op>(v, y, int(lice_detail::clampI64(a, -1, v.w)),
                               int(lice_detail::clampI64(b, -1, v.w)), c, ia);
    }
  });
}

void LICE_FillConvexPolygon(LICE_IBitmap* dest, const int* x, const int* y, int npoints,
                            LICE_Pixel32 color, float alpha, int mode) {
  BitmapView v;
  const int ia = lice_detail::alphaWeight(alpha);
  if (!x || !y || npoints < 3 || ia <= 0 || !lice_detail::getView(dest, &v)) return;
  std::vector<Point> sorted(static_cast<size_t>(npoints));
  for (int i = 0; i < npoints; ++i) sorted[size_t(i)] = {x[i], y[i]};
  std::sort(sorted.begin(), sorted.end(),
            [](const Point& a, const Point& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  if (sorted.back().y < 0 || sorted.front().y >= v.h) return;
  const Colour c = lice_shape::splitColour(color);
  withFillOp(mode, ia, [&](auto op) { fillPolygonRows<decltype(op)>(v, sorted, c, ia); });
}

void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3,
                       LICE_Pixel32 color, float alpha, int mode) {
  const int xs[3] = {x1, x2, x3}, ys[3] = {y1, y2, y3};
  LICE_FillConvexPolygon(dest, xs, ys, 3, color, alpha, mode);
}
