#pragma once
// Internal helpers of lice/: validated row addressing, overflow-safe number
// conversions and scratch copies. Not for use outside lice/.
#include <cstddef>
#include <cstdint>

#include "lice/lice.h"

namespace lice_detail {

// A bitmap's pixels as logical rows: row(0) is the top row whatever the
// storage order, step is the signed distance between rows in pixels.
struct BitmapView {
  LICE_Pixel32* row0 = nullptr;
  ptrdiff_t step = 0;
  int w = 0;
  int h = 0;
  LICE_Pixel32* row(int y) const { return row0 + step * y; }
};

// False (and an empty view) for null bitmaps, bitmaps without pixels and
// bitmaps whose row span is shorter than a row, which no routine can address
// safely. With honourFlip false, rows are taken top-down as stored.
bool getView(LICE_IBitmap* bm, BitmapView* out, bool honourFlip = true);

// True when the two views' pixel memory overlaps.
bool viewsOverlap(const BitmapView& a, const BitmapView& b);

// (int)(alpha * 256) without undefined behaviour for huge or NaN alphas; the
// result is limited to 0..256 so the unclamped operators stay in byte range.
int alphaWeight(float alpha);

// v * 65536 rounded toward zero, limited to +-2^46 (NaN gives 0), so sums of
// a few steps over any bitmap size stay within 64 bits.
int64_t toFixed(double v);

// (int)v limited to the int range (NaN gives 0).
int toIntClamped(double v);

// Clips x, y, w, h to the view (negative x or y shortens the rectangle);
// false when nothing is left.
bool clipToView(const BitmapView& v, int64_t x, int64_t y, int64_t w, int64_t h, int* cx, int* cy,
                int* cw, int* ch);

inline int64_t clampI64(int64_t v, int64_t lo, int64_t hi) {
  return v < lo ? lo : v > hi ? hi : v;
}

// The unscaled blit of a source rectangle l, t, r, b (exclusive) to dstx,
// dsty, with 64-bit coordinates so callers need not range-check them.
void blitRect(LICE_IBitmap* dest, LICE_IBitmap* src, int64_t dstx, int64_t dsty, int64_t l,
              int64_t t, int64_t r, int64_t b, float alpha, int mode);

// Resampling steps are limited to +-2^30 (16384 pixels per step): with
// positions within +-2^46 and sizes below 2^31, no walk can leave 64 bits.
const int64_t kMaxFixedStep = (int64_t)1 << 30;

// A heap copy of a rectangle of a view, used when source and destination
// share memory so that reads see the pixels as they were before the call.
class ScratchCopy {
public:
  ScratchCopy() = default;
  ~ScratchCopy();
  ScratchCopy(const ScratchCopy&) = delete;
  ScratchCopy& operator=(const ScratchCopy&) = delete;
  // Copies x, y, w, h (already inside src) and returns a view whose row(0),
  // column 0 is pixel x, y. False when memory cannot be had.
  bool take(const BitmapView& src, int x, int y, int w, int h, BitmapView* out);

private:
  LICE_Pixel32* mPixels = nullptr;
};

} // namespace lice_detail
