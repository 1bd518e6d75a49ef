#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "detail/cached_font_scratch.h"
#include "lice/lice_text.h"

LICE_CachedFont::LICE_CachedFont() : m_extracharlist(4096), m_cachestore(65536) {
  memset(m_lowchars, 0, sizeof(m_lowchars));
  lice_font_scratch::AddFont();
}

LICE_CachedFont::~LICE_CachedFont() {
  if ((m_flags & LICE_FONT_FLAG_OWNS_HFONT) && m_font) DeleteObject(m_font);
  lice_font_scratch::RemoveFont();
}

int LICE_CachedFont::LiveFontCount() {
  return lice_font_scratch::LiveFonts();
}
bool LICE_CachedFont::ScratchBitmapsExist() {
  return lice_font_scratch::Exist();
}

LICE_Pixel32 LICE_CachedFont::SetTextColor(LICE_Pixel32 color) {
  return std::exchange(m_fg, color);
}
LICE_Pixel32 LICE_CachedFont::SetBkColor(LICE_Pixel32 color) {
  return std::exchange(m_bg, color);
}
LICE_Pixel32 LICE_CachedFont::SetEffectColor(LICE_Pixel32 color) {
  return std::exchange(m_effectcol, color);
}
int LICE_CachedFont::SetBkMode(int mode) {
  return std::exchange(m_bgmode, mode);
}
void LICE_CachedFont::SetCombineMode(int combine, float alpha) {
  m_comb = combine;
  m_alpha = alpha;
}

void LICE_CachedFont::SetFromHFont(HFONT font, int flags) {
  if ((m_flags & LICE_FONT_FLAG_OWNS_HFONT) && m_font && m_font != font) DeleteObject(m_font);
  m_flags = flags;
  m_font = font;
  if (font) {
    LICE_SysBitmap* scratch = lice_font_scratch::GlyphBitmap(256);
    HDC dc = scratch ? scratch->getDC() : nullptr;
    if (dc) {
      HGDIOBJ old = SelectObject(dc, font);
      TEXTMETRIC tm{};
      GetTextMetrics(dc, &tm);
      SelectObject(dc, old);
      m_line_height = tm.tmHeight;
    }
  }
  memset(m_lowchars, 0, sizeof(m_lowchars));
  m_extracharlist.Resize(0, false);
  m_cachestore.Resize(0, false);
  if (font && (flags & LICE_FONT_FLAG_PRECALCALL)) {
    for (unsigned short c = 0; c < 128; ++c) RenderGlyph(c);
  }
}

int LICE_CachedFont::FindExtended(unsigned short c) const {
  int lo = 0, hi = m_extracharlist.GetSize() - 1;
  const charEnt* list = m_extracharlist.Get();
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const int diff = list[mid].charid - int(c);
    if (!diff) return mid;
    if (diff < 0)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  return -1;
}

LICE_CachedFont::charEnt* LICE_CachedFont::Record(unsigned short c) {
  if (c < 128) return &m_lowchars[c];
  const int idx = FindExtended(c);
  return idx < 0 ? nullptr : m_extracharlist.Get() + idx;
}

bool LICE_CachedFont::UseNative(UINT dtFlags) const {
  if (m_line_height >= 256 && m_font) return true;
  if (!(m_flags & LICE_FONT_FLAG_FORCE_NATIVE) || !m_font || (dtFlags & LICE_DT_NEEDALPHA)) {
    return false;
  }
  if (dtFlags & LICE_DT_USEFGALPHA) return false;
  return !(m_flags & 0x1F7) && (!m_lsadj || (dtFlags & DT_SINGLELINE));
}

int LICE_CachedFont::DrawText(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect,
                              UINT dtFlags) {
  if (!str || !rect || !strcnt || !*str) {
    if (rect && (dtFlags & DT_CALCRECT)) rect->right = rect->left, rect->bottom = rect->top;
    return 0;
  }
  if (UseNative(dtFlags)) return DrawTextNative(bm, str, strcnt, rect, dtFlags);
  return DrawTextCached(bm, str, strcnt, rect, dtFlags);
}
