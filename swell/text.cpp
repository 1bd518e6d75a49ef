// SWELL_DrawText: prefix and line-break handling, measuring, alignment,
// clipping and drawing through the font backend.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "detail/font_backend.h"
#include "detail/gdi_records.h"

namespace {

const int kTextBufferSize = 4096;

struct PreparedText {
  char bytes[kTextBufferSize];
  int length = 0;
  bool multiLine = false;
};

int Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// A cut at the buffer's end must not leave half a character behind.
int DropPartialCharacter(const char* bytes, int length) {
  int start = length - 1;
  while (start > 0 && (static_cast<unsigned char>(bytes[start]) & 0xC0) == 0x80) --start;
  if (start < 0) return length;
  const int need = Utf8Length(static_cast<unsigned char>(bytes[start]));
  return need > 0 && start + need > length ? start : length;
}

// Reads at most byteCount bytes (all up to the NUL for -1), never past them:
// a trailing '&' has nothing to escape and is dropped.
void Prepare(const char* text, int byteCount, int flags, PreparedText* out) {
  int i = 0;
  auto more = [&] { return (byteCount < 0 || i < byteCount) && text[i] != 0; };
  while (out->length < kTextBufferSize - 1 && more()) {
    char c = text[i++];
    if (c == '\r') continue;
    if (c == '&' && !(flags & DT_NOPREFIX)) {
      if (!more()) break;
      c = text[i++];
    }
    if (c == '\n') {
      if (flags & DT_SINGLELINE)
        c = ' ';
      else
        out->multiLine = true;
    }
    out->bytes[out->length++] = c;
  }
  if (more()) out->length = DropPartialCharacter(out->bytes, out->length);
}

// Strict UTF-8 to characters; false for malformed text, which is not drawn.
bool Decode(const char* bytes, int length, uint32_t* chars, int* count) {
  *count = 0;
  for (int i = 0; i < length;) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    const int n = Utf8Length(lead);
    if (n == 0 || i + n > length) return false;
    uint32_t c = n == 1 ? lead : lead & (0x7F >> n);
    for (int k = 1; k < n; ++k) {
      const unsigned char cont = static_cast<unsigned char>(bytes[i + k]);
      if ((cont & 0xC0) != 0x80) return false;
      c = (c << 6) | (cont & 0x3F);
    }
    if ((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF))) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    chars[(*count)++] = c;
    i += n;
  }
  return true;
}

struct Line {
  int start;
  int count;
  int width;
};

struct Layout {
  std::vector<Line> lines;
  int width = 0;
  int height = 0;
  int lineHeight = 0;
  float ascent = 0;
};

void LayOut(swell_font::Face* face, const uint32_t* chars, int count, bool multiLine, bool aa,
            Layout* layout) {
  const swell_font::Metrics m = swell_font::GetMetrics(face);
  layout->ascent = m.ascent;
  layout->lineHeight = static_cast<int>(std::floor(m.ascent + m.descent + m.leading + 1.5f));
  int start = 0;
  for (int i = 0; i <= count; ++i) {
    const bool end = i == count;
    if (!end && !(multiLine && chars[i] == '\n')) continue;
    // A line feed ends its line; nothing after the last one adds a line.
    if (end && start == count && !layout->lines.empty()) break;
    Line line{start, i - start, 0};
    line.width = static_cast<int>(
        std::floor(swell_font::MeasureRun(face, chars + start, line.count, aa) + 0.5f));
    layout->lines.push_back(line);
    layout->width = std::max(layout->width, line.width);
    layout->height += layout->lineHeight;
    start = i + 1;
  }
  if (layout->height) layout->height += 1;
}

struct GlyphTarget {
  const swell_raster::Surface* surface;
  swell_raster::Clip clip;
  swell_raster::Paint paint;
};

