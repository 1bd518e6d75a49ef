#include "tools/art/Filters.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

namespace {

LICE_Pixel32* Row(LICE_IBitmap* bm, int y) {
  return bm->getBits() + ptrdiff_t(y) * bm->getRowSpan();
}

int Channel(LICE_Pixel32 p, int i) {
  return int((p >> (8 * i)) & 0xFF);
}

// One running-sum box pass over n pixels spaced stride apart.
void BoxPass(LICE_Pixel32* line, int n, int stride, int radius, std::vector<LICE_Pixel32>& copy) {
  copy.resize(size_t(n));
  for (int i = 0; i < n; ++i) copy[size_t(i)] = line[ptrdiff_t(i) * stride];
  const int width = 2 * radius + 1;
  auto at = [&](int i) { return copy[size_t(std::clamp(i, 0, n - 1))]; };
  int sum[4] = {0, 0, 0, 0};
  for (int i = -radius; i <= radius; ++i)
    for (int c = 0; c < 4; ++c) sum[c] += Channel(at(i), c);
  for (int i = 0; i < n; ++i) {
    LICE_Pixel32 out = 0;
    for (int c = 0; c < 4; ++c) out |= LICE_Pixel32((sum[c] + width / 2) / width) << (8 * c);
    line[ptrdiff_t(i) * stride] = out;
    const LICE_Pixel32 leaving = at(i - radius), entering = at(i + radius + 1);
    for (int c = 0; c < 4; ++c) sum[c] += Channel(entering, c) - Channel(leaving, c);
  }
}

} // namespace

void Downsample(LICE_IBitmap* dest, int dstx, int dsty, LICE_IBitmap* src, int factor) {
  const int w = std::min(src->getWidth() / factor, dest->getWidth() - dstx);
  const int h = std::min(src->getHeight() / factor, dest->getHeight() - dsty);
  const int n = factor * factor;
  for (int y = 0; y < h; ++y) {
    LICE_Pixel32* out = Row(dest, dsty + y) + dstx;
    for (int x = 0; x < w; ++x) {
      int sum[4] = {0, 0, 0, 0};
      for (int sy = 0; sy < factor; ++sy) {
        const LICE_Pixel32* in = Row(src, y * factor + sy) + x * factor;
        for (int sx = 0; sx < factor; ++sx)
          for (int c = 0; c < 4; ++c) sum[c] += Channel(in[sx], c);
      }
      LICE_Pixel32 p = 0;
      for (int c = 0; c < 4; ++c) p |= LICE_Pixel32((sum[c] + n / 2) / n) << (8 * c);
      out[x] = p;
    }
  }
}

void SoftBlur(LICE_IBitmap* bm, int radius) {
  const int w = bm->getWidth(), h = bm->getHeight(), span = bm->getRowSpan();
  const int box = std::max(1, radius / 3);
  std::vector<LICE_Pixel32> copy;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) BoxPass(Row(bm, y), w, 1, box, copy);
    for (int x = 0; x < w; ++x) BoxPass(bm->getBits() + x, h, span, box, copy);
  }
}

namespace {

// Sums of red, green and blue over one factor x factor block.
void BlockSums(LICE_IBitmap* bm, int x, int y, int factor, int sum[3]) {
  sum[0] = sum[1] = sum[2] = 0;
  for (int sy = 0; sy < factor; ++sy) {
    const LICE_Pixel32* in = Row(bm, y * factor + sy) + x * factor;
    for (int sx = 0; sx < factor; ++sx)
      for (int c = 0; c < 3; ++c) sum[c] += Channel(in[sx], c + 1);
  }
}

} // namespace

void UnmatteDownsample(LICE_IBitmap* onBlack, LICE_IBitmap* onWhite, int factor, LICE_IBitmap* dest,
                       int dstx, int dsty) {
  const int w = std::min(onBlack->getWidth() / factor, dest->getWidth() - dstx);
  const int h = std::min(onBlack->getHeight() / factor, dest->getHeight() - dsty);
  const int n = factor * factor;
  for (int y = 0; y < h; ++y) {
    LICE_Pixel32* out = Row(dest, dsty + y) + dstx;
    for (int x = 0; x < w; ++x) {
      int b[3], wt[3];
      BlockSums(onBlack, x, y, factor, b);
      BlockSums(onWhite, x, y, factor, wt);
      // Alpha from the mean see-through of the three channels, scaled by
      // 255 * n so that nothing is rounded before the division.
      const int through = (wt[0] - b[0]) + (wt[1] - b[1]) + (wt[2] - b[2]);
      const int alpha255n = std::clamp(255 * n - through / 3, 0, 255 * n);
      const int alpha = (alpha255n + n / 2) / n;
      if (alpha == 0) {
        out[x] = 0;
        continue;
      }
      int c[3];
      for (int i = 0; i < 3; ++i) c[i] = std::min(255, (b[i] * 255 + alpha255n / 2) / alpha255n);
      out[x] = LICE_RGBA(c[0], c[1], c[2], alpha);
    }
  }
}

} // namespace art
