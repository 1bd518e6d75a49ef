#include "editor/IKnobRotaterControl.h"

#include "detail/UnitValue.h"
#include "editor/IGraphics.h"

namespace {

IRECT BitmapRect(int x, int y, const IBitmap* bitmap) {
  return bitmap ? IRECT(x, y, x + bitmap->W, y + bitmap->H) : IRECT(x, y, x, y);
}

} // namespace

IKnobRotaterControl::IKnobRotaterControl(IPlugBase* plug, int x, int y, int paramIdx,
                                         IBitmap* bitmap, double minAngle, double maxAngle,
                                         int yOffsetZeroDeg, EDirection direction, double gearing)
    : IKnobControl(plug, BitmapRect(x, y, bitmap), paramIdx, direction, gearing),
      mMinAngle(minAngle), mMaxAngle(maxAngle), mYOffset(yOffsetZeroDeg) {
  if (bitmap) mBitmap = *bitmap;
}

double IKnobRotaterControl::GetAngle() const {
  return mMinAngle + HeldInUnit(GetValue()) * (mMaxAngle - mMinAngle);
}

bool IKnobRotaterControl::Draw(IGraphics* graphics) {
  const int cx = static_cast<int>(mRECT.MW()), cy = static_cast<int>(mRECT.MH());
  return graphics->DrawRotatedBitmap(&mBitmap, cx, cy, GetAngle(), mYOffset, &mBlend);
}

IKnobRotatingMaskControl::IKnobRotatingMaskControl(IPlugBase* plug, int x, int y, int paramIdx,
                                                   IBitmap* base, IBitmap* mask, IBitmap* top,
                                                   double minAngle, double maxAngle,
                                                   EDirection direction, double gearing)
    : IKnobControl(plug, BitmapRect(x, y, base), paramIdx, direction, gearing), mMinAngle(minAngle),
      mMaxAngle(maxAngle) {
  if (base) mBase = *base;
  if (mask) mMask = *mask;
  if (top) mTop = *top;
}

double IKnobRotatingMaskControl::GetAngle() const {
  return mMinAngle + HeldInUnit(GetValue()) * (mMaxAngle - mMinAngle);
}

bool IKnobRotatingMaskControl::Draw(IGraphics* graphics) {
  return graphics->DrawRotatedMask(&mBase, &mMask, &mTop, mRECT.L, mRECT.T, GetAngle(), &mBlend);
}
