#pragma once
// A text style. The font is created on first use and kept in mCached.
#include <cstdio>

#include "editor/IColor.h"

class LICE_IFont;

struct IText {
  enum EStyle { kStyleNormal = 0, kStyleBold, kStyleItalic };
  enum EAlign { kAlignNear = 0, kAlignCenter, kAlignFar };
  enum EQuality {
    kQualityDefault = 0,
    kQualityNonAntiAliased,
    kQualityAntiAliased,
    kQualityClearType
  };
  static const int kFontNameLength = 32;

  char mFont[kFontNameLength] = "Monaco";
  int mSize = 10;
  IColor mColor = DEFAULT_TEXT_COLOR;
  IColor mTextEntryBGColor = DEFAULT_TEXT_ENTRY_BGCOLOR;
  IColor mTextEntryFGColor = DEFAULT_TEXT_ENTRY_FGCOLOR;
  EStyle mStyle = kStyleNormal;
  EAlign mAlign = kAlignCenter;
  int mOrientation = 0; // degrees counter-clockwise
  EQuality mQuality = kQualityDefault;
  LICE_IFont* mCached = nullptr; // not owned: the font cache holds it

  IText() = default;
  IText(int size, const IColor* color, const char* font = nullptr, EStyle style = kStyleNormal,
        EAlign align = kAlignCenter, int orientation = 0, EQuality quality = kQualityDefault)
      : mSize(size), mColor(color ? *color : DEFAULT_TEXT_COLOR), mStyle(style), mAlign(align),
        mOrientation(orientation), mQuality(quality) {
    if (font) snprintf(mFont, sizeof(mFont), "%s", font);
  }
  explicit IText(const IColor* color) : mColor(color ? *color : DEFAULT_TEXT_COLOR) {}
};
