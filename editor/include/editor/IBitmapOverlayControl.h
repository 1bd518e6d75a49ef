#pragma once
// A switch that shows its bitmap only while on (value 0.5 or more). While off
// it draws nothing and is hit in its own target area instead, so a click
// elsewhere (on a button in the background art, say) turns it on.
#include "editor/ISwitchControl.h"

class IBitmapOverlayControl : public ISwitchControl {
public:
  IBitmapOverlayControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                        IRECT* targetArea,
                        IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone)
      : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod),
        mTargetArea(targetArea ? *targetArea : mRECT) {}
  IBitmapOverlayControl(IPlugBase* plug, int x, int y, IBitmap* bitmap, IRECT* targetArea)
      : IBitmapOverlayControl(plug, x, y, -1, bitmap, targetArea) {}

  // Also switches the hit area: the overlay's own rectangle while on, the
  // stored target area while off.
  bool Draw(IGraphics* graphics) override;

protected:
  IRECT mTargetArea;
};
