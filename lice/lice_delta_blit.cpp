// Affine walks over the source: rotated, delta and mesh-transform blits.
// Geometry is set up in double precision, then walked in 16.16 fixed point
// held in 64 bits with every step limited (kMaxFixedStep), so no input can
// overflow the walk.
#include <cmath>

#include "detail/lice_combine.h"
#include "detail/lice_sample.h"

using namespace lice_detail;

namespace {

// Source position of the destination rectangle's top-left pixel, per-column
// and per-row steps, and the per-row change of the column step.
struct Walk {
  double s, t, dsdx, dtdx, dsdy, dtdy, dsdxdy, dtdxdy;
};

struct DeltaJob {
  BitmapView dest, src;
  SampleBounds bounds;
  int dx, dy, w, h;
  int64_t s0, t0, dsdx, dtdx, dsdy, dtdy, dsdxdy, dtdxdy;
  int ia;
  bool bilinear;

  template <class COMB> void run() {
    int64_t rowS = s0, rowT = t0, colS = dsdx, colT = dtdx;
    for (int j = 0; j < h; ++j) {
      LICE_Pixel32* d = dest.row(dy + j) + dx;
      int64_t s = rowS, t = rowT;
      for (int i = 0; i < w; ++i, s += colS, t += colT) {
        Rgba c;
        if (bilinear) {
          if (!sampleBilinear(src, bounds, s, t, &c)) continue;
        } else {
          const LICE_Pixel32* p = sampleNearest(src, bounds, s, t);
          if (!p) continue;
          c = unpack(*p);
        }
        COMB::doPix((LICE_pixel_chan*)(d + i), c.r, c.g, c.b, c.a, ia);
      }
      rowS += dsdy;
      rowT += dtdy;
      colS = clampI64(colS + dsdxdy, -kMaxFixedStep, kMaxFixedStep);
      colT = clampI64(colT + dtdxdy, -kMaxFixedStep, kMaxFixedStep);
    }
  }
};

int64_t fixedStep(double v) {
  return clampI64(toFixed(v), -kMaxFixedStep, kMaxFixedStep);
}

// Clips the destination rectangle to the bitmap, moving the walk's start by
// the skipped columns and rows (the skipped columns also shift each row's
// start through the changing column step), then draws.
void walkClipped(const BitmapView& dest, const BitmapView& src, const SampleBounds& bounds,
                 int64_t dstx, int64_t dsty, int64_t dstw, int64_t dsth, Walk wk, int ia,
                 int mode) {
  if (dstx < 0) {
    const double m = (double)-dstx;
    wk.s += m * wk.dsdx, wk.t += m * wk.dtdx;
    wk.dsdy += m * wk.dsdxdy, wk.dtdy += m * wk.dtdxdy;
    dstw += dstx, dstx = 0;
  }
  if (dsty < 0) {
    const double k = (double)-dsty;
    wk.s += k * wk.dsdy, wk.t += k * wk.dtdy;
    wk.dsdx += k * wk.dsdxdy, wk.dtdx += k * wk.dtdxdy;
    dsth += dsty, dsty = 0;
  }
  if (dstw > dest.w - dstx) dstw = dest.w - dstx;
  if (dsth > dest.h - dsty) dsth = dest.h - dsty;
  if (dstw <= 0 || dsth <= 0 || ia <= 0) return;
  if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) return;
  DeltaJob job{dest,
               src,
               bounds,
               (int)dstx,
               (int)dsty,
               (int)dstw,
               (int)dsth,
               toFixed(wk.s),
               toFixed(wk.t),
               fixedStep(wk.dsdx),
               fixedStep(wk.dtdx),
               fixedStep(wk.dsdy),
               fixedStep(wk.dtdy),
               fixedStep(wk.dsdxdy),
               fixedStep(wk.dtdxdy),
               ia,
               ((mode >> 8) & 0xFF) == 1};
  dispatchBlitOperator(mode, ia, job);
}

// The far edges are summed in float, the callers' own precision: in double
// 0.1f + 9.9f falls just short of 10 and would drop the last column.
SampleBounds sourceBounds(const BitmapView& src, bool clip, float srcx, float srcy, float srcw,
                          float srch) {
  SampleBounds b{0, 0, src.w, src.h};
  if (!clip) return b;
  const int l = toIntClamped(srcx), t = toIntClamped(srcy);
  const int r = toIntClamped(srcx + srcw), btm = toIntClamped(srcy + srch);
  if (l > b.left) b.left = l;
  if (t > b.top) b.top = t;
  if (r < b.right) b.right = r;
  if (btm < b.bottom) b.bottom = btm;
  return b;
}

// Resolves both bitmaps; when they share memory the source becomes a copy of
// the area that can be sampled, so results match a blit from a copy.
struct Views {
  BitmapView dest, src;
  ScratchCopy scratch;
  bool resolve(LICE_IBitmap* d, LICE_IBitmap* s) {
    if (!getView(d, &dest) || !getView(s, &src)) return false;
    if (!viewsOverlap(dest, src)) return true;
    return scratch.take(src, 0, 0, src.w, src.h, &src);
  }
};

} // namespace

