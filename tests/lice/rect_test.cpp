// Rectangle and pixel operations: clears, visits, seed fill, comparisons,
// multiply-add and gradients.
#include <gtest/gtest.h>

#include "tests/lice/lice_test_util.h"

TEST(ClearRect, MaskAndOrBitsOnTheClippedRectangleOnly) {
  TightBitmap b(4, 4);
  b.fill(LICE_RGBA(10, 20, 30, 0));
  LICE_ClearRect(&b, -1, 2, 3, 5, 0xFFFFFF00u, 0xFFu);
  EXPECT_EQ(b.at(0, 2), LICE_RGBA(10, 20, 30, 255));
  EXPECT_EQ(b.at(1, 3), LICE_RGBA(10, 20, 30, 255));
  EXPECT_EQ(b.at(2, 3), LICE_RGBA(10, 20, 30, 0));
  EXPECT_EQ(b.at(0, 1), LICE_RGBA(10, 20, 30, 0));
}

TEST(Clear, EveryPixelOfEveryRow) {
  TightBitmap b(3, 2, true, 5);
  LICE_Clear(&b, 42);
  EXPECT_EQ(b.snapshot(), std::vector<LICE_Pixel32>(6, 42u));
  EXPECT_EQ(b.getBits()[3], 0u); // padding beyond the width stays
}

TEST(FillRect, ClipsAtEveryEdge) {
  TightBitmap b(4, 4);
  LICE_FillRect(&b, -2, -2, 3, 3, 1, 1.0f, 0);
  LICE_FillRect(&b, 3, 3, 9, 9, 2, 0.3f, LICE_MODE_ADD);
  LICE_FillRect(&b, 5, 0, 2, 2, 3, 1.0f, 0);
  EXPECT_EQ(b.at(0, 0), 1u);
  EXPECT_EQ(b.at(1, 1), 0u);
  EXPECT_NE(b.at(3, 3), 0u);
  EXPECT_EQ(b.at(2, 3), 0u);
}

