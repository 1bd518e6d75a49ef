#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "detail/circle_draw.h"
#include "detail/shape_ops.h"

using lice_circle::ClipBox;
using lice_detail::BitmapView;
using lice_shape::Colour;

namespace {

// The distances from the centre (0 and up) at which a row or column can
// meet the clip box: everything a walk produces outside them is dropped
// before it is stored, so a huge circle over a small bitmap stays cheap.
struct DistanceRange {
  int lo, hi;
  bool has(int d) const { return d >= lo && d <= hi; }
};

DistanceRange distancesReaching(int first, int last, int centre, int reach) {
  const int a = first - centre, b = last - centre;
  const int lo = (a <= 0 && b >= 0) ? 0 : std::min(std::abs(a), std::abs(b));
  return {lo, std::min(reach, std::max(std::abs(a), std::abs(b)))};
}

struct Target {
  const BitmapView* v;
  ClipBox clip;
  int cx, cy;
  Colour c;
  bool checked; // false only when every pixel the walk can reach is inside clip

  bool inside(int x, int y) const {
    return x >= clip.l && x <= clip.r && y >= clip.t && y <= clip.b;
  }
  template <class Op> void put(int dx, int dy, int weight) const {
    const int x = cx + dx, y = cy + dy;
    if (weight <= 0 || (checked && !inside(x, y))) return;
    Op::doPix(reinterpret_cast<LICE_pixel_chan*>(v->row(y) + x), c.r, c.g, c.b, c.a, weight);
  }
  // (±a, ±b), each distinct position once.
  template <class Op> void put4(int a, int b, int weight) const {
    put<Op>(a, b, weight);
    if (a) put<Op>(-a, b, weight);
    if (b) put<Op>(a, -b, weight);
    if (a && b) put<Op>(-a, -b, weight);
  }
  template <class Op> void span(int dy, int halfWidth, int weight) const {
    const int y = cy + dy;
    if (halfWidth < 0 || y < clip.t || y > clip.b) return;
    const int x0 = std::max(cx - halfWidth, clip.l), x1 = std::min(cx + halfWidth, clip.r);
    if (x0 <= x1) lice_shape::fillSpan<Op>(*v, y, x0, x1, c, weight);
  }
  template <class Op> void span2(int d, int halfWidth, int weight) const {
    span<Op>(d, halfWidth, weight);
    if (d) span<Op>(-d, halfWidth, weight);
  }
};

// Midpoint outline; a radius below 2 gives only the axis points.
template <class Op> void midpointOutline(const Target& t, int radius, int ia) {
  t.put4<Op>(0, radius, ia);
  if (radius) t.put4<Op>(radius, 0, ia);
  int y = radius, e = -radius;
  for (int x = 1; x < y; ++x) {
    const int yBefore = y;
    const bool negative = e < 0;
    if (!negative) --y;
    t.put4<Op>(x, y, ia);
    if (x != y) t.put4<Op>(y, x, ia);
    e += negative ? 2 * x + 1 : 2 * (x + 1 - yBefore) + 1;
  }
}

// Midpoint fill: the walk's spans, merged per row so that each row is filled
// once (blending modes would otherwise hit the overlaps twice).
template <class Op> void midpointFill(const Target& t, int radius, int ia) {
  const DistanceRange rows = distancesReaching(t.clip.t, t.clip.b, t.cy, radius);
  if (rows.lo > rows.hi) return;
  std::vector<int> half(size_t(rows.hi - rows.lo + 1), -1);
  auto widen = [&](int d, int hw) {
    if (rows.has(d)) half[size_t(d - rows.lo)] = std::max(half[size_t(d - rows.lo)], hw);
  };
  widen(0, radius);
  widen(radius, 0);
  int y = radius, e = -radius;
  for (int x = 1; x < y; ++x) {
    const int yBefore = y;
    const bool negative = e < 0;
    if (!negative) --y;
    widen(y, x);
    widen(x, y);
    e += negative ? 2 * x + 1 : 2 * (x + 1 - yBefore) + 1;
  }
  for (int d = rows.lo; d <= rows.hi; ++d) t.span2<Op>(d, half[size_t(d - rows.lo)], ia);
}

// The anti-aliased walk: for x = 1, 2, ... the exact height c splits the
// weight between the pixel at g = (int)c (ia - h) and the one beyond it (h).
// The walk goes on while x - 1 is below (int)(c + 0.5); the step where that
// fails is the last one, whose mirrored pair is not drawn.
template <class Step> void smoothWalk(double r, int ia, Step&& step) {
  for (int x = 1;; ++x) {
    const double c2 = r * r - double(x) * x;
    if (c2 < 0) return;
    const double c = std::sqrt(c2);
    const bool last = !(x - 1 < int(c + 0.5));
    step(x, int(c), int((c - std::floor(c)) * ia), last);
    if (last) return;
  }
}

// A weighted pixel of one quadrant (dx, dy >= 0), mirrored when drawn.
struct QuadrantPixel {
  int dy, dx, weight;
};

// Sorted by row and column, the heaviest first: the first of each position
// is the one drawn, so a pixel the walk reaches twice is drawn once.
void sortHeaviestFirst(std::vector<QuadrantPixel>* pixels) {
  std::sort(pixels->begin(), pixels->end(), [](const QuadrantPixel& a, const QuadrantPixel& b) {
    if (a.dy != b.dy) return a.dy < b.dy;
    if (a.dx != b.dx) return a.dx < b.dx;
    return a.weight > b.weight;
  });
}

template <class Op> void smoothOutline(const Target& t, double r, int ia) {
  const int R = int(r), outer = int((r - std::floor(r)) * ia);
  const DistanceRange rows = distancesReaching(t.clip.t, t.clip.b, t.cy, R + 1);
  const DistanceRange cols = distancesReaching(t.clip.l, t.clip.r, t.cx, R + 1);
  std::vector<QuadrantPixel> pixels;
  auto add = [&](int dx, int dy, int weight) {
    if (weight > 0 && rows.has(dy) && cols.has(dx)) pixels.push_back({dy, dx, weight});
  };
  add(0, R, ia - outer);
  add(0, R + 1, outer);
  add(R, 0, ia - outer);
  add(R + 1, 0, outer);
  smoothWalk(r, ia, [&](int x, int g, int h, bool last) {
    add(x, g, ia - h);
    add(x, g + 1, h);
    if (last) return;
    add(g, x, ia - h);
    add(g + 1, x, h);
  });
  sortHeaviestFirst(&pixels);
  for (size_t i = 0; i < pixels.size(); ++i) {
    const QuadrantPixel& p = pixels[i];
    if (i && pixels[i - 1].dy == p.dy && pixels[i - 1].dx == p.dx) continue;
    t.put4<Op>(p.dx, p.dy, p.weight);
  }
}

// The anti-aliased fill: the same walk, with the spans up to g drawn at ia
// (so the diameters and the inside are solid) and the pixels beyond them at
// the walk's fractional weights. Each row is drawn once.
template <class Op> void smoothFill(const Target& t, double r, int ia) {
  const int R = int(r), outer = int((r - std::floor(r)) * ia);
  const DistanceRange rows = distancesReaching(t.clip.t, t.clip.b, t.cy, R + 1);
  const DistanceRange cols = distancesReaching(t.clip.l, t.clip.r, t.cx, R + 1);
  if (rows.lo > rows.hi) return;
  const size_t n = size_t(rows.hi - rows.lo + 1);
  std::vector<int> solid(n, -1), columnReach(n, -1);
  std::vector<QuadrantPixel> rim;
  auto solidRow = [&](int d, int halfWidth) {
    if (rows.has(d)) solid[size_t(d - rows.lo)] = std::max(solid[size_t(d - rows.lo)], halfWidth);
  };
  // Column dx solid over rows 0..bottom: recorded at its bottom row and
  // spread upward afterwards, so a step costs O(1) rather than O(g).
  auto solidColumn = [&](int dx, int bottom) {
    if (bottom < rows.lo) return;
    int& reach = columnReach[size_t(std::min(bottom, rows.hi) - rows.lo)];
    reach = std::max(reach, dx);
  };
  auto rimAt = [&](int dx, int dy, int weight) {
    if (weight > 0 && rows.has(dy) && cols.has(dx)) rim.push_back({dy, dx, weight});
  };
  solidRow(0, R);
  solidColumn(0, R);
  rimAt(R + 1, 0, outer);
  rimAt(0, R + 1, outer);
  smoothWalk(r, ia, [&](int x, int g, int h, bool last) {
    solidColumn(x, g);
    rimAt(x, g + 1, h);
    if (last) return;
    solidRow(x, g);
    rimAt(g + 1, x, h);
  });
  int widest = -1;
  for (size_t i = n; i-- > 0;) {
    widest = std::max(widest, columnReach[i]);
    solid[i] = std::max(solid[i], widest);
  }
  sortHeaviestFirst(&rim);
  size_t next = 0;
  for (int d = rows.lo; d <= rows.hi; ++d) {
    const int halfWidth = solid[size_t(d - rows.lo)];
    t.span2<Op>(d, halfWidth, ia);
    for (; next < rim.size() && rim[next].dy == d; ++next) {
      const QuadrantPixel& p = rim[next];
      const bool repeat = next && rim[next - 1].dy == d && rim[next - 1].dx == p.dx;
      if (!repeat && p.dx > halfWidth) t.put4<Op>(p.dx, p.dy, p.weight);
    }
  }
}

// The design's rule: pixels are checked only when the circle comes within
// two pixels of an edge. The integer reach test makes the unchecked case
// safe by construction, whatever the rounding of the centre.
bool needsChecks(const BitmapView& v, const ClipBox& clip, float cx, float cy, float r, int pcx,
                 int pcy) {
  const bool nearEdge = cx - r - 2 < 0 || cy - r - 2 < 0 || cx + r + 2 >= v.w || cy + r + 2 >= v.h;
  const int reach = int(r) + 1; // the furthest offset either walk plots
  const bool within = pcx - reach >= clip.l && pcx + reach <= clip.r && pcy - reach >= clip.t &&
                      pcy + reach <= clip.b;
  return nearEdge || !within;
}

} // namespace

