#include "detail/cached_font_scratch.h"

namespace lice_font_scratch {
namespace {
// Cached fonts are used from the user-interface thread only.
int s_liveFonts = 0;
LICE_SysBitmap* s_glyph = nullptr;
LICE_SysBitmap* s_native = nullptr;

LICE_SysBitmap* atLeast(LICE_SysBitmap*& bm, int w, int h, bool* resized) {
  if (!bm) bm = new (std::nothrow) LICE_SysBitmap(0, 0);
  if (!bm) return nullptr;
  *resized = false;
  if (bm->getWidth() < w || bm->getHeight() < h) {
    bm->resize(std::max(bm->getWidth(), w), std::max(bm->getHeight(), h));
    *resized = true;
  }
  return bm->getWidth() >= w && bm->getHeight() >= h && bm->getDC() ? bm : nullptr;
}
} // namespace

void AddFont() {
  ++s_liveFonts;
}
void RemoveFont() {
  if (--s_liveFonts > 0) return;
  s_liveFonts = 0;
  delete s_glyph;
  delete s_native;
  s_glyph = s_native = nullptr;
}
int LiveFonts() {
  return s_liveFonts;
}
bool Exist() {
  return s_glyph || s_native;
}

LICE_SysBitmap* GlyphBitmap(int size) {
  bool resized = false;
  LICE_SysBitmap* bm = atLeast(s_glyph, size, size, &resized);
  if (bm && resized) {
    ::SetTextColor(bm->getDC(), RGB(255, 255, 255));
    SetBkMode(bm->getDC(), OPAQUE);
    SetBkColor(bm->getDC(), 0);
  }
  return bm;
}

LICE_SysBitmap* NativeBitmap(int w, int h) {
  bool resized = false;
  return atLeast(s_native, std::max(w, 4), std::max(h, 4), &resized);
}

} // namespace lice_font_scratch
