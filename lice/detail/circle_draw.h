#pragma once
// Internal to lice/: circle outlines and fills clipped to a box, shared by
// circles and by the quarter pieces of arcs.
#include "lice_view.h"

namespace lice_circle {

struct ClipBox {
  int l, t, r, b; // inclusive
};

// The pixel a coordinate falls on when rounded half up (centres, arc ends).
int CentrePixel(float c);

// Draws the outline (or the disc) of radius r around the centre pixel,
// anti-aliased or by the midpoint method, touching only pixels inside both
// clip and the view. ia is the weight out of 256.
void Draw(const lice_detail::BitmapView& v, ClipBox clip, float cx, float cy, float r,
          LICE_Pixel32 color, int ia, int mode, bool aa, bool fill);

} // namespace lice_circle
