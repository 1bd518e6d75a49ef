#pragma once
// A line of text in a style; readouts the plug-in rewrites when a parameter
// changes. The text is short (SharedText::kCapacity bytes) and may be
// replaced from any thread while the editor draws it.
#include "editor/IControl.h"
#include "editor/SharedText.h"

class ITextControl : public IControl {
public:
  ITextControl(IPlugBase* plug, IRECT rect, IText* text, const char* str = "");

  bool Draw(IGraphics* graphics) override;
  // Never blocks or allocates; marks the control dirty only when the text changes.
  void SetTextFromPlug(const char* str);
  // Copies the current text into out (SharedText::kCapacity + 1 bytes).
  int GetTextCopy(char* out) const { return mStr.Get(out); }
  bool TextEquals(const char* str) const { return mStr.Equals(str); }

protected:
  SharedText mStr;
};
