#pragma once
// The layer's own rasteriser over 32-bit pixels (bytes A, R, G, B in memory,
// so the word on x86 is A | R << 8 | G << 16 | B << 24). Coverage is sampled at
// pixel centres with a top-left rule: pixel (x, y) belongs to a shape when
// (x + 0.5, y + 0.5) lies inside it, left and top edges included.
#include <cstdint>
#include <vector>

namespace swell_raster {

struct Surface {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int span = 0; // in pixels
};

// Half-open: l <= x < r, t <= y < b.
struct Clip {
  int l = 0, t = 0, r = 0, b = 0;
  bool IsEmpty() const { return r <= l || b <= t; }
};

Clip Intersect(const Clip& a, const Clip& b);
Clip SurfaceBounds(const Surface& s);

// A colour and its weight out of 256 (256 = opaque).
struct Paint {
  uint8_t r = 0, g = 0, b = 0;
  int weight = 256;
};

struct PointF {
  double x, y;
};

// Several closed sub-paths filled together with the non-zero winding rule.
typedef std::vector<std::vector<PointF>> Path;

inline uint32_t PackPixel(int a, int r, int g, int b) {
  return static_cast<uint32_t>(a) | static_cast<uint32_t>(r) << 8 | static_cast<uint32_t>(g) << 16 |
         static_cast<uint32_t>(b) << 24;
}

// Mixes the paint into one pixel with the given weight (0..256); the alpha
// byte moves toward 255 by the same weight, since drawn pixels are opaque.
void BlendPixel(uint32_t* pixel, const Paint& paint, int weight);

void FillRect(const Surface& s, const Clip& clip, int l, int t, int r, int b, const Paint& paint);
void FillPath(const Surface& s, const Clip& clip, const Path& path, const Paint& paint);

// Strokes the polyline with butt ends; interior joins (and all of a closed
// one) are extended by half the width so right-angle corners come out square.
void StrokePolyline(const Surface& s, const Clip& clip, const PointF* points, int count,
                    bool closed, double width, const Paint& paint);

// Composites an 8-bit coverage block whose top-left pixel lands at (x, y).
void BlendCoverage(const Surface& s, const Clip& clip, int x, int y, const uint8_t* rows, int pitch,
                   int width, int height, const Paint& paint);

enum class ImageMode { kCopyOpaque, kBlendByAlpha };

// Draws a sw x sh block of source pixels (span in pixels) scaled into the
// destination rectangle (x, y, w, h) by nearest-neighbour sampling.
void DrawImage(const Surface& dest, const Clip& clip, int x, int y, int w, int h,
               const uint32_t* src, int srcSpan, int sw, int sh, ImageMode mode);

} // namespace swell_raster
