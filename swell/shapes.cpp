// Fills, outlines, lines and curves with the selected pen and brush, pixels,
// clip regions and the system colours.
#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "detail/gdi_records.h"

using swell_raster::PointF;

namespace {

// A pen or brush of the given type that draws something, else null.
HGDIOBJ Usable(HGDIOBJ object, int type) {
  return swell_pool::IsLiveObject(object, type) && object->mWidth >= 0 ? object : nullptr;
}

double LineWidth(HGDIOBJ pen) {
  return std::max(pen->mWidth, 1);
}

void Stroke(HDC ctx, HGDIOBJ pen, const std::vector<PointF>& points, bool closed) {
  swell_raster::StrokePolyline(ctx->mGC->surface, ctx->mGC->clip, points.data(),
                               static_cast<int>(points.size()), closed, LineWidth(pen),
                               SWELL_PaintFor(pen->mColour));
}

void FillAndStroke(HDC ctx, const std::vector<PointF>& fill, const std::vector<PointF>& outline) {
  if (HGDIOBJ brush = Usable(ctx->mCurBrush, kObjBrush)) {
    swell_raster::FillPath(ctx->mGC->surface, ctx->mGC->clip, {fill},
                           SWELL_PaintFor(brush->mColour));
  }
  if (HGDIOBJ pen = Usable(ctx->mCurPen, kObjPen)) Stroke(ctx, pen, outline, true);
}

std::vector<PointF> EllipsePoints(double l, double t, double r, double b) {
  const double cx = (l + r) / 2, cy = (t + b) / 2, rx = (r - l) / 2, ry = (b - t) / 2;
  const int n = std::clamp(static_cast<int>((std::fabs(rx) + std::fabs(ry)) * 2), 16, 720);
  std::vector<PointF> points(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double a = 2 * M_PI * i / n;
    points[static_cast<size_t>(i)] = {cx + rx * std::cos(a), cy + ry * std::sin(a)};
  }
  return points;
}

// Lines are centred half a width away from the points, so a 1-wide line
// from (x, y) covers the pixels starting at (x, y).
std::vector<PointF> Offset(const POINT* points, int count, double by) {
  std::vector<PointF> out(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    out[static_cast<size_t>(i)] = {points[i].x + by, points[i].y + by};
  return out;
}

// The float pen position as an int; INT_MAX does not survive as a float.
int PenCoordinate(float v) {
  return static_cast<int>(std::clamp<double>(v, INT_MIN, INT_MAX));
}

} // namespace

void SWELL_FillRect(HDC ctx, const RECT* rect, HBRUSH brush) {
  if (!rect || !swell_pool::IsLiveContext(ctx) || !Usable(brush, kObjBrush)) return;
  swell_raster::FillRect(ctx->mGC->surface, ctx->mGC->clip, rect->left, rect->top, rect->right,
                         rect->bottom, SWELL_PaintFor(brush->mColour));
}

void Rectangle(HDC ctx, int l, int t, int r, int b) {
  if (!swell_pool::IsLiveContext(ctx)) return;
  const std::vector<PointF> box = {{double(l), double(t)},
                                   {double(r), double(t)},
                                   {double(r), double(b)},
                                   {double(l), double(b)}};
  double inset = 0.5;
  if (HGDIOBJ pen = Usable(ctx->mCurPen, kObjPen)) inset = LineWidth(pen) / 2;
  // The outline lies inside the rectangle, as the fill does.
  const std::vector<PointF> outline = {{l + inset, t + inset},
                                       {r - inset, t + inset},
                                       {r - inset, b - inset},
                                       {l + inset, b - inset}};
  FillAndStroke(ctx, box, outline);
}

void Ellipse(HDC ctx, int l, int t, int r, int b) {
  if (!swell_pool::IsLiveContext(ctx)) return;
  FillAndStroke(ctx, EllipsePoints(l, t, r, b), EllipsePoints(l + 0.5, t + 0.5, r - 0.5, b - 0.5));
}

void RoundRect(HDC ctx, int l, int t, int r, int b, int cornerWidth, int cornerHeight) {
  // Far-away coordinates cannot show; clamping them keeps the sums in int.
  const int far = 1 << 29;
  l = std::clamp(l, -far, far), t = std::clamp(t, -far, far);
  r = std::clamp(r, -far, far), b = std::clamp(b, -far, far);
  // An octagon: each corner cut by a third of the corner size.
  const int cw = std::clamp(cornerWidth / 3, -far, far),
            ch = std::clamp(cornerHeight / 3, -far, far);
  const POINT points[8] = {{l + cw, t}, {r - cw, t}, {r, t + ch}, {r, b - ch},
                           {r - cw, b}, {l + cw, b}, {l, b - ch}, {l, t + ch}};
  SWELL_Polygon(ctx, points, 8);
}

void SWELL_Polygon(HDC ctx, const POINT* points, int count) {
  if (!points || count < 2 || !swell_pool::IsLiveContext(ctx)) return;
  HGDIOBJ brush = Usable(ctx->mCurBrush, kObjBrush);
  HGDIOBJ pen = Usable(ctx->mCurPen, kObjPen);
  if (!brush && !pen) return;
  if (brush) {
    swell_raster::FillPath(ctx->mGC->surface, ctx->mGC->clip, {Offset(points, count, 0)},
                           SWELL_PaintFor(brush->mColour));
  }
  if (pen) Stroke(ctx, pen, Offset(points, count, LineWidth(pen) / 2), true);
}

void MoveToEx(HDC ctx, int x, int y, POINT* oldPosition) {
  if (!swell_pool::IsLiveContext(ctx)) return;
  if (oldPosition) {
    oldPosition->x = PenCoordinate(ctx->mPenX);
    oldPosition->y = PenCoordinate(ctx->mPenY);
  }
  ctx->mPenX = static_cast<float>(x);
  ctx->mPenY = static_cast<float>(y);
}

void SWELL_LineTo(HDC ctx, int x, int y) {
  if (!swell_pool::IsLiveContext(ctx)) return;
  const double fromX = ctx->mPenX, fromY = ctx->mPenY;
  ctx->mPenX = static_cast<float>(x);
  ctx->mPenY = static_cast<float>(y);
  if (HGDIOBJ pen = Usable(ctx->mCurPen, kObjPen)) {
    const double off = LineWidth(pen) / 2;
    Stroke(ctx, pen, {{fromX + off, fromY + off}, {x + off, y + off}}, false);
  }
}

void PolyBezierTo(HDC ctx, const POINT* points, int count) {
  if (!points || count < 3 || !swell_pool::IsLiveContext(ctx)) return;
  HGDIOBJ pen = Usable(ctx->mCurPen, kObjPen);
  const double off = pen ? LineWidth(pen) / 2 : 0;
  std::vector<PointF> line = {{ctx->mPenX + off, ctx->mPenY + off}};
  const int kSteps = 16;
  for (int i = 0; i + 2 < count; i += 3) {
    const PointF p0 = line.back();
    const PointF p1 = {points[i].x + off, points[i].y + off};
    const PointF p2 = {points[i + 1].x + off, points[i + 1].y + off};
    const PointF p3 = {points[i + 2].x + off, points[i + 2].y + off};
    for (int s = 1; s <= kSteps; ++s) {
      const double u = double(s) / kSteps, v = 1 - u;
      const double a = v * v * v, b = 3 * v * v * u, c = 3 * v * u * u, d = u * u * u;
      line.push_back(
          {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
    ctx->mPenX = static_cast<float>(points[i + 2].x);
    ctx->mPenY = static_cast<float>(points[i + 2].y);
  }
  if (pen) Stroke(ctx, pen, line, false);
}

void PolyPolyline(HDC ctx, const POINT* points, const DWORD* counts, int polylineCount) {
  if (!points || !counts || !swell_pool::IsLiveContext(ctx)) return;
  HGDIOBJ pen = Usable(ctx->mCurPen, kObjPen);
  if (!pen) return;
  for (int i = 0; i < polylineCount; ++i) {
    const int n = static_cast<int>(std::min<DWORD>(counts[i], 1u << 24));
    if (n >= 2) Stroke(ctx, pen, Offset(points, n, LineWidth(pen) / 2), false);
    points += n;
  }
}

void SWELL_SetPixel(HDC ctx, int x, int y, int colour) {
  // No surface reaches INT_MAX, and x + 1 must not overflow.
  if (x == INT_MAX || y == INT_MAX || !swell_pool::IsLiveContext(ctx)) return;
  swell_raster::FillRect(ctx->mGC->surface, ctx->mGC->clip, x, y, x + 1, y + 1,
                         SWELL_PaintFor(SWELL_MakeColour(colour, 1.0f)));
}

void SWELL_PushClipRegion(HDC ctx) {
  if (swell_pool::IsLiveContext(ctx)) ctx->mGC->savedClips.push_back(ctx->mGC->clip);
}

void SWELL_SetClipRegion(HDC ctx, const RECT* rect) {
  if (!rect || !swell_pool::IsLiveContext(ctx)) return;
  ctx->mGC->clip =
      swell_raster::Intersect(ctx->mGC->clip, {rect->left, rect->top, rect->right, rect->bottom});
}

void SWELL_PopClipRegion(HDC ctx) {
  if (!swell_pool::IsLiveContext(ctx) || ctx->mGC->savedClips.empty()) return;
  ctx->mGC->clip = ctx->mGC->savedClips.back();
  ctx->mGC->savedClips.pop_back();
}

int GetSysColor(int index) {
  static const int kColours[10] = {0x606060, 0xE0E0E0, 0xC0C0C0, 0,        0xC0C0C0,
                                   0x202020, 0x303030, 0xC0C0C0, 0xFFF0C8, 0};
  return index >= 0 && index < 10 ? kColours[index] : 0;
}

void SWELL_FillDialogBackground(HDC ctx, const RECT* rect) {
  if (!rect || !swell_pool::IsLiveContext(ctx)) return;
  swell_raster::FillRect(ctx->mGC->surface, ctx->mGC->clip, rect->left, rect->top, rect->right,
                         rect->bottom,
                         SWELL_PaintFor(SWELL_MakeColour(GetSysColor(COLOR_3DFACE), 1.0f)));
}
