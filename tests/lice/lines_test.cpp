#include <climits>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "lice/lice.h"
#include "lice/lice_lines.h"
#include "shape_test_bitmaps.h"

namespace {

constexpr LICE_Pixel32 kWhite = LICE_RGBA(255, 255, 255, 255);

TEST(LineExactPixels, AShortRowSetsExactlyItsFourPixels) {
  LICE_MemBitmap bm(8, 4, 0);
  LICE_Clear(&bm, 0);
  LICE_Line(&bm, 0, 0, 3, 0, LICE_RGBA(1, 2, 3, 4));
  EXPECT_EQ(SetPixels(&bm), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
  EXPECT_EQ(LICE_GetPixel(&bm, 2, 0), LICE_RGBA(1, 2, 3, 4));
}

TEST(LineExactPixels, ShallowLinesStepTheMinorAxisAtTheHalf) {
  LICE_MemBitmap bm(8, 4, 0);
  LICE_Clear(&bm, 0);
  LICE_Line(&bm, 0, 0, 4, 2, kWhite);
  EXPECT_EQ(SetPixels(&bm), (PixelSet{{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}}));
}

// Stepping from each end alone, (0,0)-(2,1) would take (1,1) as its middle
// pixel one way and (1,0) the other; the smaller end always comes first.
TEST(LineExactPixels, AnEvenLengthHasOneMiddlePixelInBothDirections) {
  LICE_MemBitmap forward(4, 3, 0), backward(4, 3, 0);
  LICE_Clear(&forward, 0), LICE_Clear(&backward, 0);
  LICE_Line(&forward, 0, 0, 2, 1, kWhite);
  LICE_Line(&backward, 2, 1, 0, 0, kWhite);
  EXPECT_EQ(SetPixels(&forward), (PixelSet{{0, 0}, {1, 1}, {2, 1}}));
  EXPECT_EQ(LICE_BitmapCmp(&forward, &backward), 0);
}

TEST(LineExactPixels, BothDirectionsSetTheSamePixels) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const int x1 = int(random() % 60) - 10, y1 = int(random() % 50) - 10;
    const int x2 = int(random() % 60) - 10, y2 = int(random() % 50) - 10;
    const bool aa = round % 2;
    LICE_MemBitmap forward(40, 30, 0), backward(40, 30, 0);
    LICE_Clear(&forward, 0);
    LICE_Clear(&backward, 0);
    LICE_Line(&forward, x1, y1, x2, y2, kWhite, 0.8f, LICE_MODE_COPY, aa);
    LICE_Line(&backward, x2, y2, x1, y1, kWhite, 0.8f, LICE_MODE_COPY, aa);
    ASSERT_EQ(LICE_BitmapCmp(&forward, &backward), 0) << x1 << "," << y1 << " " << x2 << "," << y2;
  }
}

TEST(LineExactPixels, EveryPixelOfALineIsVisitedOnce) {
  LICE_MemBitmap bm(40, 30, 0);
  for (int aa = 0; aa < 2; ++aa) {
    for (auto [x2, y2] : {std::pair{37, 11}, {5, 29}, {39, 0}, {20, 20}, {0, 29}}) {
      LICE_Clear(&bm, 0);
      LICE_Line(&bm, 1, 2, x2, y2, LICE_RGBA(40, 40, 40, 40), 1.0f, LICE_MODE_ADD, aa);
      for (const auto& p : SetPixels(&bm)) {
        ASSERT_LE(LICE_GETR(LICE_GetPixel(&bm, p.first, p.second)), 40)
            << p.first << "," << p.second;
      }
    }
  }
}

TEST(LineClipping, EndsOutsideOnOneSideDrawNothing) {
  LICE_MemBitmap bm(10, 10, 0);
  LICE_Clear(&bm, 0);
  LICE_Line(&bm, -5, -1, -1, 9, kWhite);
  LICE_Line(&bm, 3, 10, 8, 20, kWhite, 1.0f, 0, true);
  LICE_FLine(&bm, 10.5f, 1, 30, 9, kWhite, 1.0f, 0, true);
  EXPECT_TRUE(SetPixels(&bm).empty());
}

