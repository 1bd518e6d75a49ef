// Unscaled blits. Rows and columns are walked in whichever direction reads
// every source pixel before it is overwritten, so a blit from a bitmap onto
// itself gives the same result as one from a copy of it.
#include <cstring>
#include <type_traits>

#include "detail/lice_blend_rows.h"
#include "detail/lice_combine.h"
#include "detail/lice_view.h"

using lice_detail::BitmapView;

namespace {

// A clipped blit: w x h pixels from (sx, sy) of src to (dx, dy) of dest.
struct BlitArea {
  BitmapView dest, src;
  int dx = 0, dy = 0, sx = 0, sy = 0, w = 0, h = 0;
  bool backwardRows = false, backwardColumns = false;

  LICE_Pixel32* destRow(int i) const { return dest.row(dy + i) + dx; }
  const LICE_Pixel32* srcRow(int i) const { return src.row(sy + i) + sx; }
};

// Rows are walked bottom-up when the destination lies below the source in
// shared memory; within a row right-to-left when it lies to the right.
void chooseDirections(BlitArea* area) {
  if (!lice_detail::viewsOverlap(area->dest, area->src)) return;
  const LICE_Pixel32* d0 = area->destRow(0);
  const LICE_Pixel32* s0 = area->srcRow(0);
  const bool sameRowStep = area->dest.step == area->src.step;
  if (!sameRowStep) {
    // Different row layouts over one memory block cannot be ordered safely;
    // the caller falls back to a scratch copy.
    area->backwardRows = area->backwardColumns = true;
    return;
  }
  const ptrdiff_t offset = d0 - s0; // in pixels
  area->backwardRows = (area->dest.step > 0) ? (offset > 0) : (offset < 0);
  area->backwardColumns = offset > 0;
}

template <class Fn> void forEachRow(const BlitArea& a, Fn&& fn) {
  if (a.backwardRows)
    for (int i = a.h - 1; i >= 0; --i) fn(a.destRow(i), a.srcRow(i));
  else
    for (int i = 0; i < a.h; ++i) fn(a.destRow(i), a.srcRow(i));
}

template <class Fn> void forEachPixel(const BlitArea& a, Fn&& fn) {
  const int w = a.w;
  if (a.backwardColumns)
    forEachRow(a, [&](LICE_Pixel32* d, const LICE_Pixel32* s) {
      for (int x = w - 1; x >= 0; --x) fn(d + x, s[x]);
    });
  else
    forEachRow(a, [&](LICE_Pixel32* d, const LICE_Pixel32* s) {
      for (int x = 0; x < w; ++x) fn(d + x, s[x]);
    });
}

struct OperatorBlit {
  const BlitArea& area;
  int ia;
  template <class COMB> void run() {
    // The source-alpha copies have whole-row kernels; they walk forward, so
    // they serve every case but a destination right of its source in the
    // same memory.
    const int w = area.w, weight = ia;
    if constexpr (std::is_same_v<COMB, _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp>) {
      if (!area.backwardColumns) {
        forEachRow(area, [w](LICE_Pixel32* d, const LICE_Pixel32* s) {
          lice_detail::blendRowSourceAlphaFull(d, s, w);
        });
        return;
      }
    }
    if constexpr (std::is_same_v<COMB, _LICE_CombinePixelsCopySourceAlphaNoClamp>) {
      if (!area.backwardColumns) {
        forEachRow(area, [w, weight](LICE_Pixel32* d, const LICE_Pixel32* s) {
          lice_detail::blendRowSourceAlphaWeighted(d, s, w, weight);
        });
        return;
      }
    }
    forEachPixel(area, [weight](LICE_Pixel32* d, LICE_Pixel32 s) {
      COMB::doPix((LICE_pixel_chan*)d, LICE_GETR(s), LICE_GETG(s), LICE_GETB(s), LICE_GETA(s),
                  weight);
    });
  }
};

void channelCopy(const BlitArea& area, int mode) {
  const int from = mode & 3, to = (mode >> 2) & 3;
  forEachPixel(area, [from, to](LICE_Pixel32* d, LICE_Pixel32 s) {
    ((LICE_pixel_chan*)d)[to] = ((const LICE_pixel_chan*)&s)[from];
  });
}

bool wholeRowsOfOneLayout(const BlitArea& a) {
  return a.dest.step == a.src.step && a.dest.step > 0 && a.dx == 0 && a.sx == 0 &&
         a.w == a.dest.w && a.w == a.src.w;
}

void drawArea(BlitArea& area, float alpha, int mode) {
  if ((mode & LICE_MODE_MASK) >= LICE_MODE_CHANCOPY) return channelCopy(area, mode);
  if ((mode & (LICE_MODE_MASK | LICE_MODE_USE_ALPHA)) == 0) {
    if (alpha == 1.0f) {
      if (wholeRowsOfOneLayout(area)) {
        // One block from the first row's start to the last row's end: the
        // gaps between rows are padding beyond both bitmaps' widths.
        const size_t pixels = (size_t)area.dest.step * (area.h - 1) + area.w;
        memmove(area.destRow(0), area.srcRow(0), pixels * sizeof(LICE_Pixel32));
        return;
      }
      const size_t bytes = (size_t)area.w * sizeof(LICE_Pixel32);
      forEachRow(area, [bytes](LICE_Pixel32* d, const LICE_Pixel32* s) { memmove(d, s, bytes); });
      return;
    }
    if (alpha == 0.5f) {
      forEachPixel(area, [](LICE_Pixel32* d, LICE_Pixel32 s) {
        _LICE_CombinePixelsHalfMixFAST::doPixWord(d, s);
      });
      return;
    }
  }
  OperatorBlit job{area, lice_detail::alphaWeight(alpha)};
  lice_detail::dispatchBlitOperator(mode, job.ia, job);
}

// Clips the source rectangle to the source and the destination; false when
// nothing is left. Arithmetic is 64-bit so extreme rectangles cannot wrap.
bool clipArea(BlitArea* a, int64_t dstx, int64_t dsty, int64_t l, int64_t t, int64_t r, int64_t b) {
  if (l < 0) dstx -= l, l = 0;
  if (t < 0) dsty -= t, t = 0;
  if (r > a->src.w) r = a->src.w;
  if (b > a->src.h) b = a->src.h;
  if (dstx < 0) l -= dstx, dstx = 0;
  if (dsty < 0) t -= dsty, dsty = 0;
  int64_t w = r - l, h = b - t;
  if (w > a->dest.w - dstx) w = a->dest.w - dstx;
  if (h > a->dest.h - dsty) h = a->dest.h - dsty;
  if (w <= 0 || h <= 0) return false;
  a->dx = (int)dstx, a->dy = (int)dsty, a->sx = (int)l, a->sy = (int)t;
  a->w = (int)w, a->h = (int)h;
  return true;
}

} // namespace

