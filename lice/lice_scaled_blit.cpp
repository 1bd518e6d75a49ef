// Scaled blits: nearest, bilinear and, for strong down-scaling with the
// bilinear flag, a box filter. All positions are 16.16 fixed point in 64 bits.
#include <cmath>

#include "detail/lice_combine.h"
#include "detail/lice_sample.h"

using namespace lice_detail;

namespace {

// One axis of the scaled blit after mirroring and clipping.
struct Axis {
  int64_t dst = 0, len = 0;  // destination start and length, inside the bitmap
  int64_t pos = 0, step = 0; // fixed-point source position of the first pixel, step per pixel
  int bound = 0;             // samples at or beyond this source coordinate are skipped
  double adv = 0;            // source pixels per destination pixel
};

// Mirrors, clips to the destination extent and converts to fixed point.
// False when nothing of this axis can be drawn.
bool setupAxis(int64_t dst, int64_t len, double src, double srclen, int destExtent, int srcExtent,
               bool filtered, Axis* a) {
  bool mirrored = false;
  if (len < 0) {
    src += srclen;
    dst += len;
    len = -len;
    srclen = -srclen;
    mirrored = true;
  }
  a->adv = srclen / (double)len;
  if (dst < 0) {
    src -= (double)dst * a->adv;
    len += dst;
    dst = 0;
  }
  if (len > destExtent - dst) len = destExtent - dst;
  if (len <= 0) return false;

  int64_t pos = toFixed(src);
  if (mirrored && filtered) {
    // Filtered, a mirrored axis samples where the unmirrored blit does, in the
    // reverse order: the first pixel one step inside the far edge, the last at
    // the near edge. Rounded up, since the steps back, each rounded toward
    // zero, must not end short of the near edge (in front of column 0).
    pos = toFixed(std::ceil((src + a->adv) * 65536.0) / 65536.0);
  } else if (mirrored) {
    // Nearest sampling starts at the far edge of the source rectangle, which
    // is exclusive: one fixed-point unit inside it, the first pixel shows the
    // last source column and the last pixel the first one.
    pos -= 1;
  }
  const int64_t step = clampI64(toFixed(a->adv), -kMaxFixedStep, kMaxFixedStep);
  if (step >= 1) {
    if (pos < 0) {
      const int64_t n = (step - pos - 1) / step;
      dst += n;
      len -= n;
      pos += step * n;
    }
    // Stop at the last pixel whose sample lies inside the source. (Trimming
    // by a whole source pixel more, as the fixed-point shortcut would, drops
    // columns that are inside when upscaling.)
    if (len > 0 && (pos + step * (len - 1)) / 65536 >= srcExtent) {
      const int64_t inside = (int64_t)srcExtent * 65536 - pos;
      const int64_t most = inside > 0 ? (inside - 1) / step + 1 : 0;
      if (len > most) len = most;
    }
  }
  if (len <= 0) return false;
  a->dst = dst;
  a->len = len;
  a->pos = pos;
  a->step = step;
  const int edge = toIntClamped(src + (srclen > 0 ? srclen : 0.0) + 0.999999);
  a->bound = edge < srcExtent ? edge : srcExtent;
  return a->bound > 0;
}

struct ScaledJob {
  BitmapView dest, src;
  Axis x, y;
  SampleBounds bounds;
  int ia;
  bool bilinear;

  LICE_Pixel32* destRow(int64_t j) const { return dest.row((int)(y.dst + j)) + x.dst; }

  // Nearest sampling with whole-word operators (plain copy and half mix).
  template <class WordOp> void nearestWords() const {
    for (int64_t j = 0; j < y.len; ++j) {
      LICE_Pixel32* d = destRow(j);
      const int64_t sy = y.pos + y.step * j;
      int64_t sx = x.pos;
      for (int64_t i = 0; i < x.len; ++i, sx += x.step) {
        const LICE_Pixel32* s = sampleNearest(src, bounds, sx, sy);
        if (s) WordOp::doPixWord(d + i, *s);
      }
    }
  }