TEST(LineClipping, FarOffEndsAreClippedWithoutOverflow) {
  LICE_MemBitmap bm(10, 10, 0);
  LICE_Clear(&bm, 0);
  LICE_Line(&bm, INT_MIN, 5, INT_MAX, 5, kWhite);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(LICE_GetPixel(&bm, x, 5), kWhite) << x;
  LICE_Line(&bm, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kWhite, 1.0f, 0, true);
  LICE_FLine(&bm, -1e30f, 3, 1e30f, 4, kWhite, 1.0f, 0, true);
  EXPECT_NE(LICE_GetPixel(&bm, 4, 4), 0u);
  EXPECT_NE(LICE_GetPixel(&bm, 9, 9), 0u);
}

TEST(LineClipping, TheRectangleIncludesItsRightAndBottomEdges) {
  // y = x + 2: the first end moves to the top edge, then the left one; the
  // second end to the bottom edge, row 5, which is kept.
  int x1 = -10, y1 = -8, x2 = 10, y2 = 12;
  EXPECT_TRUE(LICE_ClipLine(&x1, &y1, &x2, &y2, 0, 0, 5, 5));
  EXPECT_EQ((std::vector<int>{x1, y1, x2, y2}), (std::vector<int>{0, 2, 3, 5}));
  x1 = 5, y1 = -3, x2 = 5, y2 = 9; // along the right edge
  EXPECT_TRUE(LICE_ClipLine(&x1, &y1, &x2, &y2, 0, 0, 5, 5));
  EXPECT_EQ((std::vector<int>{x1, y1, x2, y2}), (std::vector<int>{5, 0, 5, 5}));
  x1 = 6, y1 = 0, x2 = 6, y2 = 5; // one column beyond it
  EXPECT_FALSE(LICE_ClipLine(&x1, &y1, &x2, &y2, 0, 0, 5, 5));
  x1 = -10, y1 = 0, x2 = 10, y2 = 20; // passes above the box
  EXPECT_FALSE(LICE_ClipLine(&x1, &y1, &x2, &y2, 0, 0, 5, 5));
  x1 = 1, y1 = 1, x2 = 2, y2 = 2; // an inverted rectangle keeps nothing
  EXPECT_FALSE(LICE_ClipLine(&x1, &y1, &x2, &y2, 4, 0, 3, 5));
}

TEST(LineClipping, BitmapEdgeLinesAreDrawnToTheLastPixel) {
  LICE_MemBitmap bm(6, 5, 0);
  LICE_Clear(&bm, 0);
  LICE_Line(&bm, 5, -20, 5, 20, kWhite);
  LICE_Line(&bm, -3, 4, 30, 4, kWhite);
  PixelSet expected;
  for (int y = 0; y < 5; ++y) expected.insert({5, y});
  for (int x = 0; x < 6; ++x) expected.insert({x, 4});
  EXPECT_EQ(SetPixels(&bm), expected);
}

TEST(LineAntiAliasing, NeighbourPixelsNeverLeaveTheBitmap) {
  GuardedBitmap bm(12, 8);
  LICE_Line(&bm.bitmap, 0, 7, 11, 6, kWhite, 1.0f, 0, true);  // along the last row
  LICE_Line(&bm.bitmap, 11, 0, 10, 7, kWhite, 1.0f, 0, true); // along the last column
  LICE_FLine(&bm.bitmap, 0, 7, 11, 6.5f, kWhite, 1.0f, 0, true);
  LICE_FLine(&bm.bitmap, 11, 0, 10.5f, 7, kWhite, 1.0f, 0, true);
  LICE_Line(&bm.bitmap, 4, 7, 11, 0, kWhite, 1.0f, 0, true); // diagonal into a corner
  EXPECT_TRUE(bm.GuardsIntact());
  EXPECT_NE(LICE_GetPixel(&bm.bitmap, 5, 7), 0u);
}

TEST(LineAntiAliasing, DiagonalsMixThreeQuartersAndAQuarter) {
  LICE_MemBitmap bm(6, 6, 0);
  LICE_Clear(&bm, 0);
  LICE_Line(&bm, 1, 1, 3, 3, LICE_RGBA(200, 200, 200, 200), 1.0f, 0, true);
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 2, 2)), 100 + 50);
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 2, 1)), 50);
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 1, 2)), 50);
  EXPECT_EQ(LICE_GetPixel(&bm, 4, 3), 0u); // nothing after the last pixel
}

