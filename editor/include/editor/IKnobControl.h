#pragma once
// The base of knobs: a vertical or horizontal drag moves the value by the
// distance over the knob's size and the gearing (ten times finer with
// control or shift held).
#include "editor/IControl.h"

enum EDirection { kVertical = 0, kHorizontal };

class IKnobControl : public IControl {
public:
  IKnobControl(IPlugBase* plug, IRECT rect, int paramIdx, EDirection direction = kVertical,
               double gearing = 4.0)
      : IControl(plug, rect, paramIdx), mDirection(direction), mGearing(gearing) {}

  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) override;
  void SetGearing(double gearing) { mGearing = gearing; }
  double GetGearing() const { return mGearing; }

protected:
  EDirection mDirection;
  double mGearing;
};
