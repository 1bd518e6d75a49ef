#pragma once
// Per-pixel combine operators, shared by every drawing routine in lice/.
// Each operator is a stateless class whose doPix(dest, r, g, b, a, ia) reads
// the destination bytes (A, R, G, B in memory) and writes all four. ia is the
// weight out of 256. Divisions truncate toward zero, as C++ does, and the
// results depend on that: do not replace them with shifts.
#include "lice/lice.h"

namespace lice_detail {

inline int clamp255(int v) {
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

inline void storeChannels(LICE_pixel_chan* d, int r, int g, int b, int a) {
  d[LICE_PIXEL_R] = (LICE_pixel_chan)r;
  d[LICE_PIXEL_G] = (LICE_pixel_chan)g;
  d[LICE_PIXEL_B] = (LICE_pixel_chan)b;
  d[LICE_PIXEL_A] = (LICE_pixel_chan)a;
}

// Source-alpha weight: ia scaled by (source alpha + 1) / 256.
inline int sourceAlphaWeight(int ia, int sa) {
  return ia * (sa + 1) / 256;
}

} // namespace lice_detail

struct _LICE_CombinePixelsClobberNoClamp {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int) {
    lice_detail::storeChannels(d, r, g, b, a);
  }
};

struct _LICE_CombinePixelsClobberClamp {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int) {
    using lice_detail::clamp255;
    lice_detail::storeChannels(d, clamp255(r), clamp255(g), clamp255(b), clamp255(a));
  }
};

struct _LICE_CombinePixelsCopyNoClamp {
  static inline int mix(int dv, int s, int ia) { return s + (dv - s) * (256 - ia) / 256; }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    lice_detail::storeChannels(d, mix(d[LICE_PIXEL_R], r, ia), mix(d[LICE_PIXEL_G], g, ia),
                               mix(d[LICE_PIXEL_B], b, ia), mix(d[LICE_PIXEL_A], a, ia));
  }
};

struct _LICE_CombinePixelsCopyClamp {
  static inline int mix(int dv, int s, int ia) {
    return lice_detail::clamp255(s + (dv - s) * (256 - ia) / 256);
  }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    lice_detail::storeChannels(d, mix(d[LICE_PIXEL_R], r, ia), mix(d[LICE_PIXEL_G], g, ia),
                               mix(d[LICE_PIXEL_B], b, ia), mix(d[LICE_PIXEL_A], a, ia));
  }
};

struct _LICE_CombinePixelsHalfMixNoClamp {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int) {
    lice_detail::storeChannels(d, (d[LICE_PIXEL_R] >> 1) + (r >> 1),
                               (d[LICE_PIXEL_G] >> 1) + (g >> 1), (d[LICE_PIXEL_B] >> 1) + (b >> 1),
                               (d[LICE_PIXEL_A] >> 1) + (a >> 1));
  }
};

struct _LICE_CombinePixelsAdd {
  static inline int add(int dv, int s, int ia) { return lice_detail::clamp255(dv + s * ia / 256); }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    lice_detail::storeChannels(d, add(d[LICE_PIXEL_R], r, ia), add(d[LICE_PIXEL_G], g, ia),
                               add(d[LICE_PIXEL_B], b, ia), add(d[LICE_PIXEL_A], a, ia));
  }
};

struct _LICE_CombinePixelsColorDodge {
  static inline int dodge(int dv, int s, int ia) {
    const int q = s * ia / 256;
    return lice_detail::clamp255(q < 255 ? (dv * 256) / (256 - q) : dv * 256);
  }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    lice_detail::storeChannels(d, dodge(d[LICE_PIXEL_R], r, ia), dodge(d[LICE_PIXEL_G], g, ia),
                               dodge(d[LICE_PIXEL_B], b, ia), dodge(d[LICE_PIXEL_A], a, ia));
  }
};

