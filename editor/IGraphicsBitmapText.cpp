// Text drawn from a strip of glyph pictures, one frame per character.
#include <algorithm>
#include <climits>
#include <cstring>

#include "editor/IGraphics.h"

namespace {

// Frames count from 1 at the space (32).
int GlyphFrame(char c, int nFrames) {
  const int frame = static_cast<unsigned char>(c) - 31;
  return frame < 1 || frame > nFrames ? 1 : frame;
}

} // namespace

bool IGraphics::DrawBitmapedText(IBitmap* bitmap, IRECT* rect, IText* text,
                                 const IChannelBlend* blend, const char* str, int charWidth,
                                 int charHeight, int charOffset) {
  if (!str || !*str) return true;
  if (!bitmap || !bitmap->mData || !rect || charWidth <= 0 || charHeight <= 0) return false;
  const long long width = rect->W();
  const long long fit = (width - 2LL * charWidth) / charWidth;
  const long long count = std::min(static_cast<long long>(strlen(str)), fit);
  if (count <= 0) return true;
  const long long advance = static_cast<long long>(charWidth) + charOffset;
  long long x = static_cast<long long>(rect->L) + charWidth;
  if (text && text->mAlign == IText::kAlignCenter)
    x = rect->L + (width - ((count - 1) * advance + charWidth)) / 2;
  const long long y = rect->T + (static_cast<long long>(rect->H()) - charHeight) / 2;
  // A cell larger than a glyph frame would show part of the next glyph.
  const int cellW = std::min(charWidth, bitmap->FrameWidth());
  const int cellH = std::min(charHeight, bitmap->FrameHeight());
  if (y < INT_MIN || y > static_cast<long long>(INT_MAX) - cellH) return true;
  for (long long i = 0; i < count; ++i) {
    const long long left = x + i * advance;
    if (left < INT_MIN || left > static_cast<long long>(INT_MAX) - cellW) continue;
    IRECT cell(static_cast<int>(left), static_cast<int>(y), static_cast<int>(left + cellW),
               static_cast<int>(y + cellH));
    DrawBitmap(bitmap, &cell, GlyphFrame(str[i], bitmap->Frames()), blend);
  }
  return true;
}
