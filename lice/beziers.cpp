#include <algorithm>
#include <cmath>

#include "lice/lice_lines.h"

namespace {

struct CurvePoint {
  double x, y;
};

// Enough segments that each stays within about tol of the curve: the
// deviation of a flattened segment falls with the square of the count.
int segmentCount(const CurvePoint* ctl, int n, double tol) {
  double extent = 0;
  for (int i = 1; i < n; ++i)
    extent += std::hypot(ctl[i].x - ctl[i - 1].x, ctl[i].y - ctl[i - 1].y);
  if (!std::isfinite(extent)) return 0;
  const double segments = std::ceil(std::sqrt(extent / std::max(tol, 0.1)));
  return int(std::clamp(segments, 1.0, 1024.0));
}

CurvePoint cubicAt(const CurvePoint* p, double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x,
          a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y};
}

CurvePoint quadAt(const CurvePoint* p, double t) {
  const double u = 1 - t;
  return {u * u * p[0].x + 2 * u * t * p[1].x + t * t * p[2].x,
          u * u * p[0].y + 2 * u * t * p[1].y + t * t * p[2].y};
}

template <class At>
void drawFlattened(LICE_IBitmap* dest, const CurvePoint* ctl, int n, At at, LICE_Pixel32 color,
                   float alpha, int mode, bool aa, double tol) {
  const int segments = segmentCount(ctl, n, tol);
  CurvePoint prev = ctl[0];
  for (int i = 1; i <= segments; ++i) {
    const CurvePoint next = i == segments ? ctl[n - 1] : at(ctl, double(i) / segments);
    LICE_FLine(dest, float(prev.x), float(prev.y), float(next.x), float(next.y), color, alpha, mode,
               aa);
    prev = next;
  }
}

// Fills between each flattened segment and the base, one half-open band of
// whole rows (alongX false) or columns per segment so that bands never meet.
void fillToBase(LICE_IBitmap* dest, const CurvePoint* ctl, int base, bool alongX,
                LICE_Pixel32 color, float alpha, int mode, double tol) {
  const int segments = segmentCount(ctl, 4, tol);
  CurvePoint prev = ctl[0];
  for (int i = 1; i <= segments; ++i) {
    const CurvePoint next = i == segments ? ctl[3] : cubicAt(ctl, double(i) / segments);
    const double a0 = alongX ? prev.x : prev.y, a1 = alongX ? next.x : next.y;
    const double b0 = alongX ? prev.y : prev.x, b1 = alongX ? next.y : next.x;
    const double lo = std::min(a0, a1), hi = std::max(a0, a1);
    for (double p = std::ceil(lo); p < hi && p < 1e6; ++p) {
      if (p < -1e6) p = -1e6;
      const int edge = int(b0 + (b1 - b0) * (p - a0) / (a1 - a0));
      if (alongX)
        LICE_FillTrapezoid(dest, int(p), int(p), edge, int(p), int(p), base, color, alpha, mode);
      else
        LICE_FillTrapezoid(dest, edge, base, int(p), edge, base, int(p), color, alpha, mode);
    }
    prev = next;
  }
}

} // namespace

void LICE_DrawQBezier(LICE_IBitmap* dest, double xstart, double ystart, double xctl, double yctl,
                      double xend, double yend, LICE_Pixel32 color, float alpha, int mode, bool aa,
                      double tol) {
  const CurvePoint ctl[3] = {{xstart, ystart}, {xctl, yctl}, {xend, yend}};
  drawFlattened(dest, ctl, 3, quadAt, color, alpha, mode, aa, tol);
}

void LICE_DrawCBezier(LICE_IBitmap* dest, double xstart, double ystart, double xctl1, double yctl1,
                      double xctl2, double yctl2, double xend, double yend, LICE_Pixel32 color,
                      float alpha, int mode, bool aa, double tol) {
  const CurvePoint ctl[4] = {{xstart, ystart}, {xctl1, yctl1}, {xctl2, yctl2}, {xend, yend}};
  drawFlattened(dest, ctl, 4, cubicAt, color, alpha, mode, aa, tol);
}

void LICE_FillCBezier(LICE_IBitmap* dest, double xstart, double ystart, double xctl1, double yctl1,
                      double xctl2, double yctl2, double xend, double yend, int yfill,
                      LICE_Pixel32 color, float alpha, int mode, double tol) {
  const CurvePoint ctl[4] = {{xstart, ystart}, {xctl1, yctl1}, {xctl2, yctl2}, {xend, yend}};
  fillToBase(dest, ctl, yfill, true, color, alpha, mode, tol);
}

void LICE_FillCBezierX(LICE_IBitmap* dest, double xstart, double ystart, double xctl1, double yctl1,
                       double xctl2, double yctl2, double xend, double yend, int xfill,
                       LICE_Pixel32 color, float alpha, int mode, double tol) {
  const CurvePoint ctl[4] = {{xstart, ystart}, {xctl1, yctl1}, {xctl2, yctl2}, {xend, yend}};
  fillToBase(dest, ctl, xfill, false, color, alpha, mode, tol);
}
