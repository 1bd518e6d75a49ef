// Bitmap handles from the module-wide cache and the bitmap drawing operations.
#include <cmath>

#include "editor/IGraphics.h"
#include "editor/ModuleCaches.h"
#include "lice/lice.h"

namespace {

long long Clamp64(long long v, long long lo, long long hi) {
  return v < lo ? lo : v > hi ? hi : v;
}

// Source offset of a frame counted from 1; frames past the strip show the last.
int FrameOffset(int bmpState, int nFrames, int size) {
  if (nFrames < 2 || bmpState < 2) return 0;
  const int frame = bmpState > nFrames ? nFrames : bmpState;
  return static_cast<int>((frame - 1) * static_cast<double>(size) / nFrames + 0.5);
}

} // namespace

IBitmap IGraphics::LoadIBitmap(int ID, const char* name, int nStates, bool framesAreHoriz) {
  BitmapStorage& cache = BitmapCache();
  // One hold over look-up and load: two editors never decode the same resource.
  WDL_MutexLock hold(cache.Mutex());
  LICE_IBitmap* bitmap = cache.Find(ID);
  if (!bitmap) {
    bitmap = OSLoadBitmap(ID, name);
    if (bitmap && !AddModuleBitmap(bitmap, ID)) bitmap = nullptr;
  }
  if (!bitmap) return IBitmap(nullptr, 0, 0, nStates, framesAreHoriz);
  return IBitmap(bitmap, bitmap->getWidth(), bitmap->getHeight(), nStates, framesAreHoriz);
}

void IGraphics::RetainBitmap(IBitmap* bitmap) {
  // Retaining twice must not make the cache delete the bitmap twice.
  if (bitmap && bitmap->mData && !BitmapCache().Contains(bitmap->mData)) {
    if (!AddModuleBitmap(bitmap->mData, -1)) bitmap->mData = nullptr;
  }
}

void IGraphics::ReleaseBitmap(IBitmap* bitmap) {
  if (!bitmap || !bitmap->mData) return;
  BitmapCache().Remove(bitmap->mData);
  bitmap->mData = nullptr;
}

IBitmap IGraphics::ScaleBitmap(IBitmap* bitmap, int w, int h) {
  if (!bitmap || !bitmap->mData || w <= 0 || h <= 0) return IBitmap();
  LICE_MemBitmap* scaled = new LICE_MemBitmap(w, h, 4);
  if (scaled->getWidth() != w || scaled->getHeight() != h) {
    delete scaled;
    return IBitmap();
  }
  LICE_IBitmap* src = bitmap->mData;
  LICE_ScaledBlit(scaled, src, 0, 0, w, h, 0.0f, 0.0f, static_cast<float>(src->getWidth()),
                  static_cast<float>(src->getHeight()), 1.0f, LICE_MODE_FILTER_BILINEAR);
  if (!AddModuleBitmap(scaled, -1)) return IBitmap();
  return IBitmap(scaled, w, h, bitmap->N, false);
}

IBitmap IGraphics::CropBitmap(IBitmap* bitmap, IRECT* rect) {
  if (!bitmap || !bitmap->mData || !rect || rect->W() <= 0 || rect->H() <= 0) return IBitmap();
  const int w = rect->W(), h = rect->H();
  LICE_MemBitmap* cropped = new LICE_MemBitmap(w, h, 4);
  if (cropped->getWidth() != w || cropped->getHeight() != h) {
    delete cropped;
    return IBitmap();
  }
  LICE_Blit(cropped, bitmap->mData, 0, 0, rect->L, rect->T, w, h, 1.0f, LICE_MODE_COPY);
  if (!AddModuleBitmap(cropped, -1)) return IBitmap();
  return IBitmap(cropped, w, h, bitmap->N, false);
}

