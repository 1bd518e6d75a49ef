#pragma once
// Switches drawn as one frame of a film strip: a click steps to the next
// frame (wrapping to the first), a popup of the parameter's values, or a
// momentary contact that returns to 0 on release.
#include "editor/IBitmapControl.h"

class ISwitchControl : public IBitmapControl {
public:
  ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone)
      : IBitmapControl(plug, x, y, paramIdx, bitmap, blendMethod) {}

  // One frame's step up (0 to 1 for strips of fewer than two frames); past
  // the last frame it wraps to 0.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override { OnMouseDown(x, y, mod); }
};

// Opens the parameter's values as a popup menu (or a text entry for
// parameters without named values). Prompting is enabled from the start:
// it is all the control does.
class ISwitchPopUpControl : public ISwitchControl {
public:
  ISwitchPopUpControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                      IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone)
      : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod) {
    DisablePrompt(false);
  }

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
};

// A momentary button: down as a switch, back to 0 on release.
class IContactControl : public ISwitchControl {
public:
  using ISwitchControl::ISwitchControl;

  void OnMouseUp(int x, int y, IMouseMod* mod) override;
};
