#include "editor/ISwitchControl.h"

void ISwitchControl::OnMouseDown(int, int, IMouseMod*) {
  const int n = mBitmap.Frames();
  double value = GetValue() + (n < 2 ? 1.0 : 1.0 / (n - 1));
  // The margin absorbs the rounding of repeated steps, so the last frame is
  // reached before the wrap.
  if (value > 1.001 || value != value) value = 0.0;
  SetValue(value);
  SetDirty(true);
}

void ISwitchPopUpControl::OnMouseDown(int, int, IMouseMod*) {
  PromptUserInput();
  SetDirty(true);
}

void IContactControl::OnMouseUp(int, int, IMouseMod*) {
  SetValue(0.0);
  SetDirty(true);
}
