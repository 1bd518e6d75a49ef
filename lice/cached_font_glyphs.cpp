#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "detail/cached_font_scratch.h"
#include "detail/cached_glyph_render.h"
#include "detail/shape_ops.h"
#include "lice/lice_text.h"

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

// A quarter turn of a w x h block into an h x w one: clockwise for text
// running down (the glyph's top faces right), the other way for text running
// up.
void turnQuarter(const unsigned char* in, int w, int h, bool bottomUp, unsigned char* out) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int nx = bottomUp ? y : h - 1 - y, ny = bottomUp ? w - 1 - x : x;
      out[ny * h + nx] = in[y * w + x];
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
  int width = stored, height = h;
  if (m_flags & LICE_FONT_FLAG_VERTICAL) {
    std::vector<unsigned char> upright(m_cachestore.Get() + oldSize,
                                       m_cachestore.Get() + oldSize + stored * h);
    turnQuarter(upright.data(), stored, h, m_flags & LICE_FONT_FLAG_VERTICAL_BOTTOMUP,
                m_cachestore.Get() + oldSize);
    std::swap(width, height);
  }
  *rec = {oldSize + 1, width, height, advance, rec->charid};
  if (m_flags & (LICE_FONT_FLAG_FX_MONO | LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE)) {
    applyEffect(m_cachestore.Get() + oldSize, width, height, m_flags);
  }
}

bool LICE_CachedFont::DrawGlyph(LICE_IBitmap* bm, unsigned short c, int xpos, int ypos,
                                const RECT* clipR) {
  const charEnt* rec = Record(c);
  if (!rec || rec->base_offset <= 0) return false;
  const int w = rec->width, h = rec->height;
  // 64-bit ends: a pen far out on a huge rectangle must not wrap around.
  const int64_t right = int64_t(xpos) + w, bottom = int64_t(ypos) + h;
  if (xpos >= clipR->right || ypos >= clipR->bottom || right <= clipR->left ||
      bottom <= clipR->top) {
    return false;
  }
  const unsigned char* coverage = m_cachestore.Get() + rec->base_offset - 1;
  const int x0 = std::max(xpos, int(clipR->left)), y0 = std::max(ypos, int(clipR->top));
  const int x1 = int(std::min(right, int64_t(clipR->right)));
  const int y1 = int(std::min(bottom, int64_t(clipR->bottom)));
  coverage += ptrdiff_t(y0 - ypos) * w + (x0 - xpos);
  if (m_bgmode == 1) {
    LICE_FillRect(bm, x0, y0, x1 - x0, y1 - y0, m_bg, m_alpha, m_comb & ~LICE_MODE_USE_ALPHA);
  }
  lice_detail::BitmapView view;
  if (!lice_detail::getView(bm, &view)) return false;
  // The clip rectangle lies inside the bitmap; the view check keeps a caller's
  // larger rectangle from reaching past it.
  if (x0 < 0 || y0 < 0 || x1 > view.w || y1 > view.h) return false;
  using lice_glyph::Style;
  const Style style = (m_flags & (LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE))
                          ? Style::Effect
                      : (m_flags & LICE_FONT_FLAG_FX_MONO) ? Style::Mono
                                                           : Style::Normal;
  const lice_glyph::Ink ink{m_fg, m_effectcol, m_alpha, m_comb};
  return lice_glyph::Render(view, x0, y0, coverage, x1 - x0, w, y1 - y0, style, ink);
}
