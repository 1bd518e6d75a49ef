// PNG bytes of any kind decoded by LICE_LoadPNGFromMemory: either refused, or
// a bitmap of the image's size; the same bytes give the same pixels whether
// the loader makes the bitmap, fills one of the caller's, or fills one stored
// bottom-up.
#include <cstdint>
#include <memory>
#include <vector>

#include "FuzzInput.h"
#include "lice/lice.h"
#include "lice/lice_png.h"

namespace {

// A caller's bitmap stored bottom-up, as some platforms keep theirs.
class FlippedBitmap : public LICE_IBitmap {
public:
  LICE_Pixel32* getBits() override { return mPixels.empty() ? nullptr : mPixels.data(); }
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return mWidth; }
  bool isFlipped() override { return true; }
  bool resize(int w, int h) override {
    if (w == mWidth && h == mHeight) return false;
    if (w < 0 || h < 0) return false;
    mPixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    mWidth = w;
    mHeight = h;
    return true;
  }
  // Pixel (x, y) counted from the top row of the image.
  LICE_Pixel32 At(int x, int y) const {
    return mPixels[static_cast<size_t>(mHeight - 1 - y) * mWidth + x];
  }

private:
  std::vector<LICE_Pixel32> mPixels;
  int mWidth = 0, mHeight = 0;
};

bool SamePixels(LICE_IBitmap* a, LICE_IBitmap* b) {
  if (a->getWidth() != b->getWidth() || a->getHeight() != b->getHeight()) return false;
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x)
      if (a->getBits()[y * a->getRowSpan() + x] != b->getBits()[y * b->getRowSpan() + x])
        return false;
  return true;
}

bool SameAsFlipped(LICE_IBitmap* a, const FlippedBitmap& b, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (a->getBits()[y * a->getRowSpan() + x] != b.At(x, y)) return false;
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int len = static_cast<int>(size);
  std::unique_ptr<LICE_IBitmap> made(LICE_LoadPNGFromMemory(data, len));
  LICE_MemBitmap mine(3, 2);
  LICE_IBitmap* filled = LICE_LoadPNGFromMemory(data, len, &mine);
  FlippedBitmap flipped;
  LICE_IBitmap* filledFlipped = LICE_LoadPNGFromMemory(data, len, &flipped);
  FUZZ_CHECK(filled == nullptr || filled == &mine);
  FUZZ_CHECK(filledFlipped == nullptr || filledFlipped == &flipped);
  FUZZ_CHECK((made != nullptr) == (filled != nullptr) &&
             (made != nullptr) == (filledFlipped != nullptr));
  if (!made) return 0;

  const int w = made->getWidth(), h = made->getHeight();
  FUZZ_CHECK(w > 0 && h > 0 && made->getBits() != nullptr && made->getRowSpan() >= w);
  FUZZ_CHECK(SamePixels(made.get(), &mine));
  FUZZ_CHECK(flipped.getWidth() == w && flipped.getHeight() == h);
  FUZZ_CHECK(SameAsFlipped(made.get(), flipped, w, h));
  return 0;
}
