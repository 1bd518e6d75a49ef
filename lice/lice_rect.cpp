// Rectangle operations: clears, solid and gradient fills, per-pixel visits.
// Every one clips to the bitmap first and then walks logical rows top-down.
#include "detail/lice_combine.h"
#include "detail/lice_view.h"

using lice_detail::BitmapView;

namespace {

struct ClippedRect {
  BitmapView v;
  int x = 0, y = 0, w = 0, h = 0;
  LICE_Pixel32* row(int i) const { return v.row(y + i) + x; }
};

bool clipRect(LICE_IBitmap* bm, int x, int y, int w, int h, ClippedRect* out) {
  if (!lice_detail::getView(bm, &out->v)) return false;
  return lice_detail::clipToView(out->v, x, y, w, h, &out->x, &out->y, &out->w, &out->h);
}

template <class Fn> void forEachPixel(const ClippedRect& rc, Fn&& fn) {
  for (int i = 0; i < rc.h; ++i) {
    LICE_Pixel32* p = rc.row(i);
    for (int x = 0; x < rc.w; ++x) fn(p + x);
  }
}

template <class WordOp> void wordFill(const ClippedRect& rc, LICE_Pixel32 color) {
  forEachPixel(rc, [color](LICE_Pixel32* p) { WordOp::doPixWord(p, color); });
}

// Solid fills mix the alpha byte toward the weight itself, not the colour's
// alpha byte.
struct SolidFill {
  const ClippedRect& rc;
  int r, g, b, ia;
  template <class COMB> void run() {
    const int cr = r, cg = g, cb = b, w = ia;
    forEachPixel(rc, [=](LICE_Pixel32* p) { COMB::doPix((LICE_pixel_chan*)p, cr, cg, cb, w, w); });
  }
};

template <class COMB> void solidFill(const ClippedRect& rc, LICE_Pixel32 color, int ia) {
  SolidFill job{rc, LICE_GETR(color), LICE_GETG(color), LICE_GETB(color), ia};
  job.run<COMB>();
}

void fillCopyMode(const ClippedRect& rc, LICE_Pixel32 color, int ia) {
  switch (ia) {
  case 64:
    return wordFill<_LICE_CombinePixelsQuarterMix2FAST>(rc, color);
  case 128:
    return wordFill<_LICE_CombinePixelsHalfMixFAST>(rc, color);
  case 192:
    return wordFill<_LICE_CombinePixelsThreeQuarterMix2FAST>(rc, color);
  case 256:
    return wordFill<_LICE_CombinePixelsClobberFAST>(rc, color);
  default:
    return solidFill<_LICE_CombinePixelsCopyNoClamp>(rc, color, ia);
  }
}

} // namespace

void LICE_Clear(LICE_IBitmap* bm, LICE_Pixel32 color) {
  ClippedRect rc;
  if (!clipRect(bm, 0, 0, bm ? bm->getWidth() : 0, bm ? bm->getHeight() : 0, &rc)) return;
  wordFill<_LICE_CombinePixelsClobberFAST>(rc, color);
}

void LICE_ClearRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_Pixel32 mask,
                    LICE_Pixel32 orbits) {
  ClippedRect rc;
  if (!clipRect(bm, x, y, w, h, &rc)) return;
  forEachPixel(rc, [mask, orbits](LICE_Pixel32* p) { *p = (*p & mask) | orbits; });
}

void LICE_FillRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_Pixel32 color, float alpha,
                   int mode) {
  if (mode & LICE_MODE_USE_ALPHA) alpha *= LICE_GETA(color) / 255.0f;
  const int ia = lice_detail::alphaWeight(alpha);
  ClippedRect rc;
  if (ia <= 0 || !clipRect(bm, x, y, w, h, &rc)) return;
  switch (mode & LICE_MODE_MASK) {
  case LICE_MODE_COPY:
    return fillCopyMode(rc, color, ia);
  case LICE_MODE_ADD:
    return solidFill<_LICE_CombinePixelsAdd>(rc, color, ia);
  case LICE_MODE_DODGE:
    return solidFill<_LICE_CombinePixelsColorDodge>(rc, color, ia);
  case LICE_MODE_MUL:
    return solidFill<_LICE_CombinePixelsMulNoClamp>(rc, color, ia);
  case LICE_MODE_OVERLAY:
    return solidFill<_LICE_CombinePixelsOverlay>(rc, color, ia);
  case LICE_MODE_HSVADJ:
    return solidFill<_LICE_CombinePixelsHSVAdjust>(rc, color, ia);
  default:
    return;
  }
}

void LICE_ProcessRect(LICE_IBitmap* bm, int x, int y, int w, int h,
                      void (*procFunc)(LICE_Pixel32* p, void* parm), void* parm) {
  ClippedRect rc;
  if (!procFunc || !clipRect(bm, x, y, w, h, &rc)) return;
  forEachPixel(rc, [procFunc, parm](LICE_Pixel32* p) { procFunc(p, parm); });
}

