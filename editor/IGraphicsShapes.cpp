// Points, lines and filled shapes: thin wrappers over the raster library,
// which clips every primitive to the draw bitmap. Only bitmaps clip to the
// draw region.
#include <cmath>

#include "editor/IGraphics.h"
#include "lice/lice.h"
#include "lice/lice_lines.h"

namespace {

float Clamp01(float v) {
  return v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v;
}

// Float coordinates far outside int would make the truncation undefined.
int Truncate(float v) {
  if (!(v > -2147483520.0f)) return v != v ? 0 : INT32_MIN;
  if (v > 2147483520.0f) return INT32_MAX;
  return static_cast<int>(v);
}

// Shape corners from callers' rectangles, held in int.
int Offset(int v, long long d) {
  const long long r = v + d;
  return r < INT32_MIN ? INT32_MIN : r > INT32_MAX ? INT32_MAX : static_cast<int>(r);
}

} // namespace

bool IGraphics::DrawPoint(const IColor* color, float x, float y, const IChannelBlend* blend, bool) {
  if (!color) return false;
  LICE_PutPixel(mDrawBitmap, Truncate(x + 0.5f), Truncate(y + 0.5f), LiceColor(color),
                LiceBlendWeight(blend), LiceBlendMode(blend));
  return true;
}

bool IGraphics::ForcePixel(const IColor* color, int x, int y) {
  if (!color || !mDrawBitmap || !mDrawBitmap->getBits()) return false;
  if (x < 0 || y < 0 || x >= mDrawBitmap->getWidth() || y >= mDrawBitmap->getHeight()) return false;
  mDrawBitmap->getBits()[static_cast<long long>(y) * mDrawBitmap->getRowSpan() + x] =
      LiceColor(color);
  return true;
}

bool IGraphics::DrawLine(const IColor* color, float x1, float y1, float x2, float y2,
                         const IChannelBlend* blend, bool antiAlias) {
  if (!color) return false;
  LICE_Line(mDrawBitmap, Truncate(x1), Truncate(y1), Truncate(x2), Truncate(y2), LiceColor(color),
            LiceBlendWeight(blend), LiceBlendMode(blend), antiAlias);
  return true;
}

bool IGraphics::DrawArc(const IColor* color, float cx, float cy, float r, float minAngle,
                        float maxAngle, const IChannelBlend* blend, bool antiAlias) {
  if (!color) return false;
  LICE_Arc(mDrawBitmap, cx, cy, r, minAngle, maxAngle, LiceColor(color), LiceBlendWeight(blend),
           LiceBlendMode(blend), antiAlias);
  return true;
}

bool IGraphics::DrawCircle(const IColor* color, float cx, float cy, float r,
                           const IChannelBlend* blend, bool antiAlias) {
  if (!color) return false;
  LICE_Circle(mDrawBitmap, cx, cy, r, LiceColor(color), LiceBlendWeight(blend),
              LiceBlendMode(blend), antiAlias);
  return true;
}

bool IGraphics::RoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend,
                          int cornerRadius, bool antiAlias) {
  if (!color || !rect) return false;
  LICE_RoundRect(mDrawBitmap, static_cast<float>(rect->L), static_cast<float>(rect->T),
                 static_cast<float>(rect->W()), static_cast<float>(rect->H()), cornerRadius,
                 LiceColor(color), LiceBlendWeight(blend), LiceBlendMode(blend), antiAlias);
  return true;
}

bool IGraphics::FillRoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend,
                              int cornerRadius, bool antiAlias) {
  if (!color || !rect) return false;
  const LICE_Pixel32 c = LiceColor(color);
  const float a = LiceBlendWeight(blend);
  const int mode = LiceBlendMode(blend);
  // Radii beyond any bitmap only risk overflow.
  const int r = cornerRadius < 0 ? 0 : cornerRadius > 65535 ? 65535 : cornerRadius;
  const int w = rect->W(), h = rect->H();
  const int L = rect->L, T = rect->T, R = rect->R, B = rect->B;
  LICE_FillRect(mDrawBitmap, Offset(L, r), T, Offset(w, -2LL * r), h, c, a, mode);
  LICE_FillRect(mDrawBitmap, L, Offset(T, r), r, Offset(h, -2LL * r), c, a, mode);
  LICE_FillRect(mDrawBitmap, Offset(R, -r), Offset(T, r), r, Offset(h, -2LL * r), c, a, mode);
  const float fr = static_cast<float>(r);
  const float left = static_cast<float>(Offset(L, r)),
              right = static_cast<float>(Offset(R, -r - 1LL));
  const float top = static_cast<float>(Offset(T, r)),
              bottom = static_cast<float>(Offset(B, -r - 1LL));
  LICE_FillCircle(mDrawBitmap, left, top, fr, c, a, mode, antiAlias);
  LICE_FillCircle(mDrawBitmap, right, bottom, fr, c, a, mode, antiAlias);
  LICE_FillCircle(mDrawBitmap, right, top, fr, c, a, mode, antiAlias);
  LICE_FillCircle(mDrawBitmap, left, bottom, fr, c, a, mode, antiAlias);
  return true;
}

