#pragma once
// A line of text drawn from a glyph strip (one frame per character from the
// space on) instead of a font. The text is replaced as an ITextControl's is.
#include "editor/IControl.h"
#include "editor/SharedText.h"

class IBitmapTextControl : public IControl {
public:
  IBitmapTextControl(IPlugBase* plug, IRECT rect, IBitmap* glyphs, const char* str = "",
                     IText* text = nullptr, int charWidth = 6, int charHeight = 12,
                     int charOffset = 0);

  bool Draw(IGraphics* graphics) override;
  // Never blocks or allocates; marks the control dirty only when the text changes.
  void SetTextFromPlug(const char* str);
  bool TextEquals(const char* str) const { return mStr.Equals(str); }

protected:
  IBitmap mGlyphs;
  SharedText mStr;
  int mCharWidth, mCharHeight, mCharOffset;
};
