#pragma once
// A knob drawn as one antialiased line from the rectangle's centre, pointing
// at the angle of its value (radians, 0 up, growing clockwise) between an
// inner and an outer radius.
#include <cmath>

#include "editor/IColor.h"
#include "editor/IKnobControl.h"

class IKnobLineControl : public IKnobControl {
public:
  // An outer radius of 0 reaches half the rectangle's width.
  IKnobLineControl(IPlugBase* plug, IRECT rect, int paramIdx, const IColor* color,
                   double innerRadius = 0.0, double outerRadius = 0.0,
                   double minAngle = -0.75 * M_PI, double maxAngle = 0.75 * M_PI,
                   EDirection direction = kVertical, double gearing = 4.0);

  bool Draw(IGraphics* graphics) override;
  // The angle the line points at for the current value.
  float GetAngle() const;

protected:
  IColor mColor;
  float mMinAngle, mMaxAngle, mInnerRadius, mOuterRadius;
};
