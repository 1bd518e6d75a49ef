#pragma once
// Internal to lice/: the two scratch bitmaps every cached font shares (one
// to render glyphs into, one for native drawing into bitmaps without a
// device context), alive while any cached font is.
#include <algorithm>
#include <new>

#include "lice/lice.h"

namespace lice_font_scratch {
void AddFont();
void RemoveFont(); // the last one releases both bitmaps
int LiveFonts();
bool Exist();
// At least size x size; a resized glyph bitmap draws white on black.
LICE_SysBitmap* GlyphBitmap(int size);
LICE_SysBitmap* NativeBitmap(int w, int h);
} // namespace lice_font_scratch
