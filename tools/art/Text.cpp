#include "tools/art/Text.h"

#include <cmath>
#include <cstring>

#include "tools/art/Palette.h"

namespace art {

Typeface::Typeface(const char* face, int size, int scale) : mScale(scale) {
  HFONT font =
      CreateFont(size * scale, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                 CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face);
  mFont.SetFromHFont(font, LICE_FONT_FLAG_OWNS_HFONT);
  mFont.SetTextColor(colour::kWhite);
  mFont.SetBkMode(TRANSPARENT);
}

// A measured run reaches to its last glyph's cell, which is wider than the
// glyph's advance: the difference of two runs is the advance alone.
int Typeface::Advance(char c) {
  const char two[3] = {c, c, 0};
  RECT one{0, 0, 0, 0}, both{0, 0, 0, 0};
  mFont.DrawText(nullptr, two, 1, &one, DT_CALCRECT | DT_SINGLELINE);
  mFont.DrawText(nullptr, two, 2, &both, DT_CALCRECT | DT_SINGLELINE);
  return both.right - one.right;
}

float Typeface::Width(const char* text, float spacing) {
  const int n = int(strlen(text));
  int pen = 0;
  for (int i = 0; i < n; ++i) pen += Advance(text[i]);
  return float(pen) / float(mScale) + spacing * float(n > 0 ? n - 1 : 0);
}

void Typeface::Add(Painter& p, const char* text, float x, float y, float spacing) {
  const float s = float(mScale);
  float pen = x;
  for (const char* c = text; *c; ++c) {
    const int left = int(std::lround(pen * s)), top = int(std::lround(y * s));
    RECT box{left, top, left + 4 * int(mFont.GetLineHeight()), top + mFont.GetLineHeight()};
    p.Touch(float(box.left) / s, float(box.top) / s, float(box.right) / s, float(box.bottom) / s);
    mFont.DrawText(p.mask(), c, 1, &box, DT_SINGLELINE | DT_NOCLIP);
    pen += float(Advance(*c)) / s + spacing;
  }
}

void Typeface::AddCentred(Painter& p, const char* text, float cx, float y, float spacing) {
  Add(p, text, cx - 0.5f * Width(text, spacing), y, spacing);
}

} // namespace art