  template <class COMB> void run() {
    for (int64_t j = 0; j < y.len; ++j) {
      LICE_Pixel32* d = destRow(j);
      const int64_t sy = y.pos + y.step * j;
      int64_t sx = x.pos;
      for (int64_t i = 0; i < x.len; ++i, sx += x.step) {
        Rgba c;
        if (bilinear) {
          if (!sampleBilinear(src, bounds, sx, sy, &c)) continue;
        } else {
          const LICE_Pixel32* s = sampleNearest(src, bounds, sx, sy);
          if (!s) continue;
          c = unpack(*s);
        }
        COMB::doPix((LICE_pixel_chan*)(d + i), c.r, c.g, c.b, c.a, ia);
      }
    }
  }
};

// Box-filtered down-scaling: every tap of a 3x3 (5x5 above a step of 3)
// kernel around the nearest sample weighs the same.
struct FilterDownJob {
  const ScaledJob& job;
  int radius;
  template <class COMB> void run() {
    const ScaledJob& s = job;
    for (int64_t j = 0; j < s.y.len; ++j) {
      LICE_Pixel32* d = s.destRow(j);
      const int64_t row = (s.y.pos + s.y.step * j) / 65536;
      if (row < 0 || row >= s.bounds.bottom) continue;
      int64_t sx = s.x.pos;
      for (int64_t i = 0; i < s.x.len; ++i, sx += s.x.step) {
        const int64_t col = sx / 65536;
        if (col < 0 || col >= s.bounds.right) continue;
        Rgba c;
        if (boxAverage((int)col, (int)row, &c))
          COMB::doPix((LICE_pixel_chan*)(d + i), c.r, c.g, c.b, c.a, s.ia);
      }
    }
  }
  bool boxAverage(int col, int row, Rgba* out) const {
    int sum[4] = {0, 0, 0, 0}, taps = 0;
    for (int dy = -radius; dy <= radius; ++dy) {
      const int r = row + dy;
      if (r < 0 || r >= job.bounds.bottom) continue;
      const LICE_Pixel32* line = job.src.row(r);
      for (int dx = -radius; dx <= radius; ++dx) {
        const int c = col + dx;
        if (c < 0 || c >= job.bounds.right) continue;
        const LICE_Pixel32 p = line[c];
        sum[0] += LICE_GETR(p), sum[1] += LICE_GETG(p), sum[2] += LICE_GETB(p),
            sum[3] += LICE_GETA(p);
        ++taps;
      }
    }
    if (!taps) return false;
    *out = Rgba{sum[0] / taps, sum[1] / taps, sum[2] / taps, sum[3] / taps};
    return true;
  }
};

bool isBilinear(int mode) {
  return ((mode >> 8) & 0xFF) == 1;
}

// Same size and, with filtering, a whole-pixel source position: a plain blit.
bool tryUnscaled(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                 float srcx, float srcy, float srcw, float srch, float alpha, int mode) {
  if (dstw <= 0 || dsth <= 0) return false;
  if (!(std::fabs(srcw - dstw) < 0.001f && std::fabs(srch - dsth) < 0.001f)) return false;
  if (isBilinear(mode) && !(std::fabs(srcx - std::floor(srcx + 0.5)) <= 0.03 &&
                            std::fabs(srcy - std::floor(srcy + 0.5)) <= 0.03))
    return false;
  const int64_t left = toIntClamped(srcx + 0.5), top = toIntClamped(srcy + 0.5);
  blitRect(dest, src, dstx, dsty, left, top, left + dstw, top + dsth, alpha, mode);
  return true;
}

void drawScaled(ScaledJob& job, int mode) {
  if ((mode & 0x1FFFF) == 0 && job.ia == 256)
    return job.nearestWords<_LICE_CombinePixelsClobberFAST>();
  if ((mode & 0x1FFFF) == 0 && job.ia == 128)
    return job.nearestWords<_LICE_CombinePixelsHalfMixFAST>();
  if (job.bilinear && job.x.adv >= 1.7 && job.y.adv >= 1.7) {
    const int64_t larger = job.x.step > job.y.step ? job.x.step : job.y.step;
    FilterDownJob filter{job, larger <= 0x30000 ? 1 : 2};
    dispatchBlitOperator(mode, job.ia, filter);
    return;
  }
  dispatchBlitOperator(mode, job.ia, job);
}

} // namespace

void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                     float srcx, float srcy, float srcw, float srch, float alpha, int mode) {
  if (!dest || !src || !dstw || !dsth || alpha == 0.0f) return;
  if (tryUnscaled(dest, src, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, alpha, mode)) return;
  ScaledJob job;
  job.ia = alphaWeight(alpha);
  job.bilinear = isBilinear(mode);
  if (job.ia <= 0 || !getView(dest, &job.dest) || !getView(src, &job.src)) return;
  if (!setupAxis(dstx, dstw, srcx, srcw, job.dest.w, job.src.w, job.bilinear, &job.x)) return;
  if (!setupAxis(dsty, dsth, srcy, srch, job.dest.h, job.src.h, job.bilinear, &job.y)) return;
  job.bounds = SampleBounds{0, 0, job.x.bound, job.y.bound};
  // Drawing into the memory being sampled: sample a copy instead.
  ScratchCopy scratch;
  if (viewsOverlap(job.dest, job.src) &&
      !scratch.take(job.src, 0, 0, job.bounds.right, job.bounds.bottom, &job.src))
    return;
  drawScaled(job, mode);
}
