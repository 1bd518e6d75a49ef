#include <cmath>
#include <vector>

#include "lice/lice_lines.h"
#include "lice/lice_text.h"
#include "lice/shape_ops.h"
#include "lice/small_circles.h"

using lice_detail::BitmapView;
using lice_shape::Colour;

namespace {

// Beyond this radius or centre distance the walks would take too long and
// the int conversions could overflow; such circles are refused.
constexpr double kMaxCircleCoord = 1e7;

struct ClipBox {
  int l, t, r, b; // inclusive
};

struct CircleJob {
  const BitmapView* v;
  ClipBox clip;
  int cx, cy;
  Colour c;
  template <class Op> void put(int dx, int dy, int weight) const {
    const int x = cx + dx, y = cy + dy;
    if (x < clip.l || x > clip.r || y < clip.t || y > clip.b) return;
    lice_shape::plot<Op>(*v, x, y, c, weight);
  }
  // The four points (±a, ±b), each once even when a or b is 0.
  template <class Op> void put4(int a, int b, int weight) const {
    put<Op>(a, b, weight);
    if (a) put<Op>(-a, b, weight);
    if (b) put<Op>(a, -b, weight);
    if (a && b) put<Op>(-a, -b, weight);
  }
  template <class Op> void span(int dy, int halfWidth, int weight) const {
    const int y = cy + dy;
    if (y < clip.t || y > clip.b || halfWidth < 0) return;
    int x0 = cx - halfWidth, x1 = cx + halfWidth;
    if (x0 < clip.l) x0 = clip.l;
    if (x1 > clip.r) x1 = clip.r;
    if (x0 <= x1) lice_shape::fillSpan<Op>(*v, y, x0, x1, c, weight);
  }
};

bool circleIsDrawable(const BitmapView& v, float cx, float cy, float r) {
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r) || r < 0) return false;
  if (std::fabs(cx) > kMaxCircleCoord || std::fabs(cy) > kMaxCircleCoord) return false;
  if (r > kMaxCircleCoord) return false;
  return cx + r + 2 >= 0 && cy + r + 2 >= 0 && cx - r - 2 < v.w && cy - r - 2 < v.h;
}

// Midpoint outline; a radius below 2 gives only the axis points.
template <class Op> void midpointOutline(const CircleJob& j, int radius, int ia) {
  j.put4<Op>(0, radius, ia);
  if (radius) j.put4<Op>(radius, 0, ia);
  int y = radius, e = -radius;
  for (int x = 1; x < y; ++x) {
    const int yBefore = y;
    const bool negative = e < 0;
    if (!negative) --y;
    j.put4<Op>(x, y, ia);
    if (x != y) j.put4<Op>(y, x, ia);
    e += negative ? 2 * x + 1 : 2 * (x + 1 - yBefore) + 1;
  }
}

