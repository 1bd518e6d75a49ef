#include "tools/art/Texture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace art {

namespace {

// Random values smoothed along the row so that they read as brush strokes.
void StreakRow(Random& rng, std::vector<float>& row, int radius) {
  const int n = int(row.size());
  std::vector<float> raw(size_t(n + 2 * radius));
  for (float& v : raw) v = rng.Signed();
  float sum = 0;
  for (int i = 0; i < 2 * radius + 1; ++i) sum += raw[size_t(i)];
  for (int i = 0; i < n; ++i) {
    row[size_t(i)] = sum / float(2 * radius + 1);
    if (i + 2 * radius + 1 < int(raw.size()))
      sum += raw[size_t(i + 2 * radius + 1)] - raw[size_t(i)];
  }
}

LICE_Pixel32 Brighten(LICE_Pixel32 p, int delta) {
  const int r = std::clamp(LICE_GETR(p) + delta, 0, 255);
  const int g = std::clamp(LICE_GETG(p) + delta, 0, 255);
  const int b = std::clamp(LICE_GETB(p) + delta, 0, 255);
  return LICE_RGBA(r, g, b, LICE_GETA(p));
}

} // namespace

void AddBrushedGrain(LICE_IBitmap* bm, int cell, float strength, uint32_t seed) {
  const int w = bm->getWidth() / cell, h = bm->getHeight() / cell;
  if (w <= 0 || h <= 0) return;
  Random rng(seed);
  std::vector<float> streaks(static_cast<size_t>(w));
  std::vector<int> deltas(static_cast<size_t>(w));
  for (int row = 0; row < h; ++row) {
    StreakRow(rng, streaks, 24);
    // Each stroke row is a little lighter or darker than its neighbours.
    const float rowShade = 0.35f * rng.Signed();
    for (int col = 0; col < w; ++col) {
      // Smoothed noise of 49 values spreads about 1/12 as far: scale it up.
      const float v = rowShade + 3.0f * streaks[size_t(col)] + 0.3f * rng.Signed();
      deltas[size_t(col)] = int(std::lround(std::clamp(v, -1.0f, 1.0f) * strength));
    }
    for (int sub = 0; sub < cell; ++sub) {
      LICE_Pixel32* px = bm->getBits() + ptrdiff_t(row * cell + sub) * bm->getRowSpan();
      for (int x = 0; x < w * cell; ++x) px[x] = Brighten(px[x], deltas[size_t(x / cell)]);
    }
  }
}

} // namespace art
