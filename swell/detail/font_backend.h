#pragma once
// The seam between the GDI layer and the platform's font services: finding a
// face for a composed name, opening it at a pixel size, metrics, advances and
// glyph coverage. The Linux backend (fontconfig + FreeType) lives in
// font_backend_linux.cpp; another platform adds its own file beside it.
#include <cstdint>
#include <string>

namespace swell_font {

struct Face;

struct Metrics {
  float ascent = 0;  // pixels above the baseline
  float descent = 0; // pixels below it, positive
  float leading = 0; // extra space between lines, never negative
};

// One glyph's coverage: rows top-down, pitch bytes apart, one byte a pixel
// (0..255). Its top-left pixel goes at (penX + left, baseline - top).
struct GlyphCoverage {
  const uint8_t* rows;
  int pitch;
  int width;
  int height;
  int left;
  int top;
};

typedef void (*GlyphSink)(void* user, int x, int baseline, const GlyphCoverage& glyph);

// The platform's name for the face that best matches a composed name such as
// "Tahoma Bold Italic" (trailing " Bold" and " Italic" are style words, the
// rest the family). Empty when nothing matches. Not cached: the caller caches.
std::string ResolveName(const char* composedName);

// Opens a face by the platform name ResolveName gave; null on failure.
Face* Open(const std::string& platformName, int pixelSize);
// The label font: the system's default sans-serif face.
Face* OpenLabelFont(int pixelSize);
void Close(Face* face);

Metrics GetMetrics(const Face* face);
int GetPixelSize(const Face* face);
// Family and style names of the face that was opened (for diagnostics).
std::string GetFamilyName(const Face* face);
std::string GetStyleName(const Face* face);

// Sum of the advances of the characters, in pixels, laid out as DrawRun does.
float MeasureRun(Face* face, const uint32_t* chars, int count, bool antialias);
// Renders the characters with the pen starting at (x, baseline) and hands each
// glyph's coverage to the sink; monochrome glyphs come as 0 or 255.
void DrawRun(Face* face, const uint32_t* chars, int count, int x, int baseline, bool antialias,
             GlyphSink sink, void* user);

} // namespace swell_font
