// Fixed filters: 2 x 2 halving and the 5-tap blur. Both work on whole words,
// shifting and masking each byte lane so no lane borrows from its neighbour.
#include "detail/lice_view.h"

using namespace lice_detail;

namespace {

inline LICE_Pixel32 half(LICE_Pixel32 p) {
  return (p >> 1) & 0x7F7F7F7Fu;
}
inline LICE_Pixel32 quarter(LICE_Pixel32 p) {
  return (p >> 2) & 0x3F3F3F3Fu;
}
inline LICE_Pixel32 eighth(LICE_Pixel32 p) {
  return (p >> 3) & 0x1F1F1F1Fu;
}

// One blurred row: centre a half, neighbours an eighth each. An edge pixel's
// single neighbour along that axis weighs a quarter instead (up and down are
// null on the first and last row).
void blurRow(LICE_Pixel32* out, const LICE_Pixel32* up, const LICE_Pixel32* cur,
             const LICE_Pixel32* down, int w) {
  auto vertical = [&](int x) {
    if (up && down) return eighth(up[x]) + eighth(down[x]);
    return quarter(up ? up[x] : down[x]);
  };
  out[0] = half(cur[0]) + quarter(cur[1]) + vertical(0);
  for (int x = 1; x < w - 1; ++x)
    out[x] = half(cur[x]) + eighth(cur[x - 1]) + eighth(cur[x + 1]) + vertical(x);
  out[w - 1] = half(cur[w - 1]) + quarter(cur[w - 2]) + vertical(w - 1);
}

} // namespace

void LICE_HalveBlitAA(LICE_IBitmap* dest, LICE_IBitmap* src) {
  BitmapView d, s;
  // Rows are taken as stored: halving does not look at the storage order.
  if (!getView(dest, &d, false) || !getView(src, &s, false)) return;
  const int w = d.w < s.w / 2 ? d.w : s.w / 2;
  const int h = d.h < s.h / 2 ? d.h : s.h / 2;
  if (w <= 0 || h <= 0) return;
  ScratchCopy scratch;
  if (viewsOverlap(d, s) && !scratch.take(s, 0, 0, w * 2, h * 2, &s)) return;
  for (int y = 0; y < h; ++y) {
    const LICE_Pixel32* a = s.row(2 * y);
    const LICE_Pixel32* b = s.row(2 * y + 1);
    LICE_Pixel32* out = d.row(y);
    for (int x = 0; x < w; ++x)
      out[x] =
          quarter(a[2 * x]) + quarter(a[2 * x + 1]) + quarter(b[2 * x]) + quarter(b[2 * x + 1]);
  }
}

void LICE_Blur(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy,
               int srcw, int srch) {
  BitmapView d, s;
  if (!getView(dest, &d) || !getView(src, &s)) return;
  int64_t sx = srcx, sy = srcy, sw = srcw, sh = srch, dx = dstx, dy = dsty;
  if (sx < 0) dx -= sx, sw += sx, sx = 0;
  if (sy < 0) dy -= sy, sh += sy, sy = 0;
  if (dx < 0) sx -= dx, sw += dx, dx = 0;
  if (dy < 0) sy -= dy, sh += dy, dy = 0;
  if (sw > s.w - sx) sw = s.w - sx;
  if (sh > s.h - sy) sh = s.h - sy;
  if (sw > d.w - dx) sw = d.w - dx;
  if (sh > d.h - dy) sh = d.h - dy;
  if (sw < 2 || sh < 2) return;
  const int w = (int)sw, h = (int)sh;
  // Blurring within one bitmap reads a copy, so every result comes from
  // unblurred pixels whatever the overlap.
  ScratchCopy scratch;
  if (viewsOverlap(d, s)) {
    if (!scratch.take(s, (int)sx, (int)sy, w, h, &s)) return;
    sx = sy = 0;
  }
  for (int y = 0; y < h; ++y) {
    const LICE_Pixel32* cur = s.row((int)sy + y) + sx;
    const LICE_Pixel32* up = y > 0 ? s.row((int)sy + y - 1) + sx : nullptr;
    const LICE_Pixel32* down = y < h - 1 ? s.row((int)sy + y + 1) + sx : nullptr;
    blurRow(d.row((int)dy + y) + dx, up, cur, down, w);
  }
}
