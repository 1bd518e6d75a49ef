#include "detail/raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace swell_raster {

Clip Intersect(const Clip& a, const Clip& b) {
  Clip c;
  c.l = std::max(a.l, b.l);
  c.t = std::max(a.t, b.t);
  c.r = std::min(a.r, b.r);
  c.b = std::min(a.b, b.b);
  return c;
}

Clip SurfaceBounds(const Surface& s) {
  Clip c;
  c.r = s.pixels ? s.width : 0;
  c.b = s.pixels ? s.height : 0;
  return c;
}

void BlendPixel(uint32_t* pixel, const Paint& paint, int weight) {
  if (weight <= 0) return;
  if (weight >= 256) {
    *pixel = PackPixel(255, paint.r, paint.g, paint.b);
    return;
  }
  const uint32_t p = *pixel;
  const int keep = 256 - weight;
  auto mix = [&](int d, int c) { return (d * keep + c * weight + 128) >> 8; };
  *pixel = PackPixel(mix(p & 0xFF, 255), mix((p >> 8) & 0xFF, paint.r),
                     mix((p >> 16) & 0xFF, paint.g), mix(p >> 24, paint.b));
}

void FillRect(const Surface& s, const Clip& clip, int l, int t, int r, int b, const Paint& paint) {
  Clip box;
  box.l = l;
  box.t = t;
  box.r = r;
  box.b = b;
  const Clip c = Intersect(Intersect(box, clip), SurfaceBounds(s));
  if (c.IsEmpty() || paint.weight <= 0) return;
  for (int y = c.t; y < c.b; ++y) {
    uint32_t* row = s.pixels + static_cast<size_t>(y) * s.span;
    for (int x = c.l; x < c.r; ++x) BlendPixel(row + x, paint, paint.weight);
  }
}

namespace {

struct Crossing {
  double x;
  int dir;
};

// Pixels x with l <= x + 0.5 < r.
void FillSpan(uint32_t* row, const Clip& c, double l, double r, const Paint& paint) {
  const int x0 = std::max(c.l, static_cast<int>(std::ceil(std::max(l - 0.5, -1.0e9))));
  const int x1 = std::min(c.r, static_cast<int>(std::ceil(std::min(r - 0.5, 1.0e9))));
  for (int x = x0; x < x1; ++x) BlendPixel(row + x, paint, paint.weight);
}

bool PathBounds(const Path& path, double* top, double* bottom) {
  bool any = false;
  for (const auto& sub : path) {
    for (const PointF& p : sub) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
      *top = any ? std::min(*top, p.y) : p.y;
      *bottom = any ? std::max(*bottom, p.y) : p.y;
      any = true;
    }
  }
  return any;
}

} // namespace

void FillPath(const Surface& s, const Clip& clip, const Path& path, const Paint& paint) {
  const Clip c = Intersect(clip, SurfaceBounds(s));
  double top = 0, bottom = 0;
  if (c.IsEmpty() || paint.weight <= 0 || !PathBounds(path, &top, &bottom)) return;
  const int y0 = std::max(c.t, static_cast<int>(std::floor(std::max(top, -1.0e9))));
  const int y1 = std::min(c.b, static_cast<int>(std::ceil(std::min(bottom, 1.0e9))));
  std::vector<Crossing> crossings;
  for (int y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    crossings.clear();
    for (const auto& sub : path) {
      const size_t n = sub.size();
      for (size_t i = 0; i < n && n >= 2; ++i) {
        const PointF& a = sub[i];
        const PointF& b = sub[(i + 1) % n];
        if (a.y == b.y) continue;
        const bool down = b.y > a.y;
        const double lo = down ? a.y : b.y, hi = down ? b.y : a.y;
        if (yc < lo || yc >= hi) continue;
        crossings.push_back({a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y), down ? 1 : -1});
      }
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& p, const Crossing& q) { return p.x < q.x; });
    uint32_t* row = s.pixels + static_cast<size_t>(y) * s.span;
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].dir;
      if (winding != 0) FillSpan(row, c, crossings[i].x, crossings[i + 1].x, paint);
    }
  }
}

void StrokePolyline(const Surface& s, const Clip& clip, const PointF* points, int count,
                    bool closed, double width, const Paint& paint) {
  if (!points || count < 2 || !(width > 0)) return;
  const double hw = width / 2;
  const int segments = closed ? count : count - 1;
  Path quads;
  for (int i = 0; i < segments; ++i) {
    PointF p = points[i];
    PointF q = points[(i + 1) % count];
    const double dx = q.x - p.x, dy = q.y - p.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (!(len > 0)) continue;
    const double ux = dx / len, uy = dy / len;
    const bool extendStart = closed || i > 0;
    const bool extendEnd = closed || i + 1 < segments;
    if (extendStart) p = {p.x - ux * hw, p.y - uy * hw};
    if (extendEnd) q = {q.x + ux * hw, q.y + uy * hw};
    const double nx = -uy * hw, ny = ux * hw;
    // Every quad has the same orientation, so overlaps add up under non-zero.
    quads.push_back(
        {{p.x + nx, p.y + ny}, {q.x + nx, q.y + ny}, {q.x - nx, q.y - ny}, {p.x - nx, p.y - ny}});
  }
  FillPath(s, clip, quads, paint);
}

void BlendCoverage(const Surface& s, const Clip& clip, int x, int y, const uint8_t* rows, int pitch,
                   int width, int height, const Paint& paint) {
  const Clip c = Intersect(clip, SurfaceBounds(s));
  if (!rows || c.IsEmpty() || width <= 0 || height <= 0) return;
  const int j0 = std::max(0, c.t - y), j1 = std::min(height, c.b - y);
  const int i0 = std::max(0, c.l - x), i1 = std::min(width, c.r - x);
  for (int j = j0; j < j1; ++j) {
    const uint8_t* src = rows + static_cast<ptrdiff_t>(j) * pitch;
    uint32_t* row = s.pixels + static_cast<size_t>(y + j) * s.span + x;
    for (int i = i0; i < i1; ++i) {
      const int v = src[i];
      if (v) BlendPixel(row + i, paint, (v + (v >> 7)) * paint.weight / 256);
    }
  }
}

void DrawImage(const Surface& dest, const Clip& clip, int x, int y, int w, int h,
               const uint32_t* src, int srcSpan, int sw, int sh, ImageMode mode) {
  const Clip c = Intersect(clip, SurfaceBounds(dest));
  if (!src || c.IsEmpty() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  const int64_t y0 = std::max<int64_t>(c.t, y), y1 = std::min<int64_t>(c.b, int64_t{y} + h);
  const int64_t x0 = std::max<int64_t>(c.l, x), x1 = std::min<int64_t>(c.r, int64_t{x} + w);
  for (int64_t dy = y0; dy < y1; ++dy) {
    const int64_t sy = ((dy - y) * 2 + 1) * sh / (2 * int64_t{h});
    const uint32_t* srow = src + static_cast<size_t>(sy) * srcSpan;
    uint32_t* drow = dest.pixels + static_cast<size_t>(dy) * dest.span;
    for (int64_t dx = x0; dx < x1; ++dx) {
      const uint32_t p = srow[((dx - x) * 2 + 1) * sw / (2 * int64_t{w})];
      Paint paint;
      paint.r = (p >> 8) & 0xFF;
      paint.g = (p >> 16) & 0xFF;
      paint.b = p >> 24;
      const int a = p & 0xFF;
      BlendPixel(drow + dx, paint, mode == ImageMode::kCopyOpaque ? 256 : a + (a >> 7));
    }
  }
}

} // namespace swell_raster
