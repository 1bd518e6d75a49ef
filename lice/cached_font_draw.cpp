#include <algorithm>
#include <climits>
#include <cstdint>

#include "detail/cached_font_scratch.h"
#include "detail/lice_view.h"
#include "lice/lice_text.h"

using lice_detail::clampI64;

namespace {

// Pen positions are 64-bit: rectangles at the int limits and long texts
// must not wrap; what reaches an int result is held at the limits.
int heldInInt(int64_t v) {
  return int(clampI64(v, INT_MIN, INT_MAX));
}

int colorRefOf(LICE_Pixel32 c) {
  return (LICE_GETR(c) << 16) | (LICE_GETG(c) << 8) | LICE_GETB(c);
}

// Steps through the text: never past strcnt bytes (strcnt < 0: the NUL).
struct TextWalker {
  const char* p;
  int left;
  bool next(unsigned short* c) {
    if (!left || !*p) return false;
    const int used = LICE_DecodeUTF8(p, left, c);
    if (used <= 0) return false;
    p += used;
    if (left > 0) left -= used;
    return true;
  }
};

} // namespace

const LICE_CachedFont::charEnt* LICE_CachedFont::GlyphFor(unsigned short c) {
  const charEnt* rec = Record(c);
  if (!rec || !rec->base_offset) {
    if (!RenderGlyph(c)) return nullptr;
    rec = Record(c); // found again: rendering may have grown the table
  }
  return rec && rec->base_offset > 0 ? rec : nullptr;
}

int LICE_CachedFont::MeasureCached(const char* str, int strcnt, UINT dtFlags, int* width,
                                   int* height) {
  const bool vertical = m_flags & LICE_FONT_FLAG_VERTICAL;
  int64_t x = 0, y = 0, widest = 0, tallest = 0;
  TextWalker walk{str, strcnt};
  unsigned short c;
  while (walk.next(&c)) {
    if (c == '\r') continue;
    if (c == '\n' && !(dtFlags & DT_SINGLELINE)) {
      (vertical ? y : x) = 0;
      (vertical ? x : y) += int64_t(m_line_height) + m_lsadj;
      continue;
    }
    const charEnt* rec = GlyphFor(c == '\n' ? ' ' : c);
    if (!rec) continue;
    if (vertical) {
      tallest = std::max({tallest, y + rec->advance, y + rec->height});
      widest = std::max(widest, x + rec->width);
      y += rec->advance;
    } else {
      widest = std::max({widest, x + rec->advance, x + rec->width});
      tallest = std::max(tallest, y + rec->height);
      x += rec->advance;
    }
  }
  *width = heldInInt(widest);
  *height = heldInInt(tallest);
  return vertical ? *width : *height;
}

int LICE_CachedFont::DrawTextCached(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect,
                                    UINT dtFlags) {
  int width = 0, height = 0;
  if (dtFlags & DT_CALCRECT) {
    const int extent = MeasureCached(str, strcnt, dtFlags, &width, &height);
    rect->right = heldInInt(int64_t(rect->left) + width);
    rect->bottom = heldInInt(int64_t(rect->top) + height);
    return extent;
  }
  if (!bm) return 0;
  const float savedAlpha = m_alpha;
  if (dtFlags & LICE_DT_USEFGALPHA) m_alpha = m_alpha * float(LICE_GETA(m_fg)) / 255.0f;
  const int result = m_alpha > 0.0f ? DrawCachedRun(bm, str, strcnt, rect, dtFlags) : 0;
  m_alpha = savedAlpha;
  return result;
}

int LICE_CachedFont::DrawCachedRun(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect,
                                   UINT dtFlags) {
  const bool vertical = m_flags & LICE_FONT_FLAG_VERTICAL;
  const bool bottomUp = vertical && (m_flags & LICE_FONT_FLAG_VERTICAL_BOTTOMUP);
  int width = 0, height = 0;
  int64_t x = rect->left, y = rect->top;
  const bool aligned = dtFlags & (DT_VCENTER | DT_CENTER | DT_BOTTOM | DT_RIGHT);
  if (aligned || bottomUp) MeasureCached(str, strcnt, dtFlags, &width, &height);
  if (dtFlags & DT_CENTER)
    x = rect->left + (int64_t(rect->right) - rect->left - width) / 2;
  else if (dtFlags & DT_RIGHT)
    x = int64_t(rect->right) - width;
  if (dtFlags & DT_VCENTER)
    y = rect->top + (int64_t(rect->bottom) - rect->top - height) / 2;
  else if (dtFlags & DT_BOTTOM)
    y = int64_t(rect->bottom) - height;
  if (bottomUp) y += height; // text starts at the bottom and runs up
  RECT clip{0, 0, bm->getWidth(), bm->getHeight()};
  if (!(dtFlags & DT_NOCLIP)) {
    clip = {std::max(rect->left, 0), std::max(rect->top, 0), std::min(rect->right, bm->getWidth()),
            std::min(rect->bottom, bm->getHeight())};
  }
  if (clip.right <= clip.left || clip.bottom <= clip.top) return 0;
  const int64_t startX = x, startY = y;
  int64_t farthest = vertical ? startX : startY; // the drawn extent across the text
  TextWalker walk{str, strcnt};
  unsigned short c;
  while (walk.next(&c)) {
    if (c == '\r') continue;
    if (c == '\n' && !(dtFlags & DT_SINGLELINE)) {
      if (vertical)
        y = startY, x += int64_t(m_line_height) + m_lsadj;
      else
        x = startX, y += int64_t(m_line_height) + m_lsadj;
      continue;
    }
    if (c == '\n') c = ' ';
    const charEnt* rec = GlyphFor(c);
    if (!rec) continue;
    const int w = rec->width, h = rec->height, advance = rec->advance;
    const int64_t top = bottomUp ? y - h : y;
    // Beyond the int range a glyph cannot reach the bitmap.
    const bool reachable = x == heldInInt(x) && top == heldInInt(top);
    if (reachable && DrawGlyph(bm, c, int(x), int(top), &clip))
      farthest = std::max(farthest, vertical ? x + w : top + h);
    if (bottomUp)
      y -= advance; // up by the height, back down by height - advance
    else
      (vertical ? y : x) += advance;
  }
  return heldInInt(farthest - (vertical ? startX : startY));
}