TEST(GetPixel, OutsideOrWithoutPixelsIsZero) {
  TightBitmap b(2, 2);
  b.fill(5);
  EXPECT_EQ(LICE_GetPixel(&b, 1, 1), 5u);
  EXPECT_EQ(LICE_GetPixel(&b, 2, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&b, 0, -1), 0u);
  LICE_MemBitmap empty;
  EXPECT_EQ(LICE_GetPixel(&empty, 0, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(nullptr, 0, 0), 0u);
}

namespace {
void countAndMark(LICE_Pixel32* p, void* parm) {
  ++*(int*)parm;
  *p = 7;
}
} // namespace

TEST(ProcessRect, VisitsTheClippedRectangle) {
  TightBitmap b(4, 4);
  int calls = 0;
  LICE_ProcessRect(&b, 2, -1, 5, 3, countAndMark, &calls);
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(b.at(3, 1), 7u);
  EXPECT_EQ(b.at(1, 1), 0u);
}

TEST(SetAlphaFromColorMask, MatchingColourBecomesTransparentOthersOpaque) {
  TightBitmap b(2, 1);
  b.at(0, 0) = LICE_RGBA(1, 2, 3, 99);
  b.at(1, 0) = LICE_RGBA(1, 2, 4, 99);
  LICE_SetAlphaFromColorMask(&b, LICE_RGBA(1, 2, 3, 0));
  EXPECT_EQ(b.at(0, 0), LICE_RGBA(1, 2, 3, 0));
  EXPECT_EQ(b.at(1, 0), LICE_RGBA(1, 2, 4, 255));
}

TEST(SimpleFill, FillsSpansThroughTheSeedColumnOnly) {
  // 0 = open, 1 = wall. The open cell at (4, 0) is reachable only sideways
  // from a row whose span does not touch the seed column.
  const int map[4][5] = {{0, 0, 1, 0, 0}, {0, 0, 1, 1, 0}, {0, 0, 0, 0, 0}, {1, 1, 1, 1, 1}};
  TightBitmap b(5, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      b.at(x, y) = map[y][x] ? LICE_RGBA(9, 9, 9, 1) : LICE_RGBA(0, 0, 0, 2);
  LICE_SimpleFill(&b, 1, 1, LICE_RGBA(200, 0, 0, 0), LICE_RGBA(255, 255, 255, 0), 0xFFu);
  const LICE_Pixel32 filledA2 = LICE_RGBA(200, 0, 0, 2);
  EXPECT_EQ(b.at(0, 0), filledA2);
  EXPECT_EQ(b.at(1, 2), filledA2);
  EXPECT_EQ(b.at(4, 2), filledA2);              // same row as the seed column
  EXPECT_EQ(b.at(3, 0), LICE_RGBA(0, 0, 0, 2)); // behind the wall
  EXPECT_EQ(b.at(4, 1), LICE_RGBA(0, 0, 0, 2));
  EXPECT_EQ(b.at(2, 0), LICE_RGBA(9, 9, 9, 1));
}

TEST(SimpleFill, NewColourThatStillMatchesTerminates) {
  TightBitmap b(3, 3);
  LICE_SimpleFill(&b, 1, 1, 0u, 0u, 0u); // everything matches before and after
  EXPECT_EQ(b.snapshot(), std::vector<LICE_Pixel32>(9, 0u));
  LICE_SimpleFill(&b, 3, 0, 1u); // outside: nothing
  EXPECT_EQ(b.at(2, 0), 0u);
}

TEST(BitmapCmp, OrderAndDifferingRectangle) {
  TightBitmap a(4, 3), b(4, 3), wide(5, 3);
  EXPECT_EQ(LICE_BitmapCmp(nullptr, nullptr), 0);
  EXPECT_EQ(LICE_BitmapCmp(nullptr, &a), -1);
  EXPECT_EQ(LICE_BitmapCmp(&a, nullptr), 1);
  EXPECT_EQ(LICE_BitmapCmp(&a, &wide), 1);
  int rc[4] = {9, 9, 9, 9};
  EXPECT_EQ(LICE_BitmapCmp(&a, &b, rc), 0);
  EXPECT_EQ(rc[0] + rc[1] + rc[2] + rc[3], 0);
  b.at(1, 0) = 5;
  b.at(2, 2) = 5;
  EXPECT_NE(LICE_BitmapCmp(&a, &b), 0);
  EXPECT_EQ(LICE_BitmapCmp(&a, &b, rc), 1);
  EXPECT_EQ(rc[0], 1);
  EXPECT_EQ(rc[1], 0);
  EXPECT_EQ(rc[2], 2);
  EXPECT_EQ(rc[3], 3);
}

TEST(MultiplyAddRect, ScalesOffsetsAndClampsEachChannel) {
  TightBitmap b(2, 1);
  b.fill(LICE_RGBA(100, 200, 10, 50));
  LICE_MultiplyAddRect(&b, 1, 0, 5, 5, 0.5f, 2.0f, 1.0f, 1.0f, 10.0f, 0.0f, -20.0f, 0.0f);
  EXPECT_EQ(b.at(1, 0), LICE_RGBA(60, 255, 0, 50));
  EXPECT_EQ(b.at(0, 0), LICE_RGBA(100, 200, 10, 50));
  // Absurd factors neither overflow nor wrap.
  LICE_MultiplyAddRect(&b, 0, 0, 1, 1, 1e30f, -1e30f, 1e30f, 0, -1e30f, 0, 1e30f, 0);
  EXPECT_EQ(b.at(0, 0), LICE_RGBA(255, 0, 255, 0));
}

TEST(GradRect, ChannelsAdvancePerColumnAndRow) {
  TightBitmap b(3, 2);
  // Red from 0 by 0.25 per column, blue by 0.5 per row, full alpha weight.
  LICE_GradRect(&b, 0, 0, 3, 2, 0, 0, 0, 1.0f, 0.25f, 0, 0, 0, 0, 0, 0.5f, 0, 0);
  EXPECT_EQ(LICE_GETR(b.at(0, 0)), 0);
  EXPECT_EQ(LICE_GETR(b.at(2, 0)), 127);
  EXPECT_EQ(LICE_GETB(b.at(1, 1)), 127);
  EXPECT_EQ(LICE_GETA(b.at(0, 0)), 255); // weight 256 clamps to 255
}

TEST(GradRect, ClippedStartKeepsTheGradientAligned) {
  TightBitmap full(4, 1), clipped(2, 1);
  LICE_GradRect(&full, 0, 0, 4, 1, 0, 0, 0, 1.0f, 0.2f, 0, 0, 0, 0, 0, 0, 0, 0);
  LICE_GradRect(&clipped, -2, 0, 4, 1, 0, 0, 0, 1.0f, 0.2f, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(clipped.at(0, 0), full.at(2, 0));
  EXPECT_EQ(clipped.at(1, 0), full.at(3, 0));
  LICE_GradRect(&clipped, 0, 0, 2, 1, 1e30f, 0, 0, 1.0f, 1e30f, 0, 0, 0, 1e30f, 0, 0, 0, 0);
  EXPECT_EQ(LICE_GETR(clipped.at(1, 0)), 255);
}