// Copy mode, white on black: weight w gives 255 - 255 * (256 - w) / 256.
int copiedWeight(int w) {
  return 255 + (0 - 255) * (256 - w) / 256;
}

TEST(LineAntiAliasing, WuWeightsFromBothEnds) {
  // (0,1)-(8,3): slope 0x4000, eight steps, so four interior pixels from the
  // first end (the middle one included) and three from the second. The
  // fraction f runs 0x4000, 0x8000, 0xC000, then wraps as the row steps: the
  // pixel on the line takes 255 - f/256 and the one below (above, from the
  // second end) f/256.
  for (bool reverse : {false, true}) {
    LICE_MemBitmap bm(10, 5, 0);
    LICE_Clear(&bm, 0);
    if (reverse)
      LICE_Line(&bm, 8, 3, 0, 1, kWhite, 1.0f, 0, true);
    else
      LICE_Line(&bm, 0, 1, 8, 3, kWhite, 1.0f, 0, true);
    const struct {
      int x, y, weight;
    } expected[] = {{0, 1, 256}, {1, 1, 191}, {1, 2, 64},  {2, 1, 127}, {2, 2, 128},
                    {3, 1, 63},  {3, 2, 192}, {4, 2, 255}, {5, 2, 192}, {5, 3, 63},
                    {6, 2, 128}, {6, 3, 127}, {7, 2, 64},  {7, 3, 191}, {8, 3, 256}};
    PixelSet where;
    for (const auto& e : expected) {
      where.insert({e.x, e.y});
      EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, e.x, e.y)), copiedWeight(e.weight))
          << e.x << "," << e.y << (reverse ? " reversed" : "");
    }
    EXPECT_EQ(SetPixels(&bm), where);
  }
}

TEST(LineModes, QuarterWordMixesOnlyAtExactQuarters) {
  LICE_MemBitmap bm(4, 2, 0);
  LICE_Clear(&bm, LICE_RGBA(3, 3, 3, 3));
  LICE_Line(&bm, 0, 0, 3, 0, LICE_RGBA(255, 255, 255, 255), 0.25f);
  LICE_Line(&bm, 0, 1, 3, 1, LICE_RGBA(255, 255, 255, 255), 0.2501f);
  // A quarter of the colour's bytes plus three quarters of the destination's
  // by shifts: 63 + 0 + 1; the copy operator at weight 64 gives 255 - 189.
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 1, 0)), 64);
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 1, 1)), 255 + (3 - 255) * 192 / 256);
}

TEST(LineModes, FastWeightsAndRefusals) {
  LICE_MemBitmap bm(8, 2, 0);
  LICE_Clear(&bm, LICE_RGBA(100, 100, 100, 100));
  LICE_Line(&bm, 0, 0, 7, 0, LICE_RGBA(200, 0, 50, 255), 0.5f);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 0), LICE_RGBA(150, 50, 75, 177));
  const LICE_Pixel32 before = LICE_GetPixel(&bm, 3, 1);
  LICE_Line(&bm, 0, 1, 7, 1, kWhite, 0.0f);
  LICE_Line(&bm, 0, 1, 7, 1, kWhite, 1.0f, 6);
  LICE_Line(nullptr, 0, 1, 7, 1, kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 1), before);
  LICE_Line(&bm, 0, 1, 7, 1, LICE_RGBA(10, 10, 10, 10), 1.0f, LICE_MODE_ADD);
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 3, 1)), 110);
}

TEST(LineDashes, AVerticalOneOnOneOffLineStoresEverySecondPixel) {
  LICE_MemBitmap bm(3, 9, 0);
  LICE_Clear(&bm, 0);
  LICE_DashedLine(&bm, 1, 8, 1, 0, 1, 1, kWhite);
  for (int y = 0; y < 9; ++y) EXPECT_EQ(LICE_GetPixel(&bm, 1, y), y % 2 ? 0u : kWhite) << y;
  LICE_DashedLine(&bm, 0, 0, 2, 8, 0, 3, kWhite); // no "on" run: nothing
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0u);
  // Runs at the int limit: the first "on" run covers the whole line.
  LICE_DashedLine(&bm, 2, 0, 2, 8, INT_MAX, INT_MAX, kWhite);
  for (int y = 0; y < 9; ++y) EXPECT_EQ(LICE_GetPixel(&bm, 2, y), kWhite) << y;
}

