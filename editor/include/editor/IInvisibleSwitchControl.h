#pragma once
// An invisible click area over the background art that toggles its
// parameter between 0 and 1.
#include "editor/IControl.h"

class IInvisibleSwitchControl : public IControl {
public:
  IInvisibleSwitchControl(IPlugBase* plug, IRECT rect, int paramIdx)
      : IControl(plug, rect, paramIdx) {}

  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int, int, IMouseMod*) override {
    SetValue(GetValue() < 0.5 ? 1.0 : 0.0);
    SetDirty(true);
  }
};
