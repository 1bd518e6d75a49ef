#pragma once
// A text control that shows its parameter's display text (with named values)
// and, when asked, the parameter's label after a space. A click or a double
// click opens the prompt, which stays disabled until the owner enables it.
#include "editor/ITextControl.h"

class ICaptionControl : public ITextControl {
public:
  ICaptionControl(IPlugBase* plug, IRECT rect, int paramIdx, IText* text,
                  bool showParamLabel = true);

  // The text of the value the control holds: the plug-in's value as it last
  // reached the editor, read without the plug-in's lock.
  bool Draw(IGraphics* graphics) override;
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;

  // The caption for the current value into text (at least kCaptionLength
  // bytes); false, leaving text alone, without a parameter.
  static const int kCaptionLength = 2 * 32 + 2;
  bool GetCaption(char* text) const;

protected:
  bool mShowParamLabel;
};
