#pragma once
// A group of n buttons, each drawn from a two-frame bitmap (frame 1 off,
// frame 2 on), spread evenly across the control's rectangle from the top or
// left (from the bottom or right when reversed). Button k stands for the
// value k / (n - 1); the one nearest the value is lit.
#include "editor/IControl.h"
#include "editor/IKnobControl.h"

class IRadioButtonsControl : public IControl {
public:
  // Fewer than one button counts as one.
  IRadioButtonsControl(IPlugBase* plug, IRECT rect, int paramIdx, int nButtons, IBitmap* bitmap,
                       EDirection direction = kVertical, bool reverse = false);

  bool Draw(IGraphics* graphics) override;
  // Right button: a prompt; otherwise the button under the pointer sets the value.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;

  int NButtons() const { return mNButtons; }
  // Button i's rectangle, i counted from 0.
  IRECT ButtonRECT(int i) const;
  // The button under the point (the one drawn last where buttons overlap), or -1.
  int ButtonAt(int x, int y) const;
  // The lit button for the current value.
  int LitButton() const;

protected:
  IBitmap mBitmap;
  int mNButtons;
  EDirection mDirection;
  bool mReverse;
};
