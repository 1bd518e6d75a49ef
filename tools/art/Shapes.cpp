#include "tools/art/Shapes.h"

#include <algorithm>
#include <cmath>

#include "lice/lice_lines.h"
#include "tools/art/Palette.h"

namespace art {

namespace {

// Polygon corners are whole canvas pixels: at the painter's supersampling
// that is a fraction of a final pixel.
int Snap(const Painter& p, float v) {
  return int(std::lround(p.ToCanvas(v)));
}

void Disc(Painter& p, float cx, float cy, float r, LICE_Pixel32 c) {
  p.Touch(cx - r, cy - r, cx + r, cy + r);
  LICE_FillCircle(p.mask(), p.ToCanvas(cx), p.ToCanvas(cy), r * float(p.scale()), c, 1.0f,
                  LICE_MODE_COPY, true);
}

void Quad(Painter& p, const float* xy, LICE_Pixel32 c) {
  int x[4], y[4];
  for (int i = 0; i < 4; ++i) {
    x[i] = Snap(p, xy[2 * i]);
    y[i] = Snap(p, xy[2 * i + 1]);
  }
  LICE_FillConvexPolygon(p.mask(), x, y, 4, c);
}

void RoundRect(Painter& p, float l, float t, float r, float b, float rad, LICE_Pixel32 c) {
  rad = std::min({rad, 0.5f * (r - l), 0.5f * (b - t)});
  p.Touch(l, t, r, b);
  const float s = float(p.scale());
  // The straight parts as two overlapping rectangles, the corners as discs.
  const int x0 = int(std::lround(l * s)), x1 = int(std::lround(r * s));
  const int y0 = int(std::lround(t * s)), y1 = int(std::lround(b * s));
  const int ri = int(std::lround(rad * s));
  LICE_FillRect(p.mask(), x0 + ri, y0, x1 - x0 - 2 * ri, y1 - y0, c);
  LICE_FillRect(p.mask(), x0, y0 + ri, x1 - x0, y1 - y0 - 2 * ri, c);
  const float cl = l + rad, cr = r - rad, ct = t + rad, cb = b - rad;
  for (float cx : {cl, cr})
    for (float cy : {ct, cb})
      LICE_FillCircle(p.mask(), p.ToCanvas(cx), p.ToCanvas(cy), rad * s, c, 1.0f, LICE_MODE_COPY,
                      true);
}

} // namespace

void AddDisc(Painter& p, float cx, float cy, float r) {
  Disc(p, cx, cy, r, colour::kWhite);
}

void CutDisc(Painter& p, float cx, float cy, float r) {
  Disc(p, cx, cy, r, colour::kBlack);
}

void AddArc(Painter& p, float cx, float cy, float radius, float width, float a0, float a1,
            bool roundEnds) {
  if (a1 < a0) std::swap(a0, a1);
  const float inner = radius - 0.5f * width, outer = radius + 0.5f * width;
  p.Touch(cx - outer, cy - outer, cx + outer, cy + outer);
  // Steps short enough that each chord strays well under a canvas pixel.
  const int steps = std::max(1, int(std::ceil((a1 - a0) * outer * float(p.scale()) / 6.0f)));
  for (int i = 0; i < steps; ++i) {
    const float s0 = a0 + (a1 - a0) * float(i) / float(steps);
    const float s1 = a0 + (a1 - a0) * float(i + 1) / float(steps);
    const float xy[8] = {cx + inner * std::sin(s0), cy - inner * std::cos(s0),
                         cx + outer * std::sin(s0), cy - outer * std::cos(s0),
                         cx + outer * std::sin(s1), cy - outer * std::cos(s1),
                         cx + inner * std::sin(s1), cy - inner * std::cos(s1)};
    Quad(p, xy, colour::kWhite);
  }
  if (!roundEnds) return;
  for (float a : {a0, a1})
    AddDisc(p, cx + radius * std::sin(a), cy - radius * std::cos(a), 0.5f * width);
}

void AddStroke(Painter& p, float x0, float y0, float x1, float y1, float width) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float len = std::sqrt(dx * dx + dy * dy);
  const float h = 0.5f * width;
  if (len > 0) {
    const float nx = -dy / len * h, ny = dx / len * h;
    const float xy[8] = {x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny};
    p.Touch(std::min(x0, x1) - h, std::min(y0, y1) - h, std::max(x0, x1) + h, std::max(y0, y1) + h);
    Quad(p, xy, colour::kWhite);
  }
  AddDisc(p, x0, y0, h);
  AddDisc(p, x1, y1, h);
}

void AddRoundRect(Painter& p, float l, float t, float r, float b, float radius) {
  RoundRect(p, l, t, r, b, radius, colour::kWhite);
}

void CutRoundRect(Painter& p, float l, float t, float r, float b, float radius) {
  RoundRect(p, l, t, r, b, radius, colour::kBlack);
}

void AddPolygon(Painter& p, const float* xy, int points) {
  if (points < 3 || points > 64) return;
  int x[64], y[64];
  float l = xy[0], t = xy[1], r = xy[0], b = xy[1];
  for (int i = 0; i < points; ++i) {
    x[i] = Snap(p, xy[2 * i]);
    y[i] = Snap(p, xy[2 * i + 1]);
    l = std::min(l, xy[2 * i]), r = std::max(r, xy[2 * i]);
    t = std::min(t, xy[2 * i + 1]), b = std::max(b, xy[2 * i + 1]);
  }
  p.Touch(l, t, r, b);
  LICE_FillConvexPolygon(p.mask(), x, y, points, colour::kWhite);
}

} // namespace art
