#pragma once
// Letter-spaced capitals drawn into a painter's mask through the GDI layer's
// fonts and the raster library's glyph cache.
#include "lice/lice_text.h"
#include "tools/art/Painter.h"

namespace art {

class Typeface {
public:
  // face: a composed name such as "DejaVu Sans Bold"; size: the font's pixel
  // height in the painter's units, times the painter's scale.
  Typeface(const char* face, int size, int scale);

  // Width in unit pixels of text set glyph by glyph, spacing units apart.
  float Width(const char* text, float spacing);
  // Adds text with its top-left cell corner at (x, y), in unit pixels.
  void Add(Painter& p, const char* text, float x, float y, float spacing);
  // The same, centred on cx.
  void AddCentred(Painter& p, const char* text, float cx, float y, float spacing);
  float LineHeight() { return float(mFont.GetLineHeight()) / float(mScale); }

private:
  // The pen's move after one character, in canvas pixels.
  int Advance(char c);

  LICE_CachedFont mFont;
  int mScale;
};

} // namespace art
