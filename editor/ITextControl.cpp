#include "editor/ITextControl.h"

#include "editor/IGraphics.h"

ITextControl::ITextControl(IPlugBase* plug, IRECT rect, IText* text, const char* str)
    : IControl(plug, rect), mStr(str) {
  if (text) mText = *text;
}

bool ITextControl::Draw(IGraphics* graphics) {
  char str[SharedText::kCapacity + 1];
  if (mStr.Get(str) > 0) graphics->DrawIText(&mText, str, &mRECT);
  return true;
}

void ITextControl::SetTextFromPlug(const char* str) {
  // The text first, then the flags: a pass that has already read the old text
  // keeps the control dirty through the redraw request.
  if (!mStr.Set(str)) return;
  SetDirty(false);
  Redraw();
}
