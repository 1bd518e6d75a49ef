#include "editor/IBitmapControl.h"

#include "editor/IGraphics.h"

IRECT FrameRect(int x, int y, const IBitmap* bitmap) {
  if (!bitmap) return IRECT(x, y, x, y);
  return IRECT(x, y, x + bitmap->W, y + bitmap->H / bitmap->Frames());
}

int FrameForValue(double value, int nFrames) {
  if (nFrames < 2) return 1;
  const double scaled = (nFrames - 1) * value + 0.5;
  // Compared as doubles first: a wild value must not overflow the int.
  if (!(scaled >= 0.0)) return 1;
  if (scaled >= nFrames) return nFrames;
  const int i = static_cast<int>(scaled);
  return i >= nFrames ? nFrames : i + 1;
}

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                               IChannelBlend::EBlendMethod blendMethod)
    : IControl(plug, FrameRect(x, y, bitmap), paramIdx, blendMethod) {
  if (bitmap) mBitmap = *bitmap;
}

bool IBitmapControl::Draw(IGraphics* graphics) {
  return graphics->DrawBitmap(&mBitmap, &mRECT, FrameForValue(GetValue(), mBitmap.Frames()),
                              &mBlend);
}