bool IGraphics::FillIRect(const IColor* color, IRECT* rect, const IChannelBlend* blend) {
  if (!color || !rect) return false;
  LICE_FillRect(mDrawBitmap, rect->L, rect->T, rect->W(), rect->H(), LiceColor(color),
                LiceBlendWeight(blend), LiceBlendMode(blend));
  return true;
}

bool IGraphics::FillCircle(const IColor* color, int cx, int cy, float r, const IChannelBlend* blend,
                           bool antiAlias) {
  if (!color) return false;
  LICE_FillCircle(mDrawBitmap, static_cast<float>(cx), static_cast<float>(cy), r, LiceColor(color),
                  LiceBlendWeight(blend), LiceBlendMode(blend), antiAlias);
  return true;
}

bool IGraphics::FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                             IChannelBlend* blend) {
  if (!color) return false;
  LICE_FillTriangle(mDrawBitmap, x1, y1, x2, y2, x3, y3, LiceColor(color), LiceBlendWeight(blend),
                    LiceBlendMode(blend));
  return true;
}

bool IGraphics::FillIConvexPolygon(const IColor* color, int* x, int* y, int npoints,
                                   const IChannelBlend* blend) {
  if (!color || !x || !y || npoints <= 0) return false;
  LICE_FillConvexPolygon(mDrawBitmap, x, y, npoints, LiceColor(color), LiceBlendWeight(blend),
                         LiceBlendMode(blend));
  return true;
}

IColor IGraphics::GetPoint(int x, int y) {
  if (!mDrawBitmap || x < 0 || y < 0 || x >= mDrawBitmap->getWidth() ||
      y >= mDrawBitmap->getHeight())
    return COLOR_TRANSPARENT;
  return IColorFromPixel(LICE_GetPixel(mDrawBitmap, x, y));
}

bool IGraphics::DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi) {
  if (!color) return false;
  LICE_Line(mDrawBitmap, xi, yLo, xi, yHi, LiceColor(color), 1.0f, LICE_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi) {
  if (!color) return false;
  LICE_Line(mDrawBitmap, xLo, yi, xHi, yi, LiceColor(color), 1.0f, LICE_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawVerticalLine(const IColor* color, IRECT* rect, float x) {
  if (!rect) return false;
  const int xi = rect->L + static_cast<int>(rect->W() * Clamp01(x));
  return DrawVerticalLine(color, xi, rect->T, rect->B);
}

bool IGraphics::DrawHorizontalLine(const IColor* color, IRECT* rect, float y) {
  if (!rect) return false;
  const int yi = rect->B - static_cast<int>(rect->H() * Clamp01(y));
  return DrawHorizontalLine(color, yi, rect->L, rect->R);
}

bool IGraphics::DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin,
                               float rMax, const IChannelBlend* blend, bool antiAlias) {
  const float s = std::sin(angle), c = std::cos(angle);
  return DrawLine(color, cx + s * rMin, cy - c * rMin, cx + s * rMax, cy - c * rMax, blend,
                  antiAlias);
}

bool IGraphics::DrawRect(const IColor* color, IRECT* rect) {
  if (!color || !rect) return false;
  const LICE_Pixel32 c = LiceColor(color);
  LICE_Line(mDrawBitmap, rect->L, rect->T, rect->R, rect->T, c, 1.0f, LICE_MODE_COPY, false);
  LICE_Line(mDrawBitmap, rect->L, rect->B, rect->R, rect->B, c, 1.0f, LICE_MODE_COPY, false);
  LICE_Line(mDrawBitmap, rect->L, rect->T, rect->L, rect->B, c, 1.0f, LICE_MODE_COPY, false);
  LICE_Line(mDrawBitmap, rect->R, rect->T, rect->R, rect->B, c, 1.0f, LICE_MODE_COPY, false);
  return true;
}
