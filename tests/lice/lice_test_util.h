#pragma once
// Test bitmaps for lice/: exact-size heap pixels (so the sanitizer sees any
// read or write past the last pixel), optional bottom-up storage, and
// inaccessible pixels for checking that a call touches no memory at all.
#include <sys/mman.h>

#include <vector>

#include "lice/lice.h"

class TightBitmap : public LICE_IBitmap {
public:
  TightBitmap(int w, int h, bool flipped = false, int span = 0)
      : mW(w), mH(h), mSpan(span ? span : w), mFlipped(flipped),
        mPixels(new LICE_Pixel32[(size_t)mSpan * h]()) {}
  ~TightBitmap() override { delete[] mPixels; }
  LICE_Pixel32* getBits() override { return mPixels; }
  int getWidth() override { return mW; }
  int getHeight() override { return mH; }
  int getRowSpan() override { return mSpan; }
  bool isFlipped() override { return mFlipped; }
  bool resize(int, int) override { return false; }
  // Logical (x, y), honouring the storage order.
  LICE_Pixel32& at(int x, int y) {
    return mPixels[(size_t)(mFlipped ? mH - 1 - y : y) * mSpan + x];
  }
  void fill(LICE_Pixel32 v) {
    for (int y = 0; y < mH; ++y)
      for (int x = 0; x < mW; ++x) at(x, y) = v;
  }
  // Every pixel different: channel bytes from x, y and a salt.
  void pattern(int salt = 0) {
    for (int y = 0; y < mH; ++y)
      for (int x = 0; x < mW; ++x)
        at(x, y) = LICE_RGBA(x * 7 + salt, y * 13 + salt, x * 3 + y * 5, 40 + x + y * 11);
  }
  std::vector<LICE_Pixel32> snapshot() {
    std::vector<LICE_Pixel32> v;
    for (int y = 0; y < mH; ++y)
      for (int x = 0; x < mW; ++x) v.push_back(at(x, y));
    return v;
  }

private:
  int mW, mH, mSpan;
  bool mFlipped;
  LICE_Pixel32* mPixels;
};

// Claims a size but its pixels sit on a page that cannot be read or written:
// any access ends the test with a fault.
class ForbiddenBitmap : public LICE_IBitmap {
public:
  ForbiddenBitmap(int w, int h) : mW(w), mH(h) {
    mBytes = (size_t)w * h * 4 + 4096;
    mMem = mmap(nullptr, mBytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  }
  ~ForbiddenBitmap() override { munmap(mMem, mBytes); }
  LICE_Pixel32* getBits() override { return (LICE_Pixel32*)mMem; }
  int getWidth() override { return mW; }
  int getHeight() override { return mH; }
  int getRowSpan() override { return mW; }
  bool resize(int, int) override { return false; }

private:
  int mW, mH;
  size_t mBytes;
  void* mMem;
};
