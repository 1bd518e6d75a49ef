// The art tool's own drawing steps: painting through masks, exact
// downsampling, unmatting and the panel grain.
#include <gtest/gtest.h>

#include <cstdlib>

#include "lice/lice.h"
#include "tools/art/Filters.h"
#include "tools/art/Painter.h"
#include "tools/art/Shapes.h"
#include "tools/art/Texture.h"

namespace {

LICE_Pixel32 At(LICE_IBitmap* bm, int x, int y) {
  return bm->getBits()[y * bm->getRowSpan() + x];
}

// Overlapping pieces of one shape must not blend twice where they overlap.
TEST(ArtPainter, OverlappingPiecesOfOneShapeBlendOnce) {
  LICE_MemBitmap canvas(40, 20);
  LICE_Clear(&canvas, LICE_RGB(0, 0, 0));
  art::Painter p(&canvas, 1);
  p.BeginShape();
  art::AddDisc(p, 14, 10, 8);
  art::AddDisc(p, 26, 10, 8);
  p.Fill(LICE_RGB(200, 100, 40), 0.5f);
  const LICE_Pixel32 single = At(&canvas, 10, 10), overlap = At(&canvas, 20, 10);
  EXPECT_EQ(overlap, single);
  EXPECT_NEAR(LICE_GETR(single), 100, 2);
  // The next shape starts from an empty mask.
  p.BeginShape();
  p.Fill(LICE_RGB(255, 255, 255));
  EXPECT_EQ(At(&canvas, 10, 10), single);
  EXPECT_EQ(At(&canvas, 39, 0), LICE_RGB(0, 0, 0));
}

TEST(ArtPainter, GradientRunsFromEndToEnd) {
  LICE_MemBitmap canvas(64, 8);
  LICE_Clear(&canvas, LICE_RGB(0, 0, 0));
  art::Painter p(&canvas, 1);
  p.BeginShape();
  art::AddRoundRect(p, 0, 0, 64, 8, 0);
  p.Fill(art::Gradient{0.5f, 0, LICE_RGB(0, 0, 255), 63.5f, 0, LICE_RGB(255, 0, 0)});
  EXPECT_NEAR(LICE_GETB(At(&canvas, 0, 4)), 255, 2);
  EXPECT_NEAR(LICE_GETR(At(&canvas, 63, 4)), 255, 2);
  EXPECT_NEAR(LICE_GETR(At(&canvas, 32, 4)), 130, 3);
}

// Averages round to nearest: white stays 255, and a block of half black,
// half white is mid grey.
TEST(ArtFilters, DownsampleAveragesExactly) {
  LICE_MemBitmap fine(8, 4), coarse(2, 1);
  LICE_Clear(&fine, LICE_RGB(255, 255, 255));
  LICE_FillRect(&fine, 4, 0, 2, 4, LICE_RGB(0, 0, 0));
  art::Downsample(&coarse, 0, 0, &fine, 4);
  EXPECT_EQ(At(&coarse, 0, 0), LICE_RGB(255, 255, 255));
  EXPECT_EQ(At(&coarse, 1, 0), LICE_RGB(128, 128, 128));
}

// A colour blended at some alpha over black and over white comes back as
// that colour and alpha.
TEST(ArtFilters, UnmatteRecoversColourAndAlpha) {
  const struct {
    LICE_Pixel32 colour;
    float alpha;
  } cases[] = {{LICE_RGB(255, 138, 28), 1.0f},  {LICE_RGB(255, 138, 28), 0.5f},
               {LICE_RGB(20, 200, 90), 0.25f},  {LICE_RGB(0, 0, 0), 0.75f},
               {LICE_RGB(255, 255, 255), 0.1f}, {LICE_RGB(90, 90, 90), 0.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.alpha);
    LICE_MemBitmap black(4, 4), white(4, 4), out(1, 1);
    LICE_Clear(&black, LICE_RGB(0, 0, 0));
    LICE_Clear(&white, LICE_RGB(255, 255, 255));
    LICE_FillRect(&black, 0, 0, 4, 4, c.colour, c.alpha);
    LICE_FillRect(&white, 0, 0, 4, 4, c.colour, c.alpha);
    art::UnmatteDownsample(&black, &white, 4, &out, 0, 0);
    const LICE_Pixel32 p = At(&out, 0, 0);
    EXPECT_NEAR(LICE_GETA(p), int(c.alpha * 255 + 0.5f), 2);
    if (c.alpha == 0.0f) {
      EXPECT_EQ(p, 0u);
      continue;
    }
    // A faint pixel holds its colour in fewer steps: one step of the
    // blended value is 1 / alpha steps of the colour.
    const int tolerance = 2 + int(1.5f / c.alpha);
    EXPECT_NEAR(LICE_GETR(p), LICE_GETR(c.colour), tolerance);
    EXPECT_NEAR(LICE_GETG(p), LICE_GETG(c.colour), tolerance);
    EXPECT_NEAR(LICE_GETB(p), LICE_GETB(c.colour), tolerance);
  }
}

TEST(ArtFilters, SoftBlurKeepsFlatAreasAndSpreadsEdges) {
  LICE_MemBitmap bm(32, 32);
  LICE_Clear(&bm, LICE_RGB(0, 0, 0));
  LICE_FillRect(&bm, 16, 0, 16, 32, LICE_RGB(240, 240, 240));
  art::SoftBlur(&bm, 6);
  EXPECT_EQ(At(&bm, 0, 16), LICE_RGB(0, 0, 0));
  EXPECT_EQ(At(&bm, 31, 16), LICE_RGB(240, 240, 240));
  EXPECT_GT(LICE_GETR(At(&bm, 14, 16)), 0);
  EXPECT_LT(LICE_GETR(At(&bm, 17, 16)), 240);
  EXPECT_EQ(LICE_GETA(At(&bm, 15, 16)), 255);
}

// The grain shifts each pixel by at most its strength, grain cells are
// uniform, and a seed always draws the same grain.
TEST(ArtTexture, GrainIsBoundedBlockyAndRepeatable) {
  LICE_MemBitmap a(64, 16), b(64, 16);
  LICE_Clear(&a, LICE_RGB(100, 100, 100));
  LICE_Clear(&b, LICE_RGB(100, 100, 100));
  art::AddBrushedGrain(&a, 2, 5.0f, 7u);
  art::AddBrushedGrain(&b, 2, 5.0f, 7u);
  EXPECT_EQ(LICE_BitmapCmp(&a, &b), 0);
  bool changed = false;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x) {
      const LICE_Pixel32 p = At(&a, x, y);
      EXPECT_LE(std::abs(LICE_GETR(p) - 100), 5);
      EXPECT_EQ(p, At(&a, x & ~1, y & ~1));
      changed |= p != LICE_RGB(100, 100, 100);
    }
  EXPECT_TRUE(changed);
}

} // namespace