struct _LICE_CombinePixelsMulNoClamp {
  static inline int mul(int dv, int s, int ia) { return (s * ia + (256 - ia) * 256) * dv / 65536; }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    lice_detail::storeChannels(d, mul(d[LICE_PIXEL_R], r, ia), mul(d[LICE_PIXEL_G], g, ia),
                               mul(d[LICE_PIXEL_B], b, ia), mul(d[LICE_PIXEL_A], a, ia));
  }
};

struct _LICE_CombinePixelsMulClamp {
  static inline int mul(int dv, int s, int ia) {
    return lice_detail::clamp255((s * ia + (256 - ia) * 256) * dv / 65536);
  }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    lice_detail::storeChannels(d, mul(d[LICE_PIXEL_R], r, ia), mul(d[LICE_PIXEL_G], g, ia),
                               mul(d[LICE_PIXEL_B], b, ia), mul(d[LICE_PIXEL_A], a, ia));
  }
};

struct _LICE_CombinePixelsOverlay {
  static inline int overlay(int dv, int s, int ia) {
    const int S = s * ia + (256 - ia) * 128;
    return lice_detail::clamp255(((32768 - S) * dv / 256 + S) * dv / 32768);
  }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    lice_detail::storeChannels(d, overlay(d[LICE_PIXEL_R], r, ia), overlay(d[LICE_PIXEL_G], g, ia),
                               overlay(d[LICE_PIXEL_B], b, ia), overlay(d[LICE_PIXEL_A], a, ia));
  }
};

struct _LICE_CombinePixelsHSVAdjust {
  // r, g, b are adjustment amounts centred on 128: hue, saturation, value.
  static void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia);
};

struct _LICE_CombinePixelsCopySourceAlphaNoClamp {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    if (a == 0) return;
    const int w = lice_detail::sourceAlphaWeight(ia, a);
    const int da = d[LICE_PIXEL_A] + w;
    lice_detail::storeChannels(d, _LICE_CombinePixelsCopyNoClamp::mix(d[LICE_PIXEL_R], r, w),
                               _LICE_CombinePixelsCopyNoClamp::mix(d[LICE_PIXEL_G], g, w),
                               _LICE_CombinePixelsCopyNoClamp::mix(d[LICE_PIXEL_B], b, w),
                               da < 255 ? da : 255);
  }
};

struct _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp {
  static inline int mix(int dv, int s, int sa) { return s + (dv - s) * (255 - sa) / 256; }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int) {
    if (a == 0) return;
    if (a == 255) {
      lice_detail::storeChannels(d, r, g, b, 255);
      return;
    }
    const int da = d[LICE_PIXEL_A] + a;
    lice_detail::storeChannels(d, mix(d[LICE_PIXEL_R], r, a), mix(d[LICE_PIXEL_G], g, a),
                               mix(d[LICE_PIXEL_B], b, a), da < 255 ? da : 255);
  }
};

struct _LICE_CombinePixelsAddSourceAlpha {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    if (a == 0) return;
    _LICE_CombinePixelsAdd::doPix(d, r, g, b, a, lice_detail::sourceAlphaWeight(ia, a));
  }
};

struct _LICE_CombinePixelsMulSourceAlphaNoClamp {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    if (a == 0) return;
    _LICE_CombinePixelsMulNoClamp::doPix(d, r, g, b, a, lice_detail::sourceAlphaWeight(ia, a));
  }
};

struct _LICE_CombinePixelsColorDodgeSourceAlpha {
  static inline int dodge(int dv, int s, int w) {
    const int q = s * w / 256;
    return lice_detail::clamp255(256 - q >= 2 ? (dv * 256) / (256 - q) : dv * 256);
  }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    const int w = lice_detail::sourceAlphaWeight(ia, a);
    lice_detail::storeChannels(d, dodge(d[LICE_PIXEL_R], r, w), dodge(d[LICE_PIXEL_G], g, w),
                               dodge(d[LICE_PIXEL_B], b, w), dodge(d[LICE_PIXEL_A], a, w));
  }
};

struct _LICE_CombinePixelsOverlaySourceAlpha {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    _LICE_CombinePixelsOverlay::doPix(d, r, g, b, a, lice_detail::sourceAlphaWeight(ia, a));
  }
};

