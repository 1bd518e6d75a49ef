#pragma once
// A bitmap, or one frame of a film strip chosen by the value.
#include "editor/IControl.h"

class IBitmapControl : public IControl {
public:
  // The rectangle is one frame of the bitmap at (x, y).
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  IBitmapControl(IPlugBase* plug, int x, int y, IBitmap* bitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone)
      : IBitmapControl(plug, x, y, -1, bitmap, blendMethod) {}

  bool Draw(IGraphics* graphics) override;
  const IBitmap* GetBitmap() const { return &mBitmap; }

protected:
  IBitmap mBitmap;
};

// The rectangle at (x, y) of the strip's width and one frame's height (as
// stacked frames would give, whatever the strip's orientation).
IRECT FrameRect(int x, int y, const IBitmap* bitmap);

// The frame (1..N) that shows a normalized value: the frames change at the
// midpoints between their values, and values outside 0..1 hold the ends.
int FrameForValue(double value, int nFrames);
