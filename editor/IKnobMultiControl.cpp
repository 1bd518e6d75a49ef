#include "editor/IKnobMultiControl.h"

#include "editor/IBitmapControl.h"
#include "editor/IGraphics.h"

namespace {

IRECT FrameRect(int x, int y, const IBitmap* bitmap) {
  if (!bitmap) return IRECT(x, y, x, y);
  return IRECT(x, y, x + bitmap->W, y + bitmap->H / bitmap->Frames());
}

} // namespace

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                     EDirection direction, double gearing)
    : IKnobControl(plug, FrameRect(x, y, bitmap), paramIdx, direction, gearing) {
  if (bitmap) mBitmap = *bitmap;
}

bool IKnobMultiControl::Draw(IGraphics* graphics) {
  return graphics->DrawBitmap(&mBitmap, &mRECT, FrameForValue(GetValue(), mBitmap.Frames()),
                              &mBlend);
}