void lice_detail::blitRect(LICE_IBitmap* dest, LICE_IBitmap* src, int64_t dstx, int64_t dsty,
                           int64_t l, int64_t t, int64_t r, int64_t b, float alpha, int mode) {
  if (alpha == 0.0f || !(alpha == alpha)) return;
  BlitArea area;
  if (!lice_detail::getView(dest, &area.dest) || !lice_detail::getView(src, &area.src)) return;
  if (!clipArea(&area, dstx, dsty, l, t, r, b)) return;
  chooseDirections(&area);
  lice_detail::ScratchCopy scratch;
  if (area.dest.step != area.src.step && lice_detail::viewsOverlap(area.dest, area.src)) {
    if (!scratch.take(area.src, area.sx, area.sy, area.w, area.h, &area.src)) return;
    area.sx = area.sy = 0;
    area.backwardRows = area.backwardColumns = false;
  }
  drawArea(area, alpha, mode);
}

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const RECT* srcrect,
               float alpha, int mode) {
  if (!dest || !src) return;
  if (!srcrect) {
    lice_detail::blitRect(dest, src, dstx, dsty, 0, 0, src->getWidth(), src->getHeight(), alpha,
                          mode);
    return;
  }
  lice_detail::blitRect(dest, src, dstx, dsty, srcrect->left, srcrect->top, srcrect->right,
                        srcrect->bottom, alpha, mode);
}

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy,
               int srcw, int srch, float alpha, int mode) {
  if (!dest || !src) return;
  lice_detail::blitRect(dest, src, dstx, dsty, srcx, srcy, (int64_t)srcx + srcw,
                        (int64_t)srcy + srch, alpha, mode);
}

void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src) {
  if (!dest || !src || dest == src) return;
  dest->resize(src->getWidth(), src->getHeight());
  LICE_Blit(dest, src, 0, 0, nullptr, 1.0f, 0);
}
