// Fonts from the module-wide cache and text drawing.
#include <algorithm>

#include "editor/IGraphics.h"
#include "editor/ModuleCaches.h"
#include "lice/lice_text.h"

namespace {

int FontQuality(IText::EQuality quality) {
  switch (quality) {
  case IText::kQualityDefault:
    return DEFAULT_QUALITY;
  case IText::kQualityAntiAliased:
  case IText::kQualityClearType:
    return ANTIALIASED_QUALITY;
  case IText::kQualityNonAntiAliased:
  default:
    return NONANTIALIASED_QUALITY;
  }
}

int HeldInInt(double v) {
  return v >= 2147483647.0 ? 2147483647 : v <= -2147483647.0 ? -2147483647 : static_cast<int>(v);
}

// Two passes: the first font's line height tells how far the requested size
// is from what the face renders, and the second asks for the scaled size.
LICE_CachedFont* CreateCachedFont(const IText* text) {
  char name[36];
  FontStorage::FontName(text, name);
  // Tenths of a degree, turned into one revolution first so that any stored
  // orientation fits an int.
  const int tenths = static_cast<int>((static_cast<long long>(text->mOrientation) % 360) * 10);
  LICE_CachedFont* font = new LICE_CachedFont;
  int h = text->mSize;
  for (int pass = 0; pass < 2; ++pass) {
    h = std::max(h, 2);
    HFONT hfont = CreateFont(h, 0, tenths, tenths, text->mStyle == IText::kStyleBold ? 700 : 400,
                             text->mStyle == IText::kStyleItalic, 0, 0, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             static_cast<char>(FontQuality(text->mQuality)), DEFAULT_PITCH, name);
    if (!hfont) {
      delete font;
      return nullptr;
    }
    font->SetFromHFont(hfont, LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE);
    const int lineHeight = font->GetLineHeight();
    if (pass > 0 || lineHeight == h || lineHeight <= 0) break;
    h = HeldInInt(static_cast<double>(h) * h / lineHeight + 0.5);
  }
  return font;
}

} // namespace

LICE_IFont* IGraphics::CacheFont(IText* text) {
  if (!text) return nullptr;
  FontStorage& cache = FontCache();
  WDL_MutexLock hold(cache.Mutex());
  LICE_IFont* font = cache.Find(text);
  if (!font) {
    font = CreateCachedFont(text);
    if (font && !AddModuleFont(font, text)) font = nullptr;
  }
  text->mCached = font;
  return font;
}

bool IGraphics::DrawIText(IText* text, char* str, IRECT* rect, bool measure) {
  if (!str || !*str) return true;
  if (!text || !rect) return false;
  LICE_IFont* font = text->mCached ? text->mCached : CacheFont(text);
  if (!font) return false;
  font->SetTextColor(LiceColor(&text->mColor));
  UINT flags = DT_NOCLIP;
  if (text->mAlign == IText::kAlignCenter) flags |= DT_CENTER;
  if (text->mAlign == IText::kAlignFar) flags |= DT_RIGHT;
  if (text->mColor.A < 255) flags |= LICE_DT_USEFGALPHA;
  if (!measure) {
    RECT r = {rect->L, rect->T, rect->R, rect->B};
    font->DrawText(mDrawBitmap, str, -1, &r, flags);
    return true;
  }
  RECT r = {0, 0, 0, 0};
  font->DrawText(mDrawBitmap, str, -1, &r, flags | DT_CALCRECT);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (text->mAlign == IText::kAlignNear) {
    rect->R = rect->L + w;
  } else if (text->mAlign == IText::kAlignCenter) {
    rect->L = static_cast<int>((static_cast<double>(rect->L) + rect->R) * 0.5) - w / 2;
    rect->R = rect->L + w;
  } else {
    rect->L = rect->R - w;
  }
  rect->B = rect->T + h;
  return true;
}
