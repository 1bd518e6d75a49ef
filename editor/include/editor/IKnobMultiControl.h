#pragma once
// A knob drawn as one frame of a film strip: the first frame at 0, the last at 1.
#include "editor/IKnobControl.h"

class IKnobMultiControl : public IKnobControl {
public:
  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                    EDirection direction = kVertical, double gearing = 4.0);

  bool Draw(IGraphics* graphics) override;

protected:
  IBitmap mBitmap;
};
