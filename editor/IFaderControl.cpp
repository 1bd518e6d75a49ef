#include "editor/IFaderControl.h"

#include "detail/UnitValue.h"
#include "editor/IGraphics.h"

namespace {

IRECT TrackRect(int x, int y, int len, const IBitmap* handle, EDirection direction) {
  const int w = handle ? handle->FrameWidth() : 0, h = handle ? handle->FrameHeight() : 0;
  return direction == kVertical ? IRECT(x, y, x + w, y + len) : IRECT(x, y, x + len, y + h);
}

} // namespace

IFaderControl::IFaderControl(IPlugBase* plug, int x, int y, int len, int paramIdx, IBitmap* handle,
                             EDirection direction, bool onlyHandle)
    : IControl(plug, TrackRect(x, y, len, handle, direction), paramIdx), mLen(len),
      mDirection(direction), mOnlyHandle(onlyHandle) {
  if (handle) mBitmap = *handle;
  mHandleHeadroom = direction == kVertical ? mBitmap.FrameHeight() : mBitmap.FrameWidth();
}

IRECT IFaderControl::GetHandleRECT() const {
  const double travel = static_cast<double>(mLen) - mHandleHeadroom;
  const double value = HeldInUnit(GetValue());
  if (mDirection == kVertical) {
    const int offset = static_cast<int>(travel * (1.0 - value));
    return IRECT(mRECT.L, mRECT.T + offset, mRECT.R, mRECT.T + offset + mHandleHeadroom);
  }
  const int offset = static_cast<int>(travel * value);
  return IRECT(mRECT.L + offset, mRECT.T, mRECT.L + offset + mHandleHeadroom, mRECT.B);
}

bool IFaderControl::Draw(IGraphics* graphics) {
  IRECT handle = GetHandleRECT();
  return graphics->DrawBitmap(&mBitmap, &handle, 1, &mBlend);
}

bool IFaderControl::IsHit(int x, int y) {
  return mOnlyHandle ? GetHandleRECT().Contains(x, y) : IControl::IsHit(x, y);
}

void IFaderControl::OnMouseDown(int x, int y, IMouseMod* mod) {
  if (mod && mod->R) {
    PromptUserInput();
    return;
  }
  SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int, int, IMouseMod* mod) {
  if (mod && mod->R) return;
  SnapToMouse(x, y);
}

void IFaderControl::SnapToMouse(int x, int y) {
  const double travel = static_cast<double>(mLen) - mHandleHeadroom;
  if (travel > 0.0) {
    const int half = mHandleHeadroom / 2;
    if (mDirection == kVertical)
      SetValue(1.0 - (static_cast<double>(y) - mRECT.T - half) / travel);
    else
      SetValue((static_cast<double>(x) - mRECT.L - half) / travel);
  }
  SetDirty(true);
}