namespace lice_circle {

int CentrePixel(float c) {
  // floor rather than a cast: a centre at -3 must stay at -3, not move to -2.
  return int(std::floor(double(c) + 0.5));
}

void Draw(const BitmapView& v, ClipBox clip, float cx, float cy, float r, LICE_Pixel32 color,
          int ia, int mode, bool aa, bool fill) {
  clip.l = std::max(clip.l, 0), clip.t = std::max(clip.t, 0);
  clip.r = std::min(clip.r, v.w - 1), clip.b = std::min(clip.b, v.h - 1);
  if (clip.l > clip.r || clip.t > clip.b || ia <= 0) return;
  const int pcx = CentrePixel(cx), pcy = CentrePixel(cy);
  const Target t{&v,
                 clip,
                 pcx,
                 pcy,
                 lice_shape::splitColour(color),
                 needsChecks(v, clip, cx, cy, r, pcx, pcy)};
  if (aa) {
    lice_shape::withWeightedOp(mode, [&](auto op) {
      using Op = decltype(op);
      fill ? smoothFill<Op>(t, r, ia) : smoothOutline<Op>(t, r, ia);
    });
    return;
  }
  const int radius = int(double(r) + 0.5);
  lice_shape::withUniformOp(mode, ia, false, [&](auto op) {
    using Op = decltype(op);
    fill ? midpointFill<Op>(t, radius, ia) : midpointOutline<Op>(t, radius, ia);
  });
}

} // namespace lice_circle
