// The hue/saturation/value adjust operator. Hue runs 0..383 (six sectors of
// 64: red 0, green 128, blue 256) so every step stays in integer arithmetic.
#include "detail/lice_combine.h"

namespace {

// Reciprocals for the conversion: entry i = floor(65536 / i) - 1, entry 0 = 0.
struct InvTab {
  unsigned short v[256];
  constexpr InvTab() : v() {
    for (int i = 1; i < 256; ++i) v[i] = (unsigned short)(65536 / i - 1);
  }
};
constexpr InvTab _LICE_RGB2HSV_invtab;

struct Hsv {
  int hue, sat, value;
};

Hsv toHsv(int R, int G, int B) {
  int maxv, minv, base, diff;
  if (R < G && B < G) {
    maxv = G;
    minv = R < B ? R : B;
    base = 128;
    diff = B - R;
  } else if ((R < G) || (B >= R)) { // ties go to blue
    maxv = B;
    minv = R < G ? R : G;
    base = 256;
    diff = R - G;
  } else {
    maxv = R;
    minv = G < B ? G : B;
    base = G < B ? 383 : 0;
    diff = G - B;
  }
  const int delta = maxv - minv;
  Hsv out;
  out.value = maxv;
  out.sat = delta * _LICE_RGB2HSV_invtab.v[maxv] / 256;
  out.hue = base + diff * (_LICE_RGB2HSV_invtab.v[delta] + 1) / 1024;
  return out;
}

void toRgb(int hue, int sat, int value, int* R, int* G, int* B) {
  const int p = value * (256 - sat) / 256;
  auto ramp = [&](int k) { return value * (16384 - sat * k) / 16384; };
  if (hue < 64)
    *R = value, *G = ramp(64 - hue), *B = p;
  else if (hue < 128)
    *R = ramp(hue - 64), *G = value, *B = p;
  else if (hue < 192)
    *R = p, *G = value, *B = ramp(192 - hue);
  else if (hue < 256)
    *R = p, *G = ramp(hue - 192), *B = value;
  else if (hue < 320)
    *R = ramp(320 - hue), *G = p, *B = value;
  else
    *R = value, *G = p, *B = ramp(hue - 320);
}

} // namespace

void _LICE_CombinePixelsHSVAdjust::doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int ia) {
  using lice_detail::clamp255;
  Hsv hsv = toHsv(d[LICE_PIXEL_R], d[LICE_PIXEL_G], d[LICE_PIXEL_B]);
  const int sat = clamp255(hsv.sat + (g - 128) * ia / 128);
  int hue = hsv.hue + ia * (r + r / 2 - 192) / 256;
  if (hue < 0)
    hue += 384;
  else if (hue >= 384)
    hue -= 384;
  // One wrap covers every weight up to 256; larger shifts cannot occur
  // because weights are limited to 256, but stay inside the sector table.
  if (hue < 0 || hue >= 384) hue = ((hue % 384) + 384) % 384;
  const int value = clamp255(hsv.value + ia * (b - 128) / 128);
  int R, G, B;
  toRgb(hue, sat, value, &R, &G, &B);
  lice_detail::storeChannels(d, R, G, B, a);
}
