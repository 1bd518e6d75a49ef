#include "editor/IKnobControl.h"

void IKnobControl::OnMouseDrag(int, int, int dX, int dY, IMouseMod* mod) {
  double gearing = mGearing;
  if (mod && (mod->C || mod->S)) gearing *= 10.0;
  // A knob of no size or a gearing of 0 would step by infinity or NaN.
  const double span = mDirection == kVertical ? static_cast<double>(mRECT.T) - mRECT.B
                                              : static_cast<double>(mRECT.R) - mRECT.L;
  if (span == 0.0 || gearing == 0.0 || gearing != gearing) return;
  const double delta = mDirection == kVertical ? dY : dX;
  SetValue(GetValue() + delta / span / gearing);
  SetDirty(true);
}
