#pragma once
// A row or column of buttons in one picture: the control's rectangle is cut
// into one equal slice per frame, and clicking slice j shows frame j + 1
// (value j / (N - 1)). Prompting is enabled.
#include "editor/ISwitchControl.h"

class ISwitchFramesControl : public ISwitchControl {
public:
  // imagesAreHorizontal: the slices lie side by side; otherwise stacked.
  ISwitchFramesControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                       bool imagesAreHorizontal = false,
                       IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  // A strip of one frame has one slice and toggles as a switch does.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;

  // The slice under the point, or -1 when the point is in none.
  int SliceAt(int x, int y) const;
  // Slice j of the control's rectangle, j counted from 0.
  IRECT SliceRECT(int j) const;

protected:
  bool mImagesAreHorizontal;
};