void PutGlyph(void* user, int x, int baseline, const swell_font::GlyphCoverage& g) {
  const GlyphTarget* t = static_cast<const GlyphTarget*>(user);
  swell_raster::BlendCoverage(*t->surface, t->clip, x + g.left, baseline - g.top, g.rows, g.pitch,
                              g.width, g.height, t->paint);
}

void Draw(HDC ctx, swell_font::Face* face, const uint32_t* chars, const Layout& layout,
          const RECT& r, int flags, bool aa) {
  // Centring divides in integers, as the cached fonts do when they draw into
  // a memory bitmap: the same text in the same rectangle lands on the same
  // pixel whichever way it is drawn.
  int64_t x = r.left, y = r.top;
  if (flags & DT_RIGHT)
    x = int64_t{r.right} - layout.width;
  else if (flags & DT_CENTER)
    x = (int64_t{r.left} + r.right - layout.width) / 2;
  if (flags & DT_BOTTOM)
    y = int64_t{r.bottom} - layout.height;
  else if (flags & DT_VCENTER)
    y = (int64_t{r.top} + r.bottom - layout.height) / 2;
  // Far outside any surface the text cannot show; clamping keeps the glyph
  // arithmetic below inside int.
  const int64_t kFar = 1 << 29;
  const int left = static_cast<int>(std::clamp(x, -kFar, kFar));
  int top = static_cast<int>(std::clamp(y, -kFar, kFar));

  GlyphTarget target;
  target.surface = &ctx->mGC->surface;
  target.clip = ctx->mGC->clip;
  if (!(flags & DT_NOCLIP)) {
    target.clip = swell_raster::Intersect(target.clip, {r.left, r.top, r.right, r.bottom});
  }
  const SWELL_Colour text =
      ctx->mTextColourPlatform.valid ? ctx->mTextColourPlatform : SWELL_MakeColour(0, 1.0f);
  target.paint = SWELL_PaintFor(text);
  const bool opaque = ctx->mBkMode == OPAQUE;
  const swell_raster::Paint background = SWELL_PaintFor(SWELL_MakeColour(ctx->mBkColour, 1.0f));
  const bool single = layout.lines.size() == 1;
  for (const Line& line : layout.lines) {
    // A single line's box is the whole measured box, as the caller was told.
    const int boxHeight = single ? layout.height : layout.lineHeight;
    if (opaque) {
      swell_raster::FillRect(*target.surface, target.clip, left, top, left + line.width,
                             top + boxHeight, background);
    }
    const int baseline = static_cast<int>(std::floor(top + layout.ascent + 0.5f));
    swell_font::DrawRun(face, chars + line.start, line.count, left, baseline, aa, PutGlyph,
                        &target);
    top += layout.lineHeight;
  }
}

} // namespace

int SWELL_DrawText(HDC ctx, const char* text, int byteCount, RECT* rect, int flags) {
  if (!text || !rect || !swell_pool::IsLiveContext(ctx)) return 0;
  PreparedText prepared;
  Prepare(text, byteCount, flags, &prepared);
  static thread_local uint32_t chars[kTextBufferSize];
  int count = 0;
  if (prepared.length == 0 || !Decode(prepared.bytes, prepared.length, chars, &count)) return 0;

  HGDIOBJ font = ctx->mCurFont;
  swell_font::Face* face = SWELL_FaceOf(font);
  const bool aa = !face || font->mFontAntialias != 3;
  if (!face) face = SWELL_DefaultFont();
  if (!face) return 0;

  Layout layout;
  LayOut(face, chars, count, prepared.multiLine, aa, &layout);
  if (flags & DT_CALCRECT) {
    rect->right = static_cast<int>(std::min<int64_t>(int64_t{rect->left} + layout.width, INT_MAX));
    rect->bottom = static_cast<int>(std::min<int64_t>(int64_t{rect->top} + layout.height, INT_MAX));
    return layout.height;
  }
  Draw(ctx, face, chars, layout, *rect, flags, aa);
  return layout.height;
}
