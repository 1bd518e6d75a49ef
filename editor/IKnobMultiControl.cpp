#include "editor/IKnobMultiControl.h"

#include "editor/IBitmapControl.h"
#include "editor/IGraphics.h"

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                     EDirection direction, double gearing)
    : IKnobControl(plug, FrameRect(x, y, bitmap), paramIdx, direction, gearing) {
  if (bitmap) mBitmap = *bitmap;
}

bool IKnobMultiControl::Draw(IGraphics* graphics) {
  return graphics->DrawBitmap(&mBitmap, &mRECT, FrameForValue(GetValue(), mBitmap.Frames()),
                              &mBlend);
}
