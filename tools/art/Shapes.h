#pragma once
// Shapes added to a painter's current mask, in the painter's unit space.
// Each adds coverage (Cut* removes it), so a shape may be built from pieces.
#include "tools/art/Painter.h"

namespace art {

void AddDisc(Painter& p, float cx, float cy, float r);
void CutDisc(Painter& p, float cx, float cy, float r);
// A band of the given width centred on radius, from angle a0 to a1 (radians,
// 0 up, clockwise), with round ends when roundEnds is set.
void AddArc(Painter& p, float cx, float cy, float radius, float width, float a0, float a1,
            bool roundEnds);
// A straight stroke with round ends.
void AddStroke(Painter& p, float x0, float y0, float x1, float y1, float width);
void AddRoundRect(Painter& p, float l, float t, float r, float b, float radius);
void CutRoundRect(Painter& p, float l, float t, float r, float b, float radius);
// A convex polygon given as x, y pairs.
void AddPolygon(Painter& p, const float* xy, int points);

} // namespace art
