#include <algorithm>
#include <cstring>
#include <vector>

#include "lice/cached_font_scratch.h"
#include "lice/lice_text.h"
#include "lice/shape_ops.h"

namespace {

int encodeUTF8(unsigned short c, char* out) {
  if (c < 128) return out[0] = char(c), 1;
  if (c < 2048) return out[0] = char(0xC0 | (c >> 6)), out[1] = char(0x80 | (c & 0x3F)), 2;
  out[0] = char(0xE0 | (c >> 12));
  out[1] = char(0x80 | ((c >> 6) & 0x3F));
  out[2] = char(0x80 | (c & 0x3F));
  return 3;
}

// Mono threshold, then 128 on empty pixels next to full ones: shadow looks
// left, up and up-left; outline looks at the four edge neighbours.
void applyEffect(unsigned char* p, int w, int h, int flags) {
  for (int i = 0; i < w * h; ++i) p[i] = p[i] > 130 ? 255 : 0;
  if (!(flags & (LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE))) return;
  auto full = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && p[y * w + x] == 255;
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (p[y * w + x]) continue;
      const bool mark = (flags & LICE_FONT_FLAG_FX_SHADOW)
                            ? full(x - 1, y) || full(x, y - 1) || full(x - 1, y - 1)
                            : full(x - 1, y) || full(x + 1, y) || full(x, y - 1) || full(x, y + 1);
      if (mark) p[y * w + x] = 128;
    }
  }
}

} // namespace

bool LICE_CachedFont::RenderGlyph(unsigned short c) {
  if (!m_font || m_line_height > 1023) return false;
  if (c >= 128 && FindExtended(c) < 0) {
    if (m_flags & LICE_FONT_FLAG_PRECALCALL) return false;
    charEnt fresh{0, 0, 0, 0, int(c)};
    if (!m_extracharlist.Add(fresh)) return false;
    // Sorted again at once; records are found by index from here on, never
    // through a pointer held across the growth.
    std::sort(m_extracharlist.Get(), m_extracharlist.Get() + m_extracharlist.GetSize(),
              [](const charEnt& a, const charEnt& b) { return a.charid < b.charid; });
  }
  const int size = m_line_height < 1 ? 10 : m_line_height * 2 + 8;
  LICE_SysBitmap* scratch = lice_font_scratch::GlyphBitmap(std::max(size, 256));
  if (!scratch) return false;
  HDC dc = scratch->getDC();
  HGDIOBJ old = SelectObject(dc, m_font);
  char text[4];
  const int n = encodeUTF8(c, text);
  RECT r{0, 0, 0, 0};
  SWELL_DrawText(dc, text, n, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  int advance = r.right, h = r.bottom;
  int w = advance + (m_line_height < 16 ? 2 : m_line_height / 16 + 2);
  w = std::min(w, size), h = std::min(h, size), advance = std::min(advance, size);
  LICE_FillRect(scratch, 0, 0, w, h, 0, 1.0f, LICE_MODE_COPY);
  RECT box{0, 0, w, h};
  SWELL_DrawText(dc, text, n, &box, DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  charEnt* rec = Record(c);
  if (!rec) return false;
  if (advance < 1 || h < 1) {
    *rec = {-1, 0, 0, 0, int(c)};
    return true;
  }
  if (m_flags & LICE_FONT_FLAG_FX_BLUR) LICE_Blur(scratch, scratch, 0, 0, 0, 0, w, h);
  StoreCoverage(rec, scratch, w, h, advance);
  return true;
}

void LICE_CachedFont::StoreCoverage(charEnt* rec, LICE_IBitmap* scratch, int w, int h,
                                    int advance) {
  const int oldSize = m_cachestore.GetSize();
  unsigned char* out = m_cachestore.Add(nullptr, w * h);
  if (!out) {
    *rec = {-1, 0, 0, 0, rec->charid};
    return;
  }
  int stored = advance;
  for (int y = 0; y < h; ++y) {
    const LICE_Pixel32* row = scratch->getBits() + ptrdiff_t(y) * scratch->getRowSpan();
    for (int x = 0; x < w; ++x) {
      int v = LICE_GETR(row[x]);
      if (m_flags & LICE_FONT_FLAG_FX_INVERT) v = 255 - v;
      out[y * w + x] = (unsigned char)v;
      if (v && x + 1 > stored) stored = x + 1;
    }
  }
  stored = std::min(stored, w);
  if (stored < w) {
    for (int y = 1; y < h; ++y) memmove(out + y * stored, out + y * w, size_t(stored));
    m_cachestore.Resize(oldSize + stored * h, false);
  }
  *rec = {oldSize + 1, stored, h, advance, rec->charid};
  if (m_flags & (LICE_FONT_FLAG_FX_MONO | LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE)) {
    applyEffect(m_cachestore.Get() + oldSize, stored, h, m_flags);
  }
}

bool LICE_CachedFont::DrawGlyph(LICE_IBitmap* bm, unsigned short c, int xpos, int ypos,
                                const RECT* clipR) {
  const charEnt* rec = Record(c);
  if (!rec || rec->base_offset <= 0) return false;
  const int w = rec->width, h = rec->height;
  if (xpos >= clipR->right || ypos >= clipR->bottom || xpos + w <= clipR->left ||
      ypos + h <= clipR->top) {
    return false;
  }
  const unsigned char* coverage = m_cachestore.Get() + rec->base_offset - 1;
  const int x0 = std::max(xpos, int(clipR->left)), y0 = std::max(ypos, int(clipR->top));
  const int x1 = std::min(xpos + w, int(clipR->right)), y1 = std::min(ypos + h, int(clipR->bottom));
  coverage += (y0 - ypos) * w + (x0 - xpos);
  if (m_bgmode == 1) {
    LICE_FillRect(bm, x0, y0, x1 - x0, y1 - y0, m_bg, m_alpha, m_comb & ~LICE_MODE_USE_ALPHA);
  }
  const bool effect = m_flags & (LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE);
  if (!effect) {
    LICE_DrawGlyphEx(bm, x0, y0, m_fg, coverage, x1 - x0, w, y1 - y0, m_alpha, m_comb);
    return true;
  }
  // Effect fonts: full coverage is the text colour, the marked rim the effect colour.
  std::vector<unsigned char> rim(size_t((x1 - x0) * (y1 - y0))), core(rim.size());
  for (int y = 0; y < y1 - y0; ++y) {
    for (int x = 0; x < x1 - x0; ++x) {
      const unsigned char v = coverage[y * w + x];
      core[size_t(y * (x1 - x0) + x)] = v == 255 ? 255 : 0;
      rim[size_t(y * (x1 - x0) + x)] = v && v != 255 ? 255 : 0;
    }
  }
  LICE_DrawGlyph(bm, x0, y0, m_effectcol, rim.data(), x1 - x0, y1 - y0, m_alpha, m_comb);
  LICE_DrawGlyph(bm, x0, y0, m_fg, core.data(), x1 - x0, y1 - y0, m_alpha, m_comb);
  return true;
}
