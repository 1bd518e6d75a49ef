#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "detail/shape_ops.h"
#include "lice/lice_lines.h"

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

// Splits the points of a convex polygon, sorted by y then x, into the chains
// left and right of the line from the top point to the bottom point; both
// chains run from the top point down to the bottom point.
void splitChains(const Point* sorted, int n, std::vector<Point>* left, std::vector<Point>* right) {
  const Point& top = sorted[0];
  const Point& bottom = sorted[n - 1];
  left->push_back(top);
  right->push_back(top);
  for (int i = 1; i + 1 < n; ++i) {
    const Point& p = sorted[i];
    // Differences of ints take 33 bits, so each product 66: 128-bit keeps
    // the side of vertices at the int limits exact.
    using Wide = __int128;
    const Wide cross = Wide(int64_t(bottom.x) - top.x) * (int64_t(p.y) - top.y) -
                       Wide(int64_t(bottom.y) - top.y) * (int64_t(p.x) - top.x);
    (cross >= 0 ? left : right)->push_back(p);
  }
  left->push_back(bottom);
  right->push_back(bottom);
}

// A chain walked downward one edge at a time.
struct Chain {
  const std::vector<Point>& points;
  bool isLeft;
  size_t edge = 0; // the edge from points[edge] to points[edge + 1]

  bool done() const { return edge + 1 >= points.size(); }
  int nextY() const { return points[edge + 1].y; }
  // Skips the edges that end above row y.
  void advanceTo(int y) {
    while (!done() && nextY() < y) ++edge;
  }
  // The edge's x at row y, interpolated in single precision and truncated. A
  // horizontal edge has no slope to follow: it gives its outer end, so no
  // division by its zero height ever happens.
  int xAt(int y) const {
    const Point& a = points[edge];
    const Point& b = points[edge + 1];
    if (a.y == b.y) return isLeft ? std::min(a.x, b.x) : std::max(a.x, b.x);
    const float x = float(a.x) +
                    (float(b.x) - float(a.x)) * (float(y) - float(a.y)) / (float(b.y) - float(a.y));
    return lice_detail::toIntClamped(x);
  }
};

// Trapezoid bands from the top vertex down: each band ends at the nearer of
// the two chains' next vertices, and the next one starts a row below it so
// that no row is filled twice.
void fillBands(LICE_IBitmap* dest, const Point* sorted, int n, LICE_Pixel32 color, float alpha,
               int mode) {
  std::vector<Point> leftPoints, rightPoints;
  splitChains(sorted, n, &leftPoints, &rightPoints);
  Chain left{leftPoints, true}, right{rightPoints, false};
  const int bottom = sorted[n - 1].y;
  for (int y = sorted[0].y; y <= bottom;) {
    left.advanceTo(y);
    right.advanceTo(y);
    if (left.done() || right.done()) return;
    const int end = std::min(left.nextY(), right.nextY());
    LICE_FillTrapezoid(dest, left.xAt(y), right.xAt(y), y, left.xAt(end), right.xAt(end), end,
                       color, alpha, mode);
    if (end >= bottom) return;
    y = end + 1;
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
  if (!x || !y || npoints < 3 || lice_detail::alphaWeight(alpha) <= 0) return;
  if (!lice_detail::getView(dest, &v)) return;
  // Trapezoids address rows as stored, so flipped bitmaps turn y here.
  const bool flip = dest->isFlipped();
  Point onStack[512];
  std::vector<Point> onHeap;
  Point* points = onStack;
  if (npoints > 512) {
    onHeap.resize(size_t(npoints));
    points = onHeap.data();
  }
  for (int i = 0; i < npoints; ++i) {
    points[i] = {x[i],
                 flip ? int(lice_detail::clampI64(int64_t(v.h) - 1 - y[i], INT32_MIN, INT32_MAX))
                      : y[i]};
  }
  std::sort(points, points + npoints,
            [](const Point& a, const Point& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  const Point& top = points[0];
  const Point& bottom = points[npoints - 1];
  if (bottom.y < 0 || top.y >= v.h) return;
  if (top.y == bottom.y) {
    LICE_FillTrapezoid(dest, top.x, bottom.x, top.y, top.x, bottom.x, top.y, color, alpha, mode);
    return;
  }
  fillBands(dest, points, npoints, color, alpha, mode);
}

void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3,
                       LICE_Pixel32 color, float alpha, int mode) {
  const int xs[3] = {x1, x2, x3}, ys[3] = {y1, y2, y3};
  LICE_FillConvexPolygon(dest, xs, ys, 3, color, alpha, mode);
}