int LICE_CachedFont::DrawTextNative(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect,
                                    UINT dtFlags) {
  if (bm && bm->getDC() && !(dtFlags & DT_CALCRECT)) {
    HDC dc = bm->getDC();
    HGDIOBJ old = SelectObject(dc, m_font);
    ::SetTextColor(dc, colorRefOf(m_fg));
    ::SetBkMode(dc, m_bgmode);
    if (m_bgmode == 1) ::SetBkColor(dc, colorRefOf(m_bg));
    const int ret = SWELL_DrawText(dc, str, strcnt, rect, int(dtFlags & 0xFFFF) | DT_NOPREFIX);
    SelectObject(dc, old);
    return ret;
  }
  LICE_SysBitmap* scratch = lice_font_scratch::NativeBitmap(4, 4);
  if (!scratch) return 0;
  HGDIOBJ old = SelectObject(scratch->getDC(), m_font);
  RECT measured{0, 0, 0, 0};
  SWELL_DrawText(scratch->getDC(), str, strcnt, &measured,
                 int(dtFlags & 0xFFFF & ~0xB7) | DT_CALCRECT | DT_NOPREFIX);
  SelectObject(scratch->getDC(), old);
  const int w = measured.right, h = measured.bottom;
  if (dtFlags & DT_CALCRECT) {
    rect->right = heldInInt(int64_t(rect->left) + w);
    rect->bottom = heldInInt(int64_t(rect->top) + h);
    return h;
  }
  if (!bm) return 0;
  int64_t x = rect->left, y = rect->top;
  if (dtFlags & DT_RIGHT)
    x = int64_t(rect->right) - w;
  else if (dtFlags & DT_CENTER)
    x = (int64_t(rect->left) + rect->right - w) / 2;
  if (dtFlags & DT_BOTTOM)
    y = int64_t(rect->bottom) - h;
  else if (dtFlags & DT_VCENTER)
    y = (int64_t(rect->top) + rect->bottom - h) / 2;
  int64_t l = std::max<int64_t>(x, 0), t = std::max<int64_t>(y, 0);
  int64_t r = std::min<int64_t>(x + w, bm->getWidth()),
          b = std::min<int64_t>(y + h, bm->getHeight());
  if (!(dtFlags & DT_NOCLIP)) {
    l = std::max<int64_t>(l, rect->left), t = std::max<int64_t>(t, rect->top);
    r = std::min<int64_t>(r, rect->right), b = std::min<int64_t>(b, rect->bottom);
  }
  if (r <= l || b <= t) return 0;
  // Clipped to the bitmap: from here the area is in int range.
  const int cl = int(l), ct = int(t), cw = int(r - l), ch = int(b - t);
  scratch = lice_font_scratch::NativeBitmap(cw, ch);
  if (!scratch) return 0;
  LICE_Blit(scratch, bm, 0, 0, cl, ct, cw, ch, 1.0f, LICE_MODE_COPY);
  HDC dc = scratch->getDC();
  old = SelectObject(dc, m_font);
  ::SetTextColor(dc, colorRefOf(m_fg));
  ::SetBkMode(dc, m_bgmode);
  if (m_bgmode == 1) ::SetBkColor(dc, colorRefOf(m_bg));
  RECT inScratch{heldInInt(x - l), heldInInt(y - t), heldInInt(x - l + w), heldInInt(y - t + h)};
  SWELL_DrawText(dc, str, strcnt, &inScratch, int(dtFlags & 0xFFFF & ~0x136) | DT_NOPREFIX);
  SelectObject(dc, old);
  LICE_Blit(bm, scratch, cl, ct, 0, 0, cw, ch, m_alpha, LICE_MODE_COPY);
  return h;
}
