// Single pixels: reading, writing, combining, seed fills and comparison.
#include <cstring>
#include <vector>

#include "detail/lice_combine.h"
#include "detail/lice_view.h"

using lice_detail::BitmapView;

static LICE_Pixel32* pixelAt(LICE_IBitmap* bm, int x, int y) {
  BitmapView v;
  if (!lice_detail::getView(bm, &v) || x < 0 || y < 0 || x >= v.w || y >= v.h) return nullptr;
  return v.row(y) + x;
}

LICE_Pixel32 LICE_GetPixel(LICE_IBitmap* bm, int x, int y) {
  const LICE_Pixel32* p = pixelAt(bm, x, y);
  return p ? *p : 0;
}

void LICE_PutPixel(LICE_IBitmap* bm, int x, int y, LICE_Pixel32 color, float alpha, int mode) {
  LICE_Pixel32* p = pixelAt(bm, x, y);
  const int ia = lice_detail::alphaWeight(alpha);
  if (!p || ia <= 0) return;
  LICE_pixel_chan* d = (LICE_pixel_chan*)p;
  const int r = LICE_GETR(color), g = LICE_GETG(color), b = LICE_GETB(color), a = LICE_GETA(color);
  switch (mode & LICE_MODE_MASK) {
  case LICE_MODE_COPY:
    switch (ia) {
    case 64:
      return _LICE_CombinePixelsQuarterMix2FAST::doPixWord(p, color);
    case 128:
      return _LICE_CombinePixelsHalfMixFAST::doPixWord(p, color);
    case 192:
      return _LICE_CombinePixelsThreeQuarterMix2FAST::doPixWord(p, color);
    case 256:
      return _LICE_CombinePixelsClobberFAST::doPixWord(p, color);
    default:
      return _LICE_CombinePixelsCopyNoClamp::doPix(d, r, g, b, a, ia);
    }
  case LICE_MODE_ADD:
    return _LICE_CombinePixelsAdd::doPix(d, r, g, b, a, ia);
  case LICE_MODE_DODGE:
    return _LICE_CombinePixelsColorDodge::doPix(d, r, g, b, a, ia);
  case LICE_MODE_MUL:
    return _LICE_CombinePixelsMulNoClamp::doPix(d, r, g, b, a, ia);
  case LICE_MODE_OVERLAY:
    return _LICE_CombinePixelsOverlay::doPix(d, r, g, b, a, ia);
  case LICE_MODE_HSVADJ:
    return _LICE_CombinePixelsHSVAdjust::doPix(d, r, g, b, a, ia);
  default:
    return;
  }
}

namespace {

struct CombineOne {
  LICE_pixel_chan* dest;
  int r, g, b, a, ia;
  template <class COMB> void run() { COMB::doPix(dest, r, g, b, a, ia); }
};

int limitWeight(int ia) {
  return ia < 0 ? 0 : ia > 256 ? 256 : ia;
}

} // namespace

LICE_Pixel32 LICE_CombinePixels(LICE_Pixel32 dest, LICE_Pixel32 src, float alpha, int mode) {
  CombineOne job{(LICE_pixel_chan*)&dest, LICE_GETR(src), LICE_GETG(src),
                 LICE_GETB(src),          LICE_GETA(src), lice_detail::alphaWeight(alpha)};
  lice_detail::dispatchBlitOperator(mode, job.ia, job);
  return dest;
}

void LICE_CombinePixels2(LICE_Pixel32* destptr, int r, int g, int b, int a, int ia, int mode) {
  if (!destptr) return;
  CombineOne job{(LICE_pixel_chan*)destptr, r, g, b, a, limitWeight(ia)};
  lice_detail::dispatchBlitOperator(mode, job.ia, job);
}

void LICE_CombinePixels2Clamp(LICE_Pixel32* destptr, int r, int g, int b, int a, int ia, int mode) {
  // With every input in byte range and the weight at most 256, each operator's
  // result is in byte range too.
  using lice_detail::clamp255;
  LICE_CombinePixels2(destptr, clamp255(r), clamp255(g), clamp255(b), clamp255(a), ia, mode);
}

void LICE_SimpleFill(LICE_IBitmap* bm, int x, int y, LICE_Pixel32 newcolor,
                     LICE_Pixel32 comparemask, LICE_Pixel32 keepmask) {
  BitmapView v;
  if (!lice_detail::getView(bm, &v) || x < 0 || y < 0 || x >= v.w || y >= v.h) return;
  const LICE_Pixel32 seed = v.row(y)[x] & comparemask;
  auto matches = [&](LICE_Pixel32 p) { return (p & comparemask) == seed; };
  // Finds the whole matching span through column x before writing, so a new
  // colour that still matches cannot make the scan run on.
  auto fillRow = [&](int row) {
    LICE_Pixel32* p = v.row(row);
    if (!matches(p[x])) return false;
    int left = x, right = x;
    while (left > 0 && matches(p[left - 1])) --left;
    while (right < v.w - 1 && matches(p[right + 1])) ++right;
    for (int i = left; i <= right; ++i) p[i] = newcolor | (p[i] & keepmask);
    return true;
  };
  for (int row = y; row < v.h && fillRow(row); ++row) {
  }
  for (int row = y - 1; row >= 0 && fillRow(row); --row) {
  }
}

namespace {

int compareWithRect(const BitmapView& a, const BitmapView& b, int* coordsOut) {
  int minX = a.w, minY = a.h, maxX = -1, maxY = -1;
  for (int y = 0; y < a.h; ++y) {
    const LICE_Pixel32* pa = a.row(y);
    const LICE_Pixel32* pb = b.row(y);
    if (!memcmp(pa, pb, (size_t)a.w * sizeof(LICE_Pixel32))) continue;
    for (int x = 0; x < a.w; ++x) {
      if (pa[x] == pb[x]) continue;
      if (x < minX) minX = x;
      if (x > maxX) maxX = x;
    }
    if (y < minY) minY = y;
    maxY = y;
  }
  if (maxX < 0) {
    coordsOut[0] = coordsOut[1] = coordsOut[2] = coordsOut[3] = 0;
    return 0;
  }
  coordsOut[0] = minX;
  coordsOut[1] = minY;
  coordsOut[2] = maxX - minX + 1;
  coordsOut[3] = maxY - minY + 1;
  return 1;
}

} // namespace

int LICE_BitmapCmp(LICE_IBitmap* a, LICE_IBitmap* b, int* coordsOut) {
  if (!a) return b ? -1 : 0;
  if (!b) return 1;
  if (a->getWidth() != b->getWidth()) return b->getWidth() - a->getWidth();
  if (a->getHeight() != b->getHeight()) return b->getHeight() - a->getHeight();
  BitmapView va, vb;
  const bool hasA = lice_detail::getView(a, &va), hasB = lice_detail::getView(b, &vb);
  if (!hasA || !hasB) {
    if (coordsOut) coordsOut[0] = coordsOut[1] = coordsOut[2] = coordsOut[3] = 0;
    return hasA == hasB ? 0 : (hasA ? 1 : -1);
  }
  if (coordsOut) return compareWithRect(va, vb, coordsOut);
  for (int y = 0; y < va.h; ++y) {
    const int c = memcmp(va.row(y), vb.row(y), (size_t)va.w * sizeof(LICE_Pixel32));
    if (c) return c;
  }
  return 0;
}
