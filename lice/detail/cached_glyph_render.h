#pragma once
// Internal to lice/: how a cached font composites one stored coverage block.
// Unlike LICE_DrawGlyph, the pixels' alpha always moves toward 255 (text is
// opaque ink), and mono and effect fonts mix at the plain font weight.
#include "lice_view.h"

namespace lice_glyph {

enum class Style {
  Normal, // coverage 0..255 weighs the text colour
  Mono,   // any coverage is full text colour
  Effect, // 255 is text colour, any other coverage the effect colour
};

struct Ink {
  LICE_Pixel32 text, effect;
  float alpha;
  int mode; // blend-mode word; only the low 8 bits matter
};

// Composites w x h coverage bytes (rows span apart) at x, y, which the caller
// has already clipped to the view. Returns false when the mode draws nothing.
bool Render(const lice_detail::BitmapView& v, int x, int y, const unsigned char* coverage, int w,
            int span, int h, Style style, const Ink& ink);

} // namespace lice_glyph
