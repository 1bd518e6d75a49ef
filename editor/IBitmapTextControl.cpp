#include "editor/IBitmapTextControl.h"

#include "editor/IGraphics.h"

IBitmapTextControl::IBitmapTextControl(IPlugBase* plug, IRECT rect, IBitmap* glyphs,
                                       const char* str, IText* text, int charWidth, int charHeight,
                                       int charOffset)
    : IControl(plug, rect), mStr(str), mCharWidth(charWidth), mCharHeight(charHeight),
      mCharOffset(charOffset) {
  if (glyphs) mGlyphs = *glyphs;
  if (text) mText = *text;
}

bool IBitmapTextControl::Draw(IGraphics* graphics) {
  char str[SharedText::kCapacity + 1];
  if (mStr.Get(str) > 0)
    graphics->DrawBitmapedText(&mGlyphs, &mRECT, &mText, &mBlend, str, mCharWidth, mCharHeight,
                               mCharOffset);
  return true;
}

void IBitmapTextControl::SetTextFromPlug(const char* str) {
  // The text first, then the flags, as ITextControl does.
  if (!mStr.Set(str)) return;
  SetDirty(false);
  Redraw();
}