// Midpoint fill: the walk gives each row's half width, and each row is then
// filled once so that blending modes do not hit a pixel twice.
template <class Op> void midpointFill(const CircleJob& j, int radius, int ia) {
  const int top = j.clip.t - j.cy, bottom = j.clip.b - j.cy;
  const int dLo = (top <= 0 && bottom >= 0) ? 0 : std::min(std::abs(top), std::abs(bottom));
  const int dHi = std::min(radius, std::max(std::abs(top), std::abs(bottom)));
  if (dLo > dHi) return;
  std::vector<int> half(size_t(dHi - dLo + 1), -1);
  auto widen = [&](int dy, int hw) {
    if (dy >= dLo && dy <= dHi) half[size_t(dy - dLo)] = std::max(half[size_t(dy - dLo)], hw);
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
  for (int dy = dLo; dy <= dHi; ++dy) {
    const int hw = half[size_t(dy - dLo)];
    j.span<Op>(dy, hw, ia);
    if (dy) j.span<Op>(-dy, hw, ia);
  }
}

// Anti-aliased outline: per column the exact height c splits the weight
// between the pixel at floor(c) and the one beyond it.
template <class Op> void smoothOutline(const CircleJob& j, double r, int ia) {
  const int whole = int(r);
  const int outer = int((r - std::floor(r)) * ia);
  j.put4<Op>(0, whole, ia - outer);
  j.put4<Op>(0, whole + 1, outer);
  j.put4<Op>(whole, 0, ia - outer);
  j.put4<Op>(whole + 1, 0, outer);
  for (int x = 1; x <= whole; ++x) {
    const double c = std::sqrt(r * r - double(x) * x);
    const int g = int(c);
    if (x > g) break;
    const int h = int((c - g) * ia);
    j.put4<Op>(x, g, ia - h);
    j.put4<Op>(x, g + 1, h);
    if (x != g) j.put4<Op>(g, x, ia - h);
    j.put4<Op>(g + 1, x, h);
  }
}

// Anti-aliased fill: full weight within r of the centre, fading to nothing
// at r + 1, each pixel visited once.
template <class Op> void smoothFill(const CircleJob& j, double r, int ia) {
  const int reach = int(r) + 1;
  for (int dy = -reach; dy <= reach; ++dy) {
    const double dy2 = double(dy) * dy;
    const int inner = dy2 <= r * r ? int(std::sqrt(r * r - dy2)) : -1;
    const double outerSq = (r + 1) * (r + 1) - dy2;
    const int outer = outerSq > 0 ? int(std::sqrt(outerSq)) : -1;
    j.span<Op>(dy, inner, ia);
    for (int dx = inner + 1; dx <= outer; ++dx) {
      const double cover = r + 1 - std::sqrt(double(dx) * dx + dy2);
      const int weight = cover >= 1 ? ia : int(cover * ia);
      j.put<Op>(dx, dy, weight);
      if (dx) j.put<Op>(-dx, dy, weight);
    }
  }
}

void drawCircle(const BitmapView& v, ClipBox clip, float cx, float cy, float r, LICE_Pixel32 color,
                int ia, int mode, bool aa, bool fill) {
  clip.l = std::max(clip.l, 0), clip.t = std::max(clip.t, 0);
  clip.r = std::min(clip.r, v.w - 1), clip.b = std::min(clip.b, v.h - 1);
  if (clip.l > clip.r || clip.t > clip.b) return;
  CircleJob j{&v, clip, int(cx + 0.5f), int(cy + 0.5f), lice_shape::splitColour(color)};
  if (aa) {
    lice_shape::withWeightedOp(mode, [&](auto op) {
      if (fill)
        smoothFill<decltype(op)>(j, r, ia);
      else
        smoothOutline<decltype(op)>(j, r, ia);
    });
    return;
  }
  const int radius = int(r + 0.5f);
  lice_shape::withUniformOp(mode, ia, false, [&](auto op) {
    if (fill)
      midpointFill<decltype(op)>(j, radius, ia);
    else
      midpointOutline<decltype(op)>(j, radius, ia);
  });
}

bool prepare(LICE_IBitmap* dest, float cx, float cy, float r, float alpha, BitmapView* v, int* ia) {
  *ia = lice_detail::alphaWeight(alpha);
  return *ia > 0 && lice_detail::getView(dest, v) && circleIsDrawable(*v, cx, cy, r);
}

ClipBox wholeBitmap(const BitmapView& v) {
  return {0, 0, v.w - 1, v.h - 1};
}

} // namespace

void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_Pixel32 color, float alpha,
                 int mode, bool aa) {
  BitmapView v;
  int ia = 0;
  if (!prepare(dest, cx, cy, r, alpha, &v, &ia)) return;
  if (const LICE_SmallCircle* s = LICE_FindSmallCircle(r)) {
    LICE_DrawGlyph(dest, int(cx - r), int(cy - r), color, aa ? s->aa : s->plain, s->size, s->size,
                   alpha, mode);
    return;
  }
  drawCircle(v, wholeBitmap(v), cx, cy, r, color, ia, mode, aa, false);
}

void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_Pixel32 color,
                     float alpha, int mode, bool aa) {
  BitmapView v;
  int ia = 0;
  if (!prepare(dest, cx, cy, r, alpha, &v, &ia)) return;
  drawCircle(v, wholeBitmap(v), cx, cy, r, color, ia, mode, aa, true);
}

