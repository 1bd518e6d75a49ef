#include <algorithm>

#include "detail/cached_glyph_render.h"
#include "detail/shape_ops.h"

using lice_detail::BitmapView;
using lice_shape::Colour;

namespace {

// The copy operator's weight that leaves the destination a share of
// (255 - v) / 256 at full strength, or 256 - ia * v / 256 otherwise.
inline int normalWeight(int v, int ia) {
  if (ia >= 256) return v + 1;
  return ia * v < 65792 ? ia * v / 256 : 256;
}

template <class Fn>
void forEachCovered(const BitmapView& v, int x, int y, const unsigned char* coverage, int w,
                    int span, int h, Fn&& fn) {
  for (int row = 0; row < h; ++row) {
    const unsigned char* in = coverage + ptrdiff_t(row) * span;
    auto* out = reinterpret_cast<LICE_pixel_chan*>(v.row(y + row) + x);
    for (int col = 0; col < w; ++col, out += 4) {
      if (in[col]) fn(out, in[col]);
    }
  }
}

template <class Op>
void renderWith(const BitmapView& v, int x, int y, const unsigned char* coverage, int w, int span,
                int h, lice_glyph::Style style, const Colour& text, const Colour& effect, int ia) {
  using lice_glyph::Style;
  forEachCovered(v, x, y, coverage, w, span, h, [&](LICE_pixel_chan* d, int cover) {
    if (style == Style::Normal) {
      Op::doPix(d, text.r, text.g, text.b, 255, normalWeight(cover, ia));
    } else {
      const Colour& c = (style == Style::Effect && cover != 255) ? effect : text;
      Op::doPix(d, c.r, c.g, c.b, 255, ia);
    }
  });
}

} // namespace

namespace lice_glyph {

bool Render(const BitmapView& v, int x, int y, const unsigned char* coverage, int w, int span,
            int h, Style style, const Ink& ink) {
  const int ia = lice_detail::alphaWeight(ink.alpha);
  if (ia <= 0 || w <= 0 || h <= 0) return false;
  const bool copy = (ink.mode & LICE_MODE_MASK) == LICE_MODE_COPY;
  if (style != Style::Normal && copy && ink.alpha == 1.0f) {
    // Mono and effect glyphs at full strength store colour words outright.
    forEachCovered(v, x, y, coverage, w, span, h, [&](LICE_pixel_chan* d, int cover) {
      const bool rim = style == Style::Effect && cover != 255;
      *reinterpret_cast<LICE_Pixel32*>(d) = rim ? ink.effect : ink.text;
    });
    return true;
  }
  const Colour text = lice_shape::splitColour(ink.text),
               effect = lice_shape::splitColour(ink.effect);
  return lice_shape::withWeightedOp(ink.mode, [&](auto op) {
    renderWith<decltype(op)>(v, x, y, coverage, w, span, h, style, text, effect, ia);
  });
}

} // namespace lice_glyph
