#pragma once
// Bitmaps for shape tests: one with guard pixels around it to catch writes
// beyond the edges, one stored bottom-up, and a pixel-set reader.
#include <set>
#include <utility>
#include <vector>

#include "lice/lice.h"

using PixelSet = std::set<std::pair<int, int>>;

inline PixelSet SetPixels(LICE_IBitmap* bm) {
  PixelSet set;
  for (int y = 0; y < bm->getHeight(); ++y) {
    for (int x = 0; x < bm->getWidth(); ++x) {
      if (LICE_GetPixel(bm, x, y)) set.insert({x, y});
    }
  }
  return set;
}

class SpanBitmap : public LICE_IBitmap {
public:
  SpanBitmap(LICE_Pixel32* bits, int w, int h, int span, bool flipped)
      : mBits(bits), mW(w), mH(h), mSpan(span), mFlipped(flipped) {}
  LICE_Pixel32* getBits() override { return mBits; }
  int getWidth() override { return mW; }
  int getHeight() override { return mH; }
  int getRowSpan() override { return mSpan; }
  bool isFlipped() override { return mFlipped; }
  bool resize(int, int) override { return false; }

private:
  LICE_Pixel32* mBits;
  int mW, mH, mSpan;
  bool mFlipped;
};

constexpr LICE_Pixel32 kGuard = 0xA5A5A5A5u;

// A w x h bitmap inside a (w + 2) x (h + 2) block whose border must stay put.
struct GuardedBitmap {
  GuardedBitmap(int w, int h)
      : block(size_t((w + 2) * (h + 2)), kGuard), width(w), height(h),
        bitmap(block.data() + (w + 2) + 1, w, h, w + 2, false) {
    LICE_Clear(&bitmap, 0);
  }
  bool GuardsIntact() const {
    for (int y = 0; y < height + 2; ++y) {
      for (int x = 0; x < width + 2; ++x) {
        const bool border = x == 0 || y == 0 || x == width + 1 || y == height + 1;
        if (border && block[size_t(y * (width + 2) + x)] != kGuard) return false;
      }
    }
    return true;
  }
  std::vector<LICE_Pixel32> block;
  int width, height;
  SpanBitmap bitmap;
};

struct FlippedTestBitmap : SpanBitmap {
  FlippedTestBitmap(int w, int h) : SpanBitmap(nullptr, w, h, w, true), pixels(size_t(w * h), 0) {
    static_cast<SpanBitmap&>(*this) = SpanBitmap(pixels.data(), w, h, w, true);
  }
  std::vector<LICE_Pixel32> pixels;
};