namespace {

// The part of the outline between two angles inside one quarter: the circle
// clipped to the box of the piece's end points, widened outward for the
// anti-aliased pixels just beyond the radius.
void drawQuarterPiece(const BitmapView& v, float cx, float cy, float r, double a0, double a1,
                      LICE_Pixel32 color, int ia, int mode, bool aa) {
  const double x0 = cx + std::sin(a0) * r, y0 = cy - std::cos(a0) * r;
  const double x1 = cx + std::sin(a1) * r, y1 = cy - std::cos(a1) * r;
  ClipBox box{int(std::floor(std::min(x0, x1) + 0.5)), int(std::floor(std::min(y0, y1) + 0.5)),
              int(std::floor(std::max(x0, x1) + 0.5)), int(std::floor(std::max(y0, y1) + 0.5))};
  const int quarter = int(std::floor((a0 + a1) / 2 / (M_PI / 2))) & 3;
  const bool right = quarter == 0 || quarter == 1, upper = quarter == 0 || quarter == 3;
  const int grow = (aa || cx != std::floor(cx) || cy != std::floor(cy)) ? 2 : 1;
  if (right)
    box.r += grow;
  else
    box.l -= grow;
  if (upper)
    box.t -= grow;
  else
    box.b += grow;
  drawCircle(v, box, cx, cy, r, color, ia, mode, aa, false);
}

} // namespace

void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
              LICE_Pixel32 color, float alpha, int mode, bool aa) {
  BitmapView v;
  int ia = 0;
  if (!std::isfinite(minAngle) || !std::isfinite(maxAngle)) return;
  if (!prepare(dest, cx, cy, r, alpha, &v, &ia)) return;
  double a0 = std::min(minAngle, maxAngle), a1 = std::max(minAngle, maxAngle);
  if (a1 - a0 >= 2 * M_PI) {
    LICE_Circle(dest, cx, cy, r, color, alpha, mode, aa);
    return;
  }
  const double span = a1 - a0;
  a0 = std::fmod(a0, 2 * M_PI);
  if (a0 < 0) a0 += 2 * M_PI;
  a1 = a0 + span;
  const double quarter = M_PI / 2;
  for (double start = a0; start < a1;) {
    const double cut = std::min(a1, (std::floor(start / quarter + 1e-9) + 1) * quarter);
    if (cut - start > 1e-6) drawQuarterPiece(v, cx, cy, r, start, cut, color, ia, mode, aa);
    start = cut;
  }
}

void LICE_RoundRect(LICE_IBitmap* dest, float x, float y, float w, float h, int cornerradius,
                    LICE_Pixel32 color, float alpha, int mode, bool aa) {
  const float r = std::floor(std::min(float(cornerradius), std::min(w / 2, h / 2)));
  auto toInt = [](double f) { return lice_detail::toIntClamped(f); };
  if (cornerradius <= 0 || !(r >= 2)) {
    LICE_DrawRect(dest, toInt(x), toInt(y), toInt(w), toInt(h), color, alpha, mode);
    return;
  }
  LICE_Line(dest, toInt(x + r), toInt(y), toInt(x + w - r), toInt(y), color, alpha, mode, aa);
  LICE_Line(dest, toInt(x + r - 1), toInt(y + h), toInt(x + w - r), toInt(y + h), color, alpha,
            mode, aa);
  LICE_Line(dest, toInt(x + w), toInt(y + r), toInt(x + w), toInt(y + h - r), color, alpha, mode,
            aa);
  LICE_Line(dest, toInt(x), toInt(y + r - 1), toInt(x), toInt(y + h - r), color, alpha, mode, aa);
  const float pi = float(M_PI);
  LICE_Arc(dest, x + r, y + r, r, -pi / 2, 0, color, alpha, mode, aa);
  LICE_Arc(dest, x + w - r, y + r, r, 0, pi / 2, color, alpha, mode, aa);
  LICE_Arc(dest, x + w - r, y + h - r, r, pi / 2, pi, color, alpha, mode, aa);
  LICE_Arc(dest, x + r, y + h - r, r, pi, 3 * pi / 2, color, alpha, mode, aa);
}