void LICE_SetAlphaFromColorMask(LICE_IBitmap* bm, LICE_Pixel32 color) {
  ClippedRect rc;
  if (!clipRect(bm, 0, 0, bm ? bm->getWidth() : 0, bm ? bm->getHeight() : 0, &rc)) return;
  forEachPixel(rc, [color](LICE_Pixel32* p) {
    const LICE_Pixel32 colourBytes = *p & 0xFFFFFF00u;
    *p = colourBytes == color ? colourBytes : (*p | 0xFFu);
  });
}

namespace {

// Scale and offset in 1/256 steps, limited so the sum cannot overflow.
int fixed8(float v) {
  const int64_t f = lice_detail::toIntClamped((double)v * 256.0);
  return (int)lice_detail::clampI64(f, -(1 << 22), 1 << 22);
}

} // namespace

void LICE_MultiplyAddRect(LICE_IBitmap* bm, int x, int y, int w, int h, float rsc, float gsc,
                          float bsc, float asc, float radd, float gadd, float badd, float aadd) {
  ClippedRect rc;
  if (!clipRect(bm, x, y, w, h, &rc)) return;
  int scale[4], offset[4];
  scale[LICE_PIXEL_R] = fixed8(rsc), offset[LICE_PIXEL_R] = fixed8(radd);
  scale[LICE_PIXEL_G] = fixed8(gsc), offset[LICE_PIXEL_G] = fixed8(gadd);
  scale[LICE_PIXEL_B] = fixed8(bsc), offset[LICE_PIXEL_B] = fixed8(badd);
  scale[LICE_PIXEL_A] = fixed8(asc), offset[LICE_PIXEL_A] = fixed8(aadd);
  forEachPixel(rc, [&](LICE_Pixel32* p) {
    LICE_pixel_chan* c = (LICE_pixel_chan*)p;
    for (int k = 0; k < 4; ++k)
      c[k] = (LICE_pixel_chan)lice_detail::clamp255((offset[k] + scale[k] * c[k]) >> 8);
  });
}

namespace {

// Gradient channels in 16.16 fixed point, 64-bit so no start or delta can
// wrap; each pixel's value is limited to the byte range before combining.
struct GradChannel {
  int64_t start, dx, dy;
  int at(int64_t i, int64_t j) const {
    const int64_t v = (start + dx * i + dy * j) >> 16;
    return (int)lice_detail::clampI64(v, 0, 255);
  }
};

struct GradFill {
  const ClippedRect& rc;
  GradChannel r, g, b, a;
  int64_t offX, offY; // how far the clip moved the rectangle's corner
  template <class COMB> void run() {
    for (int j = 0; j < rc.h; ++j) {
      LICE_Pixel32* p = rc.row(j);
      for (int i = 0; i < rc.w; ++i) {
        const int64_t gi = i + offX, gj = j + offY;
        const int64_t av = (a.start + a.dx * gi + a.dy * gj) >> 16;
        const int ia = (int)lice_detail::clampI64(av, 0, 256);
        if (ia == 0) continue;
        COMB::doPix((LICE_pixel_chan*)(p + i), r.at(gi, gj), g.at(gi, gj), b.at(gi, gj), ia, ia);
      }
    }
  }
};

// Deltas are limited to 2^13 full scales per pixel: with offsets below 2^32
// every sum stays below 2^63.
GradChannel gradChannel(float start, float dx, float dy, double unit) {
  const int64_t limit = (int64_t)1 << 29;
  return GradChannel{lice_detail::toFixed(start * unit),
                     lice_detail::clampI64(lice_detail::toFixed(dx * unit), -limit, limit),
                     lice_detail::clampI64(lice_detail::toFixed(dy * unit), -limit, limit)};
}

} // namespace

void LICE_GradRect(LICE_IBitmap* bm, int dstx, int dsty, int dstw, int dsth, float ir, float ig,
                   float ib, float ia, float drdx, float dgdx, float dbdx, float dadx, float drdy,
                   float dgdy, float dbdy, float dady, int mode) {
  ClippedRect rc;
  if (!clipRect(bm, dstx, dsty, dstw, dsth, &rc)) return;
  GradFill job{rc,
               gradChannel(ir, drdx, drdy, 255.0),
               gradChannel(ig, dgdx, dgdy, 255.0),
               gradChannel(ib, dbdx, dbdy, 255.0),
               gradChannel(ia, dadx, dady, 256.0),
               (int64_t)rc.x - dstx,
               (int64_t)rc.y - dsty};
  switch (mode & LICE_MODE_MASK) {
  case LICE_MODE_COPY:
    return job.run<_LICE_CombinePixelsCopyClamp>();
  case LICE_MODE_ADD:
    return job.run<_LICE_CombinePixelsAdd>();
  case LICE_MODE_DODGE:
    return job.run<_LICE_CombinePixelsColorDodge>();
  case LICE_MODE_MUL:
    return job.run<_LICE_CombinePixelsMulClamp>();
  case LICE_MODE_OVERLAY:
    return job.run<_LICE_CombinePixelsOverlay>();
  case LICE_MODE_HSVADJ:
    return job.run<_LICE_CombinePixelsHSVAdjust>();
  default:
    return;
  }
}