bool IGraphics::BlitClipped(LICE_IBitmap* src, const IRECT& dest, int srcX, int srcY,
                            const IChannelBlend* blend) {
  if (!src || !mDrawBitmap) return false;
  const IRECT clipped = dest.Intersect(mDrawRECT);
  // Then the canvas and the source: callers' offsets and sizes are not trusted.
  long long l = Clamp64(clipped.L, 0, mDrawBitmap->getWidth());
  long long t = Clamp64(clipped.T, 0, mDrawBitmap->getHeight());
  long long r = Clamp64(clipped.R, 0, mDrawBitmap->getWidth());
  long long b = Clamp64(clipped.B, 0, mDrawBitmap->getHeight());
  const long long sx0 = static_cast<long long>(srcX) - dest.L,
                  sy0 = static_cast<long long>(srcY) - dest.T;
  l = std::max(l, -sx0);
  t = std::max(t, -sy0);
  r = std::min(r, src->getWidth() - sx0);
  b = std::min(b, src->getHeight() - sy0);
  if (r <= l || b <= t) return true;
  LICE_Blit(mDrawBitmap, src, static_cast<int>(l), static_cast<int>(t), static_cast<int>(sx0 + l),
            static_cast<int>(sy0 + t), static_cast<int>(r - l), static_cast<int>(b - t),
            LiceBlendWeight(blend), LiceBlendMode(blend));
  return true;
}

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY,
                           const IChannelBlend* blend) {
  if (!bitmap || !bitmap->mData || !dest) return false;
  return BlitClipped(bitmap->mData, *dest, srcX, srcY, blend);
}

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int bmpState, const IChannelBlend* blend) {
  if (!bitmap || !bitmap->mData || !dest) return false;
  const int n = bitmap->Frames();
  const int srcX = bitmap->mFramesAreHorizontal ? FrameOffset(bmpState, n, bitmap->W) : 0;
  const int srcY = bitmap->mFramesAreHorizontal ? 0 : FrameOffset(bmpState, n, bitmap->H);
  return BlitClipped(bitmap->mData, *dest, srcX, srcY, blend);
}

bool IGraphics::DrawRotatedBitmap(IBitmap* bitmap, int destCtrX, int destCtrY, double angle,
                                  int yOffsetZeroDeg, const IChannelBlend* blend) {
  if (!bitmap || !bitmap->mData || !mDrawBitmap) return false;
  LICE_IBitmap* src = bitmap->mData;
  const int w = src->getWidth(), h = src->getHeight();
  LICE_RotatedBlit(mDrawBitmap, src, destCtrX - w / 2, destCtrY - h / 2, w, h, 0.0f, 0.0f,
                   static_cast<float>(w), static_cast<float>(h), static_cast<float>(angle), false,
                   LiceBlendWeight(blend), LiceBlendMode(blend) | LICE_MODE_FILTER_BILINEAR, 0.0f,
                   static_cast<float>(yOffsetZeroDeg));
  return true;
}

bool IGraphics::DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y,
                                double angle, const IChannelBlend* blend) {
  if (!base || !base->mData || !mDrawBitmap) return false;
  if (!mTmpBitmap) mTmpBitmap = new LICE_MemBitmap(0, 0, 4);
  LICE_Copy(mTmpBitmap, base->mData);
  const int w = base->mData->getWidth(), h = base->mData->getHeight();
  LICE_ClearRect(mTmpBitmap, 0, 0, w, h, 0xFFFFFF00, 0);
  const float radians = static_cast<float>(angle * M_PI / 180.0);
  const float xCentre = (w & 1) ? -0.5f : 0.0f;
  const float fw = static_cast<float>(w), fh = static_cast<float>(h);
  if (mask && mask->mData)
    LICE_RotatedBlit(mTmpBitmap, mask->mData, 0, 0, w, h, 0.0f, 0.0f, fw, fh, radians, true, 1.0f,
                     LICE_MODE_ADD | LICE_MODE_FILTER_BILINEAR | LICE_MODE_USE_ALPHA, xCentre,
                     0.0f);
  if (top && top->mData)
    LICE_RotatedBlit(mTmpBitmap, top->mData, 0, 0, w, h, 0.0f, 0.0f, fw, fh, radians, true, 1.0f,
                     LICE_MODE_COPY | LICE_MODE_FILTER_BILINEAR | LICE_MODE_USE_ALPHA, xCentre,
                     0.0f);
  const IRECT dest(x, y,
                   static_cast<int>(Clamp64(static_cast<long long>(x) + w, INT32_MIN, INT32_MAX)),
                   static_cast<int>(Clamp64(static_cast<long long>(y) + h, INT32_MIN, INT32_MAX)));
  return BlitClipped(mTmpBitmap, dest, 0, 0, blend);
}