void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                      float srcx, float srcy, float srcw, float srch, float angle,
                      bool cliptosourcerect, float alpha, int mode, float rotxcent,
                      float rotycent) {
  if (!dest || !src || !dstw || !dsth) return;
  const int ia = alphaWeight(alpha);
  Views v;
  if (ia <= 0 || !v.resolve(dest, src)) return;
  const SampleBounds bounds = sourceBounds(v.src, cliptosourcerect, srcx, srcy, srcw, srch);
  int64_t dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  double sx = srcx, sy = srcy, sw = srcw, sh = srch;
  if (dw < 0) dx += dw, dw = -dw, sx += sw, sw = -sw;
  if (dh < 0) dy += dh, dh = -dh, sy += sh, sh = -sh;
  const double sn = std::sin((double)angle), cs = std::cos((double)angle);
  const double xs = sw / (double)dw, ys = sh / (double)dh;
  Walk wk{0, 0, cs * xs, -sn * ys, sn * xs, cs * ys, 0, 0};
  // Puts the source rectangle's centre on the destination rectangle's centre,
  // moved by the pivot offsets.
  wk.s = sx - ((dh * wk.dsdy + dw * wk.dsdx - sw) * 0.5 - rotxcent);
  wk.t = sy - ((dh * wk.dtdy + dw * wk.dtdx - sh) * 0.5 - rotycent);
  walkClipped(v.dest, v.src, bounds, dx, dy, dw, dh, wk, ia, mode);
}

namespace {

void deltaBlitViews(const BitmapView& dest, const BitmapView& src, const SampleBounds& bounds,
                    int64_t dstx, int64_t dsty, int64_t dstw, int64_t dsth, double srcx,
                    double srcy, double srcw, double srch, const Walk& steps, int ia, int mode) {
  if (!dstw || !dsth) return;
  if (dstw < 0) dstx += dstw, dstw = -dstw, srcx += srcw;
  if (dsth < 0) dsty += dsth, dsth = -dsth, srcy += srch;
  Walk wk = steps;
  wk.s = srcx;
  wk.t = srcy;
  walkClipped(dest, src, bounds, dstx, dsty, dstw, dsth, wk, ia, mode);
}

} // namespace

void LICE_DeltaBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                    float srcx, float srcy, float srcw, float srch, double dsdx, double dtdx,
                    double dsdy, double dtdy, double dsdxdy, double dtdxdy, bool cliptosourcerect,
                    float alpha, int mode) {
  const int ia = alphaWeight(alpha);
  Views v;
  if (ia <= 0 || !v.resolve(dest, src)) return;
  const Walk steps{0, 0, dsdx, dtdx, dsdy, dtdy, dsdxdy, dtdxdy};
  const SampleBounds bounds = sourceBounds(v.src, cliptosourcerect, srcx, srcy, srcw, srch);
  deltaBlitViews(v.dest, v.src, bounds, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, steps, ia,
                 mode);
}

namespace {

// Draws each mesh cell as a delta blit whose steps interpolate the cell's
// four corner points.
template <class T>
void transformBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                   const T* pts, int div_w, int div_h, float alpha, int mode) {
  if (!pts || dstw <= 0 || dsth <= 0 || div_w < 2 || div_h < 2) return;
  const int ia = alphaWeight(alpha);
  Views v;
  if (ia <= 0 || !v.resolve(dest, src)) return;
  const SampleBounds whole{0, 0, v.src.w, v.src.h};
  const double cellW = (double)dstw / (div_w - 1), cellH = (double)dsth / (div_h - 1);
  double top = dsty;
  for (int cy = 0; cy < div_h - 1; ++cy) {
    const int y0 = toIntClamped(top), y1 = toIntClamped(top + cellH);
    top += cellH;
    double left = dstx;
    for (int cx = 0; cx < div_w - 1; ++cx) {
      const int x0 = toIntClamped(left), x1 = toIntClamped(left + cellW);
      left += cellW;
      const int w = x1 - x0, h = y1 - y0;
      if (w <= 0 || h <= 0) continue;
      const T* tl = pts + 2 * ((size_t)cy * div_w + cx);
      const T* tr = tl + 2;
      const T* bl = tl + 2 * (size_t)div_w;
      const T* br = bl + 2;
      Walk steps{0,
                 0,
                 (tr[0] - tl[0]) / (double)w,
                 (tr[1] - tl[1]) / (double)w,
                 (bl[0] - tl[0]) / (double)h,
                 (bl[1] - tl[1]) / (double)h,
                 0,
                 0};
      steps.dsdxdy = ((br[0] - bl[0]) / (double)w - steps.dsdx) / h;
      steps.dtdxdy = ((br[1] - bl[1]) / (double)w - steps.dtdx) / h;
      deltaBlitViews(v.dest, v.src, whole, x0, y0, w, h, tl[0], tl[1], 0, 0, steps, ia, mode);
    }
  }
}

} // namespace

void LICE_TransformBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw,
                        int dsth, const float* srcpoints, int div_w, int div_h, float alpha,
                        int mode) {
  transformBlit(dest, src, dstx, dsty, dstw, dsth, srcpoints, div_w, div_h, alpha, mode);
}

void LICE_TransformBlit2(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw,
                         int dsth, const double* srcpoints, int div_w, int div_h, float alpha,
                         int mode) {
  transformBlit(dest, src, dstx, dsty, dstw, dsth, srcpoints, div_w, div_h, alpha, mode);
}
