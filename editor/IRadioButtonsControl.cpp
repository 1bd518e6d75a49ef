#include "editor/IRadioButtonsControl.h"

#include "editor/IGraphics.h"

IRadioButtonsControl::IRadioButtonsControl(IPlugBase* plug, IRECT rect, int paramIdx, int nButtons,
                                           IBitmap* bitmap, EDirection direction, bool reverse)
    : IControl(plug, rect, paramIdx), mNButtons(nButtons < 1 ? 1 : nButtons), mDirection(direction),
      mReverse(reverse) {
  if (bitmap) mBitmap = *bitmap;
}

IRECT IRadioButtonsControl::ButtonRECT(int i) const {
  const int w = mBitmap.FrameWidth(), h = mBitmap.FrameHeight();
  const int slot = mReverse ? mNButtons - 1 - i : i;
  // The first and last buttons touch the ends; one button sits at the start.
  const long long room = mDirection == kHorizontal ? mRECT.W() - w : mRECT.H() - h;
  const long long offset = mNButtons < 2 ? 0 : slot * room / (mNButtons - 1);
  const int x = mDirection == kHorizontal ? static_cast<int>(mRECT.L + offset) : mRECT.L;
  const int y = mDirection == kHorizontal ? mRECT.T : static_cast<int>(mRECT.T + offset);
  return IRECT(x, y, x + w, y + h);
}

int IRadioButtonsControl::ButtonAt(int x, int y) const {
  for (int i = mNButtons - 1; i >= 0; --i)
    if (ButtonRECT(i).Contains(x, y)) return i;
  return -1;
}

int IRadioButtonsControl::LitButton() const {
  const double scaled = 0.5 + GetValue() * (mNButtons - 1);
  if (!(scaled >= 1.0)) return 0; // also NaN
  return scaled >= mNButtons ? mNButtons - 1 : static_cast<int>(scaled);
}

bool IRadioButtonsControl::Draw(IGraphics* graphics) {
  const int lit = LitButton();
  for (int i = 0; i < mNButtons; ++i) {
    IRECT button = ButtonRECT(i);
    graphics->DrawBitmap(&mBitmap, &button, i == lit ? 2 : 1, &mBlend);
  }
  return true;
}

void IRadioButtonsControl::OnMouseDown(int x, int y, IMouseMod* mod) {
  if (mod && mod->R) {
    PromptUserInput();
    return;
  }
  const int j = ButtonAt(x, y);
  if (j < 0) return;
  // A single button stands for 0.
  SetValue(mNButtons < 2 ? 0.0 : static_cast<double>(j) / (mNButtons - 1));
  SetDirty(true);
}