TEST(LineFlipped, RowsCountFromTheLogicalTop) {
  FlippedTestBitmap bm(6, 4);
  LICE_Line(&bm, 0, 0, 5, 0, kWhite);
  EXPECT_EQ(bm.pixels[size_t(3 * 6 + 2)], kWhite); // stored last row
  EXPECT_EQ(LICE_GetPixel(&bm, 2, 0), kWhite);
}

TEST(LineFlipped, IntegerLinesTurnYBeforeClipping) {
  // Clipped ends are truncated, and truncation does not mirror: the stored
  // rows must be those of an upright line drawn at height - 1 - y.
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    const int x1 = int(random() % 60) - 10, y1 = int(random() % 50) - 10;
    const int x2 = int(random() % 60) - 10, y2 = int(random() % 50) - 10;
    const bool aa = round % 2;
    FlippedTestBitmap flipped(40, 30);
    LICE_MemBitmap upright(40, 30, 0);
    LICE_Clear(&upright, 0);
    LICE_Line(&flipped, x1, y1, x2, y2, kWhite, 0.8f, LICE_MODE_COPY, aa);
    LICE_Line(&upright, x1, 29 - y1, x2, 29 - y2, kWhite, 0.8f, LICE_MODE_COPY, aa);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(flipped.pixels[size_t(y * 40 + x)], LICE_GetPixel(&upright, x, y))
            << x1 << "," << y1 << " " << x2 << "," << y2 << " at " << x << "," << y;
      }
    }
  }
  FlippedTestBitmap far(6, 4); // turning y must not overflow
  LICE_Line(&far, 2, INT_MIN, 2, INT_MAX, kWhite);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(LICE_GetPixel(&far, 2, y), kWhite) << y;
}

TEST(LineFlipped, FloatLinesTurnYBeforeTakingFractions) {
  // y = 1.25 on a flipped bitmap of height 6 is stored at 3.75: rows 3 and 4
  // of storage take a quarter and three quarters.
  FlippedTestBitmap bm(8, 6);
  LICE_FLine(&bm, 0, 1.25f, 7, 1.25f, kWhite, 1.0f, 0, true);
  LICE_MemBitmap upright(8, 6, 0);
  LICE_Clear(&upright, 0);
  LICE_FLine(&upright, 0, 3.75f, 7, 3.75f, kWhite, 1.0f, 0, true);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      ASSERT_EQ(bm.pixels[size_t(y * 8 + x)], LICE_GetPixel(&upright, x, y)) << x << "," << y;
    }
  }
  EXPECT_GT(LICE_GETR(bm.pixels[size_t(4 * 8 + 3)]), LICE_GETR(bm.pixels[size_t(3 * 8 + 3)]));
}

TEST(RectOutlines, DrawRectIncludesTheFarEdges) {
  LICE_MemBitmap bm(8, 8, 0);
  LICE_Clear(&bm, 0);
  LICE_DrawRect(&bm, 1, 1, 3, 2, kWhite);
  EXPECT_EQ(
      SetPixels(&bm),
      (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {4, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}));
  LICE_BorderedRect(&bm, 1, 1, 3, 2, LICE_RGBA(9, 9, 9, 9), kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 2, 2), LICE_RGBA(9, 9, 9, 9));
  EXPECT_EQ(LICE_GetPixel(&bm, 4, 2), kWhite);
}

TEST(RectOutlines, FarEdgesAtTheIntLimitsStayInside) {
  LICE_MemBitmap bm(8, 8, 0);
  LICE_Clear(&bm, 0);
  // Reaching past INT_MAX: the left and top edges still show, clipped.
  LICE_DrawRect(&bm, 2, 3, INT_MAX, INT_MAX, kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 2, 7), kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 7, 3), kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 4), 0u);
  LICE_Clear(&bm, 0);
  LICE_BorderedRect(&bm, INT_MAX, INT_MAX, INT_MIN, INT_MIN, kWhite, kWhite);
  LICE_BorderedRect(&bm, INT_MIN, INT_MIN, INT_MIN, INT_MIN, kWhite, kWhite);
  EXPECT_TRUE(SetPixels(&bm).empty());
}

} // namespace
