#pragma once
// A rectangle filled with one colour.
#include "editor/IColor.h"
#include "editor/IControl.h"

class IPanelControl : public IControl {
public:
  IPanelControl(IPlugBase* plug, IRECT rect, const IColor* color)
      : IControl(plug, rect), mColor(color ? *color : COLOR_BLACK) {}

  bool Draw(IGraphics* graphics) override;

protected:
  IColor mColor;
};
