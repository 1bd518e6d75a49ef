#include <climits>
#include <cstdint>
#include <cstdlib>

#include "lice/lice.h"

// Every allocation carries this many spare bytes so getBits can round the
// address up to a 64-byte boundary.
static const int kAlignSlack = 63;

LICE_MemBitmap::LICE_MemBitmap(int w, int h, unsigned int linealign) {
  if (linealign >= 2) {
    const unsigned int lowestBit = linealign & (0u - linealign);
    // Alignments above 16 pixels are capped with a mask of 16, not 15: kept
    // because existing bitmaps' row spans depend on it.
    mLineAlignMask = lowestBit - 1 > 16 ? 16 : (int)(lowestBit - 1);
  }
  if (w || h) resize(w, h);
}

LICE_MemBitmap::~LICE_MemBitmap() {
  free(mFb);
}

LICE_Pixel32* LICE_MemBitmap::getBits() {
  if (!mFb) return nullptr;
  const uintptr_t aligned = ((uintptr_t)mFb + kAlignSlack) & ~(uintptr_t)kAlignSlack;
  return (LICE_Pixel32*)aligned;
}

int LICE_MemBitmap::getRowSpan() {
  // resize only accepts widths whose padded span fits in an int.
  return (int)(((int64_t)mWidth + mLineAlignMask) & ~(int64_t)mLineAlignMask);
}

bool LICE_MemBitmap::resize(int w, int h) {
  if (w == mWidth && h == mHeight) return false;
  const int64_t span = ((int64_t)w + mLineAlignMask) & ~(int64_t)mLineAlignMask;
  // The allocated size is an int: anything larger counts as a failed
  // allocation rather than a size that wraps. Dividing first keeps the check
  // itself from overflowing.
  const int64_t maxBytes = (int64_t)INT_MAX - kAlignSlack;
  const bool tooLarge = w > 0 && h > 0 && span > maxBytes / 4 / h;
  const int64_t needed = (w > 0 && h > 0 && !tooLarge) ? (int64_t)h * span * 4 : 0;
  if (needed <= 0 || tooLarge) {
    free(mFb);
    mFb = nullptr;
    mAllocSize = 0;
    mWidth = mHeight = 0;
    return true;
  }
  mWidth = w;
  mHeight = h;
  if (!mFb) {
    mFb = (unsigned char*)malloc((size_t)needed + kAlignSlack);
    mAllocSize = mFb ? (int)needed : 0;
  } else if (mAllocSize < needed) {
    int64_t grown = needed / 4 * 5;
    if (grown > (int64_t)INT_MAX - kAlignSlack) grown = needed;
    unsigned char* p = (unsigned char*)realloc(mFb, (size_t)grown + kAlignSlack);
    if (p) {
      mFb = p;
      mAllocSize = (int)grown;
    } else {
      free(mFb);
      mFb = (unsigned char*)malloc((size_t)needed + kAlignSlack);
      mAllocSize = mFb ? (int)needed : 0;
    }
  }
  if (!mFb) mWidth = mHeight = 0;
  return true;
}
