#include "detail/lice_view.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace lice_detail {

bool getView(LICE_IBitmap* bm, BitmapView* out, bool honourFlip) {
  *out = BitmapView();
  if (!bm) return false;
  LICE_Pixel32* bits = bm->getBits();
  const int w = bm->getWidth(), h = bm->getHeight(), span = bm->getRowSpan();
  if (!bits || w <= 0 || h <= 0 || span < w) return false;
  out->w = w;
  out->h = h;
  if (honourFlip && bm->isFlipped()) {
    out->row0 = bits + (ptrdiff_t)span * (h - 1);
    out->step = -(ptrdiff_t)span;
  } else {
    out->row0 = bits;
    out->step = span;
  }
  return true;
}

static void memoryRange(const BitmapView& v, uintptr_t* lo, uintptr_t* hi) {
  const LICE_Pixel32* first = v.row(0);
  const LICE_Pixel32* last = v.row(v.h - 1);
  if (last < first) std::swap(first, last);
  *lo = (uintptr_t)first;
  *hi = (uintptr_t)(last + v.w);
}

bool viewsOverlap(const BitmapView& a, const BitmapView& b) {
  if (!a.row0 || !b.row0) return false;
  uintptr_t alo, ahi, blo, bhi;
  memoryRange(a, &alo, &ahi);
  memoryRange(b, &blo, &bhi);
  return alo < bhi && blo < ahi;
}

int alphaWeight(float alpha) {
  if (!(alpha > 0.0f)) return 0; // also NaN
  if (alpha >= 1.0f) return 256;
  return (int)(alpha * 256.0f);
}

int64_t toFixed(double v) {
  const double limit = 70368744177664.0; // 2^46
  const double f = v * 65536.0;
  if (!(f == f)) return 0;
  if (f >= limit) return (int64_t)limit;
  if (f <= -limit) return -(int64_t)limit;
  return (int64_t)f;
}

int toIntClamped(double v) {
  if (!(v == v)) return 0;
  if (v >= (double)INT_MAX) return INT_MAX;
  if (v <= (double)INT_MIN) return INT_MIN;
  return (int)v;
}

bool clipToView(const BitmapView& v, int64_t x, int64_t y, int64_t w, int64_t h, int* cx, int* cy,
                int* cw, int* ch) {
  if (x < 0) w += x, x = 0;
  if (y < 0) h += y, y = 0;
  if (w > v.w - x) w = v.w - x;
  if (h > v.h - y) h = v.h - y;
  if (w <= 0 || h <= 0) return false;
  *cx = (int)x, *cy = (int)y, *cw = (int)w, *ch = (int)h;
  return true;
}

ScratchCopy::~ScratchCopy() {
  free(mPixels);
}

bool ScratchCopy::take(const BitmapView& from, int x, int y, int w, int h, BitmapView* out) {
  const BitmapView src = from; // out may be the view being copied
  free(mPixels);
  mPixels = nullptr;
  *out = BitmapView();
  if (w <= 0 || h <= 0) return false;
  mPixels = (LICE_Pixel32*)malloc((size_t)w * (size_t)h * sizeof(LICE_Pixel32));
  if (!mPixels) return false;
  for (int row = 0; row < h; ++row)
    memcpy(mPixels + (size_t)row * w, src.row(y + row) + x, (size_t)w * sizeof(LICE_Pixel32));
  out->row0 = mPixels;
  out->step = w;
  out->w = w;
  out->h = h;
  return true;
}

} // namespace lice_detail
