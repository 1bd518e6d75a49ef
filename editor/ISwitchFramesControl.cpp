#include "editor/ISwitchFramesControl.h"

ISwitchFramesControl::ISwitchFramesControl(IPlugBase* plug, int x, int y, int paramIdx,
                                           IBitmap* bitmap, bool imagesAreHorizontal,
                                           IChannelBlend::EBlendMethod blendMethod)
    : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod),
      mImagesAreHorizontal(imagesAreHorizontal) {
  DisablePrompt(false);
}

IRECT ISwitchFramesControl::SliceRECT(int j) const {
  const long long n = mBitmap.Frames();
  // Edges at j x size / N in 64 bits: the slices tile the rectangle exactly.
  if (mImagesAreHorizontal) {
    const long long w = mRECT.W();
    return IRECT(static_cast<int>(mRECT.L + j * w / n), mRECT.T,
                 static_cast<int>(mRECT.L + (j + 1) * w / n), mRECT.B);
  }
  const long long h = mRECT.H();
  return IRECT(mRECT.L, static_cast<int>(mRECT.T + j * h / n), mRECT.R,
               static_cast<int>(mRECT.T + (j + 1) * h / n));
}

int ISwitchFramesControl::SliceAt(int x, int y) const {
  if (!mRECT.Contains(x, y)) return -1;
  const long long n = mBitmap.Frames();
  const long long offset = mImagesAreHorizontal ? static_cast<long long>(x) - mRECT.L
                                                : static_cast<long long>(y) - mRECT.T;
  const long long size = mImagesAreHorizontal ? mRECT.W() : mRECT.H();
  // The j with floor(j x size / N) <= offset < floor((j + 1) x size / N),
  // the slice SliceRECT gives.
  return static_cast<int>(((offset + 1) * n - 1) / size);
}

void ISwitchFramesControl::OnMouseDown(int x, int y, IMouseMod* mod) {
  const int n = mBitmap.Frames();
  if (n < 2) return ISwitchControl::OnMouseDown(x, y, mod);
  const int j = SliceAt(x, y);
  if (j < 0) return;
  SetValue(static_cast<double>(j) / (n - 1));
  SetDirty(true);
}
