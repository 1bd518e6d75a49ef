#include <cmath>

#include "detail/circle_draw.h"
#include "detail/small_circles.h"
#include "lice/lice_lines.h"
#include "lice/lice_text.h"

using lice_detail::BitmapView;

namespace {

using lice_circle::ClipBox;

// Beyond this radius or centre distance the walks would take too long and
// the int conversions could overflow; such circles are refused.
constexpr double kMaxCircleCoord = 1e7;

bool circleIsDrawable(const BitmapView& v, float cx, float cy, float r) {
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r) || r < 0) return false;
  if (std::fabs(cx) > kMaxCircleCoord || std::fabs(cy) > kMaxCircleCoord) return false;
  if (r > kMaxCircleCoord) return false;
  return cx + r + 2 >= 0 && cy + r + 2 >= 0 && cx - r - 2 < v.w && cy - r - 2 < v.h;
}

// Rows are addressed as stored; a flipped bitmap turns the centre's y into
// height - 1 - y first, so that a centre on a half pixel rounds the same way
// in storage whichever way up the bitmap is.
bool prepare(LICE_IBitmap* dest, float cx, float* cy, float r, float alpha, BitmapView* v,
             int* ia) {
  *ia = lice_detail::alphaWeight(alpha);
  if (*ia <= 0 || !lice_detail::getView(dest, v, false)) return false;
  if (dest->isFlipped()) *cy = float(v->h - 1) - *cy;
  return circleIsDrawable(*v, cx, *cy, r);
}

ClipBox wholeBitmap(const BitmapView& v) {
  return {0, 0, v.w - 1, v.h - 1};
}

} // namespace

void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_Pixel32 color, float alpha,
                 int mode, bool aa) {
  BitmapView v;
  int ia = 0;
  const float logicalY = cy;
  if (!prepare(dest, cx, &cy, r, alpha, &v, &ia)) return;
  if (const LICE_SmallCircle* s = LICE_FindSmallCircle(r)) {
    cy = logicalY; // the stamp is placed by LICE_DrawGlyph, which turns rows itself
    // Floored like the centres, so that stamps left of or above the bitmap
    // are not pulled a pixel toward it.
    LICE_DrawGlyph(dest, int(std::floor(cx - r)), int(std::floor(cy - r)), color,
                   aa ? s->aa : s->plain, s->size, s->size, alpha, mode);
    return;
  }
  lice_circle::Draw(v, wholeBitmap(v), cx, cy, r, color, ia, mode, aa, false);
}

void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_Pixel32 color,
                     float alpha, int mode, bool aa) {
  BitmapView v;
  int ia = 0;
  if (!prepare(dest, cx, &cy, r, alpha, &v, &ia)) return;
  lice_circle::Draw(v, wholeBitmap(v), cx, cy, r, color, ia, mode, aa, true);
}

namespace {

constexpr double kQuarterTurn = M_PI / 2;

// Sine and cosine, exact at whole quarter turns: the cuts between pieces lie
// there, and noise of 1e-16 would otherwise move a truncated end point by a
// whole pixel whenever the centre sits on a half pixel.
void sinCos(double a, double* s, double* c) {
  const double quarters = std::round(a / kQuarterTurn);
  if (std::fabs(a - quarters * kQuarterTurn) < 1e-6) {
    static const double kSin[4] = {0, 1, 0, -1}, kCos[4] = {1, 0, -1, 0};
    const int k = int(std::fmod(quarters, 4.0) + 4) & 3;
    *s = kSin[k], *c = kCos[k];
    return;
  }
  *s = std::sin(a), *c = std::cos(a);
}

// One piece of an arc inside a single quarter: the outline clipped to the box
// of the piece's end points. The outline is drawn around the centre rounded,
// so when the centre is not whole the box is widened by one pixel on the side
// away from the centre, where that rounding can leave the outline beyond it.
ClipBox pieceBox(float cx, float cy, float r, double a0, double a1) {
  double s0, c0, s1, c1;
  sinCos(a0, &s0, &c0);
  sinCos(a1, &s1, &c1);
  auto pixel = [](double v) { return lice_detail::toIntClamped(std::floor(v + 0.5)); };
  const int x0 = pixel(cx + s0 * r), y0 = pixel(cy - c0 * r);
  const int x1 = pixel(cx + s1 * r), y1 = pixel(cy - c1 * r);
  ClipBox box{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
  const int quarter = int(std::floor((a0 + a1) / 2 / kQuarterTurn)) & 3;
  const bool rightHalf = quarter == 0 || quarter == 1, upperHalf = quarter == 0 || quarter == 3;
  if (cx != std::floor(cx)) (rightHalf ? box.r : box.l) += rightHalf ? 1 : -1;
  if (cy != std::floor(cy)) (upperHalf ? box.t : box.b) += upperHalf ? -1 : 1;
  return box;
}

} // namespace

void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
              LICE_Pixel32 color, float alpha, int mode, bool aa) {
  BitmapView v;
  int ia = 0;
  if (!std::isfinite(minAngle) || !std::isfinite(maxAngle)) return;
  const float logicalY = cy;
  if (!prepare(dest, cx, &cy, r, alpha, &v, &ia)) return;
  const double span = double(maxAngle) - double(minAngle);
  if (span >= 2 * M_PI) {
    LICE_Circle(dest, cx, logicalY, r, color, alpha, mode, aa);
    return;
  }
  if (dest->isFlipped()) {
    // Upside down in storage, angle a points where pi - a does; the span
    // keeps its size and now starts at pi - maxAngle.
    const float turnedStart = float(M_PI) - maxAngle;
    maxAngle = float(M_PI) - minAngle;
    minAngle = turnedStart;
  }
  // Angles beyond a full turn are brought back by the remainder; the span is
  // kept as given, so the end never falls before the start.
  double a0 = minAngle;
  if (std::fabs(a0) > 2 * M_PI || std::fabs(double(maxAngle)) > 2 * M_PI) {
    a0 = std::fmod(a0, 2 * M_PI);
  }
  a0 += 2 * M_PI;
  const double a1 = a0 + span;
  for (double start = a0; start < a1;) {
    const double cut = std::min(a1, (std::floor(start / kQuarterTurn + 1e-9) + 1) * kQuarterTurn);
    if (cut - start > 1e-6) {
      lice_circle::Draw(v, pieceBox(cx, cy, r, start, cut), cx, cy, r, color, ia, mode, aa, false);
    }
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
