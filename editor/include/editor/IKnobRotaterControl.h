#pragma once
// Knobs drawn by turning bitmaps: a whole bitmap rotated about the
// rectangle's centre, or a base with a rotated mask and top layer.
#include <cmath>

#include "editor/IKnobControl.h"

class IKnobRotaterControl : public IKnobControl {
public:
  // Angles in radians (0 up, growing clockwise); the rectangle is the
  // bitmap's at (x, y). yOffsetZeroDeg moves the centre of rotation down.
  IKnobRotaterControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                      double minAngle = -0.75 * M_PI, double maxAngle = 0.75 * M_PI,
                      int yOffsetZeroDeg = 0, EDirection direction = kVertical,
                      double gearing = 4.0);

  bool Draw(IGraphics* graphics) override;
  double GetAngle() const;

protected:
  IBitmap mBitmap;
  double mMinAngle, mMaxAngle;
  int mYOffset;
};

class IKnobRotatingMaskControl : public IKnobControl {
public:
  // Angles in degrees; the rectangle is the base bitmap's at (x, y).
  IKnobRotatingMaskControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* base,
                           IBitmap* mask, IBitmap* top, double minAngle = -135.0,
                           double maxAngle = 135.0, EDirection direction = kVertical,
                           double gearing = 4.0);

  bool Draw(IGraphics* graphics) override;
  double GetAngle() const;

protected:
  IBitmap mBase, mMask, mTop;
  double mMinAngle, mMaxAngle;
};