struct _LICE_CombinePixelsHSVAdjustSourceAlpha {
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
    _LICE_CombinePixelsHSVAdjust::doPix(d, r, g, b, a, lice_detail::sourceAlphaWeight(ia, a));
  }
};

// Whole-word operators for the fast paths: each byte lane is shifted and
// masked so no lane borrows from its neighbour.
struct _LICE_CombinePixelsClobberFAST {
  static inline void doPixWord(LICE_Pixel32* d, LICE_Pixel32 s) { *d = s; }
};

struct _LICE_CombinePixelsHalfMixFAST {
  static inline void doPixWord(LICE_Pixel32* d, LICE_Pixel32 s) {
    *d = ((*d >> 1) & 0x7F7F7F7Fu) + ((s >> 1) & 0x7F7F7F7Fu);
  }
};
typedef _LICE_CombinePixelsHalfMixFAST _LICE_CombinePixelsHalfMix2FAST;

// One quarter source, three quarters destination.
struct _LICE_CombinePixelsQuarterMix2FAST {
  static inline void doPixWord(LICE_Pixel32* d, LICE_Pixel32 s) {
    const LICE_Pixel32 dv = *d;
    *d = ((s >> 2) & 0x3F3F3F3Fu) + ((dv >> 2) & 0x3F3F3F3Fu) + ((dv >> 1) & 0x7F7F7F7Fu);
  }
};

// Three quarters source, one quarter destination.
struct _LICE_CombinePixelsThreeQuarterMix2FAST {
  static inline void doPixWord(LICE_Pixel32* d, LICE_Pixel32 s) {
    *d = ((s >> 1) & 0x7F7F7F7Fu) + ((s >> 2) & 0x3F3F3F3Fu) + ((*d >> 2) & 0x3F3F3F3Fu);
  }
};

namespace lice_detail {

// Calls job.template run<Operator>() with the operator a blit uses for this
// mode word and weight; returns false when the mode draws nothing.
template <class Job> bool dispatchBlitOperator(int mode, int ia, Job& job) {
  if (ia <= 0) return false;
  const bool useAlpha = (mode & LICE_MODE_USE_ALPHA) != 0;
  switch (mode & LICE_MODE_MASK) {
  case LICE_MODE_COPY:
    if (useAlpha) {
      if (ia >= 256)
        job.template run<_LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp>();
      else
        job.template run<_LICE_CombinePixelsCopySourceAlphaNoClamp>();
    } else {
      if (ia >= 256)
        job.template run<_LICE_CombinePixelsClobberNoClamp>();
      else
        job.template run<_LICE_CombinePixelsCopyNoClamp>();
    }
    return true;
  case LICE_MODE_ADD:
    if (useAlpha)
      job.template run<_LICE_CombinePixelsAddSourceAlpha>();
    else
      job.template run<_LICE_CombinePixelsAdd>();
    return true;
  case LICE_MODE_DODGE:
    if (useAlpha)
      job.template run<_LICE_CombinePixelsColorDodgeSourceAlpha>();
    else
      job.template run<_LICE_CombinePixelsColorDodge>();
    return true;
  case LICE_MODE_MUL:
    if (useAlpha)
      job.template run<_LICE_CombinePixelsMulSourceAlphaNoClamp>();
    else
      job.template run<_LICE_CombinePixelsMulNoClamp>();
    return true;
  case LICE_MODE_OVERLAY:
    if (useAlpha)
      job.template run<_LICE_CombinePixelsOverlaySourceAlpha>();
    else
      job.template run<_LICE_CombinePixelsOverlay>();
    return true;
  case LICE_MODE_HSVADJ:
    if (useAlpha)
      job.template run<_LICE_CombinePixelsHSVAdjustSourceAlpha>();
    else
      job.template run<_LICE_CombinePixelsHSVAdjust>();
    return true;
  default:
    return false;
  }
}

} // namespace lice_detail
