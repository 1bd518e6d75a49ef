#include <climits>
#include <cstdint>

#include "lice/lice.h"

LICE_SysBitmap::LICE_SysBitmap(int w, int h) {
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap() {
  if (mDC) SWELL_DeleteGfxContext(mDC);
}

bool LICE_SysBitmap::resize(int w, int h) {
  if (w == mWidth && h == mHeight) return false;
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  mWidth = w;
  mHeight = h;
  // Shrinking keeps the context and its wider rows, so repeated resizes of
  // the editor bitmap do not reallocate.
  if (w && h && mRowSpan >= w && mAllocHeight >= h && mBits) return true;

  const int64_t span = ((int64_t)w + 3) & ~(int64_t)3;
  if (mDC) SWELL_DeleteGfxContext(mDC);
  mDC = nullptr;
  mBits = nullptr;
  mRowSpan = 0;
  mAllocHeight = 0;
  // A span or size that does not fit the context's int arithmetic is refused
  // like a failed allocation: no pixels, no size.
  if (!w || !h || span > ((int64_t)INT_MAX - 63) / 4 / h) {
    mWidth = mHeight = 0;
    return w && h;
  }
  mDC = SWELL_CreateMemContext(nullptr, (int)span, h);
  mBits = mDC ? (LICE_Pixel32*)SWELL_GetCtxFrameBuffer(mDC) : nullptr;
  if (!mBits) {
    if (mDC) SWELL_DeleteGfxContext(mDC);
    mDC = nullptr;
    mWidth = mHeight = 0;
    return true;
  }
  mRowSpan = (int)span;
  mAllocHeight = h;
  return true;
}
