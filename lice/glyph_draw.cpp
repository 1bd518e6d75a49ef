#include "detail/shape_ops.h"
#include "lice/lice_text.h"

using lice_detail::BitmapView;

namespace {

// Coverage v at weight ia mixes by ia * v / 256: at full coverage and full
// strength the destination keeps a 1/256 share, which rounds away.
template <class Op>
void compositeCoverage(const BitmapView& v, int x, int y, const lice_shape::Colour& c,
                       const LICE_pixel_chan* alphas, int w, int span, int h, int ia) {
  for (int row = 0; row < h; ++row) {
    const LICE_pixel_chan* in = alphas + ptrdiff_t(row) * span;
    auto* out = reinterpret_cast<LICE_pixel_chan*>(v.row(y + row) + x);
    for (int col = 0; col < w; ++col, out += 4) {
      const int weight = ia * in[col] / 256;
      if (in[col]) Op::doPix(out, c.r, c.g, c.b, c.a, weight);
    }
  }
}

} // namespace

void LICE_DrawGlyphEx(LICE_IBitmap* dest, int x, int y, LICE_Pixel32 color,
                      const LICE_pixel_chan* alphas, int glyph_w, int glyph_span, int glyph_h,
                      float alpha, int mode) {
  BitmapView v;
  const int ia = lice_detail::alphaWeight(alpha);
  if (!alphas || ia <= 0 || glyph_w <= 0 || glyph_h <= 0 || glyph_span < glyph_w) return;
  if (!lice_detail::getView(dest, &v)) return;
  int cx, cy, cw, ch;
  if (!lice_detail::clipToView(v, x, y, glyph_w, glyph_h, &cx, &cy, &cw, &ch)) return;
  alphas += ptrdiff_t(cy - y) * glyph_span + (cx - x);
  const lice_shape::Colour c = lice_shape::splitColour(color);
  lice_shape::withWeightedOp(mode, [&](auto op) {
    compositeCoverage<decltype(op)>(v, cx, cy, c, alphas, cw, glyph_span, ch, ia);
  });
}

void LICE_DrawGlyph(LICE_IBitmap* dest, int x, int y, LICE_Pixel32 color,
                    const LICE_pixel_chan* alphas, int glyph_w, int glyph_h, float alpha,
                    int mode) {
  LICE_DrawGlyphEx(dest, x, y, color, alphas, glyph_w, glyph_w, glyph_h, alpha, mode);
}
