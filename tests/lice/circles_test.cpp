#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <utility>

#include "lice/lice.h"
#include "lice/lice_lines.h"
#include "shape_test_bitmaps.h"

namespace {

constexpr LICE_Pixel32 kWhite = LICE_RGBA(255, 255, 255, 255);

// Copy mode, white on black: weight w gives 255 - 255 * (256 - w) / 256.
int copiedWeight(int w) {
  return 255 + (0 - 255) * (256 - w) / 256;
}

using Quadrant = std::map<std::pair<int, int>, int>; // (dx, dy >= 0) -> weight

// The four mirror images of each quadrant pixel around (cx, cy) carry its
// weight, and nothing else in the bitmap is set.
void expectMirroredQuadrant(LICE_IBitmap* bm, int cx, int cy, const Quadrant& q) {
  PixelSet where;
  for (const auto& [pos, weight] : q) {
    for (int sx : {1, -1}) {
      for (int sy : {1, -1}) {
        const int x = cx + sx * pos.first, y = cy + sy * pos.second;
        where.insert({x, y});
        EXPECT_EQ(LICE_GETR(LICE_GetPixel(bm, x, y)), copiedWeight(weight))
            << pos.first << "," << pos.second << " at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(SetPixels(bm), where);
}

// Radius 5.5: R = 5 and fraction 0.5, so the axis pixels at 5 and 6 both
// weigh 128. The walk, c = sqrt(30.25 - x^2), g = (int)c, h = frac(c) * 256:
//   x=1  c=5.408  g=5 h=104   (1,5) 152  (1,6) 104  mirrored (5,1) (6,1)
//   x=2  c=5.123  g=5 h=31    (2,5) 225  (2,6) 31   mirrored (5,2) (6,2)
//   x=3  c=4.610  g=4 h=156   (3,4) 100  (3,5) 156  mirrored (4,3) (5,3)
//   x=4  c=3.775  g=3 h=198   (4,3) 58   (4,4) 198  mirrored (3,4) (4,4)
//   x=5  c=2.291  g=2 h=74    (5,2) 182  (5,3) 74   last step: 4 >= (int)2.79
// Pixels reached twice keep the larger weight.
TEST(CircleAntiAliased, OutlinePixelsFollowTheWalk) {
  const Quadrant q = {{{0, 5}, 128}, {{0, 6}, 128}, {{5, 0}, 128}, {{6, 0}, 128}, {{1, 5}, 152},
                      {{1, 6}, 104}, {{5, 1}, 152}, {{6, 1}, 104}, {{2, 5}, 225}, {{2, 6}, 31},
                      {{5, 2}, 225}, {{6, 2}, 31},  {{3, 4}, 100}, {{3, 5}, 156}, {{4, 3}, 100},
                      {{5, 3}, 156}, {{4, 4}, 198}};
  LICE_MemBitmap bm(24, 24, 0);
  LICE_Clear(&bm, 0);
  LICE_Circle(&bm, 10, 10, 5.5f, kWhite, 1.0f, LICE_MODE_COPY, true);
  expectMirroredQuadrant(&bm, 10, 10, q);
  // The centre pixel is the centre rounded half up.
  LICE_Clear(&bm, 0);
  LICE_Circle(&bm, 10.5f, 9.4f, 5.5f, kWhite, 1.0f, LICE_MODE_COPY, true);
  expectMirroredQuadrant(&bm, 11, 9, q);
}

// The same walk filled: spans up to g (and both diameters) are solid, the
// pixels beyond them take the walk's fractional weights.
TEST(CircleAntiAliased, FillPixelsFollowTheWalk) {
  Quadrant q;
  const int solidHalfWidth[] = {5, 5, 5, 4, 3, 2}; // rows 0..5
  for (int dy = 0; dy < 6; ++dy) {
    for (int dx = 0; dx <= solidHalfWidth[dy]; ++dx) q[{dx, dy}] = 256;
  }
  q[{6, 0}] = 128, q[{6, 1}] = 104, q[{6, 2}] = 31, q[{5, 3}] = 156, q[{4, 4}] = 198;
  q[{3, 5}] = 156, q[{0, 6}] = 128, q[{1, 6}] = 104, q[{2, 6}] = 31;
  LICE_MemBitmap bm(24, 24, 0);
  LICE_Clear(&bm, 0);
  LICE_FillCircle(&bm, 10, 10, 5.5f, kWhite, 1.0f, LICE_MODE_COPY, true);
  expectMirroredQuadrant(&bm, 10, 10, q);
}

TEST(CircleAntiAliased, EveryPixelIsDrawnOnceInBlendingModes) {
  const LICE_Pixel32 ten = LICE_RGBA(10, 10, 10, 10);
  for (float r : {5.5f, 7.7f, 10.25f, 13.6f}) {
    for (bool fill : {false, true}) {
      LICE_MemBitmap once(40, 40, 0), twice(40, 40, 0);
      LICE_Clear(&once, 0), LICE_Clear(&twice, 0);
      auto draw = [&](LICE_IBitmap* bm, float alpha) {
        if (fill)
          LICE_FillCircle(bm, 20, 20, r, ten, alpha, LICE_MODE_ADD, true);
        else
          LICE_Circle(bm, 20, 20, r, ten, alpha, LICE_MODE_ADD, true);
      };
      draw(&once, 1.0f);
      draw(&twice, 1.0f);
      draw(&twice, 1.0f);
      // Adding twice must give exactly twice what one pass gave.
      for (const auto& p : SetPixels(&once)) {
        ASSERT_EQ(2 * LICE_GETR(LICE_GetPixel(&once, p.first, p.second)),
                  LICE_GETR(LICE_GetPixel(&twice, p.first, p.second)))
            << r << " " << p.first << "," << p.second;
        ASSERT_LE(LICE_GETR(LICE_GetPixel(&once, p.first, p.second)), 10);
      }
    }
  }
}

TEST(CircleMidpoint, RadiusTenFollowsTheWalk) {
  // e starts at -10; x = 1..7 gives y = 10, 10, 10, 9, 9, 8, 7 (y steps when
  // e >= 0 before plotting).
  LICE_MemBitmap bm(30, 30, 0);
  LICE_Clear(&bm, 0);
  LICE_Circle(&bm, 15, 15, 10, kWhite);
  Quadrant q = {{{0, 10}, 256}, {{10, 0}, 256}};
  const int ys[] = {10, 10, 10, 9, 9, 8, 7};
  for (int x = 1; x <= 7; ++x) q[{x, ys[x - 1]}] = 256, q[{ys[x - 1], x}] = 256;
  expectMirroredQuadrant(&bm, 15, 15, q);
}

TEST(CircleEdges, NearTheEdgesOnlyInsidePixelsChange) {
  for (bool aa : {false, true}) {
    for (bool fill : {false, true}) {
      for (auto [cx, cy] : {std::pair{1.2f, 2.0f}, {14.0f, 15.5f}, {-3.0f, 8.0f}, {8.0f, 19.0f}}) {
        GuardedBitmap bm(16, 16);
        LICE_MemBitmap reference(40, 40, 0);
        LICE_Clear(&reference, 0);
        if (fill) {
          LICE_FillCircle(&bm.bitmap, cx, cy, 6.6f, kWhite, 1.0f, 0, aa);
          LICE_FillCircle(&reference, cx + 12, cy + 12, 6.6f, kWhite, 1.0f, 0, aa);
        } else {
          LICE_Circle(&bm.bitmap, cx, cy, 6.6f, kWhite, 1.0f, 0, aa);
          LICE_Circle(&reference, cx + 12, cy + 12, 6.6f, kWhite, 1.0f, 0, aa);
        }
        ASSERT_TRUE(bm.GuardsIntact()) << cx << "," << cy;
        // Clipping cuts pixels off; it never moves or reweighs the others.
        for (int y = 0; y < 16; ++y) {
          for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(LICE_GetPixel(&bm.bitmap, x, y), LICE_GetPixel(&reference, x + 12, y + 12))
                << x << "," << y << " aa " << aa << " fill " << fill;
          }
        }
      }
    }
  }
}

// Stored rows of a flipped bitmap as an upright bitmap of the same size.
void copyStorage(FlippedTestBitmap* flipped, LICE_IBitmap* upright) {
  for (int y = 0; y < flipped->getHeight(); ++y) {
    for (int x = 0; x < flipped->getWidth(); ++x) {
      LICE_PutPixel(upright, x, y, flipped->pixels[size_t(y * flipped->getWidth() + x)], 1.0f,
                    LICE_MODE_COPY);
    }
  }
}

TEST(CircleFlipped, CentreAndAnglesTurnBeforeRounding) {
  // On a flipped bitmap of height 30, y becomes 29 - y before the centre is
  // rounded: y = 9.5 is stored around row (int)(19.5 + 0.5) = 20, where an
  // upright bitmap would put logical row 10 (stored row 19).
  for (bool aa : {false, true}) {
    FlippedTestBitmap flipped(30, 30);
    LICE_MemBitmap stored(30, 30, 0), upright(30, 30, 0);
    LICE_Clear(&upright, 0);
    LICE_Circle(&flipped, 12, 9.5f, 5.5f, kWhite, 1.0f, 0, aa);
    LICE_Arc(&flipped, 12, 9.5f, 9, 0.3f, 2.0f, kWhite, 1.0f, 0, aa);
    copyStorage(&flipped, &stored);
    LICE_Circle(&upright, 12, 19.5f, 5.5f, kWhite, 1.0f, 0, aa);
    LICE_Arc(&upright, 12, 19.5f, 9, float(M_PI) - 2.0f, float(M_PI) - 0.3f, kWhite, 1.0f, 0, aa);
    EXPECT_EQ(LICE_BitmapCmp(&stored, &upright), 0) << aa;
    // The circle's top (radius 6 by the midpoint method, 5 + 1 anti-aliased)
    // is row 14 around row 20; around row 19 it would reach row 13.
    EXPECT_NE(LICE_GetPixel(&stored, 12, 14), 0u);
    EXPECT_EQ(LICE_GetPixel(&stored, 12, 13), 0u);
  }
}

// The circle's pixels inside an inclusive box.
PixelSet insideBox(const PixelSet& s, int l, int t, int r, int b) {
  PixelSet out;
  for (const auto& p : s) {
    if (p.first >= l && p.first <= r && p.second >= t && p.second <= b) out.insert(p);
  }
  return out;
}

TEST(Arcs, AQuarterIsTheCircleInsideTheBoxOfItsEnds) {
  LICE_MemBitmap circle(40, 40, 0), arc(40, 40, 0);
  LICE_Clear(&circle, 0), LICE_Clear(&arc, 0);
  LICE_Circle(&circle, 20, 20, 12, kWhite);
  LICE_Arc(&arc, 20, 20, 12, 0, float(M_PI / 2), kWhite);
  // Ends (20, 8) and (32, 20).
  EXPECT_EQ(SetPixels(&arc), insideBox(SetPixels(&circle), 20, 8, 32, 20));
  LICE_Clear(&arc, 0);
  LICE_Arc(&arc, 20, 20, 12, float(M_PI / 2), float(M_PI), kWhite);
  EXPECT_EQ(SetPixels(&arc), insideBox(SetPixels(&circle), 20, 20, 32, 32));
}

TEST(Arcs, APieceStopsAtTheBoxOfItsEndAngle) {
  LICE_MemBitmap circle(40, 40, 0), arc(40, 40, 0);
  LICE_Clear(&circle, 0), LICE_Clear(&arc, 0);
  LICE_Circle(&circle, 20, 20, 12, kWhite);
  const float a = 0.6f; // end (20 + 12 sin a + 0.5, 20 - 12 cos a + 0.5) = (27, 10)
  LICE_Arc(&arc, 20, 20, 12, 0, a, kWhite);
  EXPECT_EQ(SetPixels(&arc), insideBox(SetPixels(&circle), 20, 8, 27, 10));
}

TEST(Arcs, AWholeCentreKeepsTheBoxAndAHalfCentreWidensItOutward) {
  const float q = float(M_PI / 2);
  // Whole centre, r = 6.5: the top end is row (int)(13.5 + 0.5) = 14, so the
  // anti-aliased pixel at row 13 stays out of the first quarter.
  LICE_MemBitmap arc(40, 40, 0);
  LICE_Clear(&arc, 0);
  LICE_Arc(&arc, 20, 20, 6.5f, 0, q, kWhite, 1.0f, 0, true);
  EXPECT_EQ(LICE_GetPixel(&arc, 20, 13), 0u);
  EXPECT_NE(LICE_GetPixel(&arc, 20, 14), 0u);
  EXPECT_NE(LICE_GetPixel(&arc, 27, 20), 0u); // (int)(27.0) includes the rim
  // Centre (20.5, 20.5) draws around pixel (21, 21); the ends give the box
  // 21..27 x 15..21, widened to 28 on the right and 14 at the top.
  LICE_MemBitmap circle(40, 40, 0);
  LICE_Clear(&circle, 0), LICE_Clear(&arc, 0);
  LICE_Circle(&circle, 20.5f, 20.5f, 6.5f, kWhite, 1.0f, 0, true);
  LICE_Arc(&arc, 20.5f, 20.5f, 6.5f, 0, q, kWhite, 1.0f, 0, true);
  EXPECT_EQ(SetPixels(&arc), insideBox(SetPixels(&circle), 21, 14, 28, 21));
  EXPECT_NE(LICE_GetPixel(&arc, 28, 21), 0u);
}

TEST(Arcs, AnglesBeyondAFullTurnAndSpans) {
  const float q = float(M_PI / 2);
  LICE_MemBitmap a(40, 40, 0), b(40, 40, 0);
  LICE_Clear(&a, 0), LICE_Clear(&b, 0);
  LICE_Arc(&a, 20, 20, 9, -q, 0, kWhite);
  LICE_Arc(&b, 20, 20, 9, float(-q - 4 * M_PI), float(-4 * M_PI), kWhite);
  EXPECT_EQ(LICE_BitmapCmp(&a, &b), 0);
  EXPECT_TRUE(SetPixels(&a).count({11, 20}) && SetPixels(&a).count({20, 11}));
  // A span beyond a full turn is the circle; an end before the start draws
  // nothing.
  LICE_MemBitmap circle(40, 40, 0);
  LICE_Clear(&circle, 0), LICE_Clear(&a, 0), LICE_Clear(&b, 0);
  LICE_Circle(&circle, 20, 20, 9, kWhite);
  LICE_Arc(&a, 20, 20, 9, 1.0f, float(1 + 2 * M_PI), kWhite);
  EXPECT_EQ(LICE_BitmapCmp(&a, &circle), 0);
  LICE_Arc(&b, 20, 20, 9, 2.0f, 1.0f, kWhite);
  EXPECT_TRUE(SetPixels(&b).empty());
}

} // namespace
