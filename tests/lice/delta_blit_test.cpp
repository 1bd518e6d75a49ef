// Rotated, delta and mesh-transform blits.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/lice/lice_test_util.h"

TEST(RotatedBlit, AngleZeroIsTheIdentity) {
  for (int mode : {0, LICE_MODE_FILTER_BILINEAR}) {
    TightBitmap src(9, 7), dest(9, 7);
    src.pattern();
    LICE_RotatedBlit(&dest, &src, 0, 0, 9, 7, 0, 0, 9, 7, 0.0f, false, 1.0f, mode);
    EXPECT_EQ(dest.snapshot(), src.snapshot()) << mode;
  }
}

TEST(RotatedBlit, AngleZeroAtAnOffsetKeepsCornerOffsets) {
  TightBitmap src(6, 6), dest(10, 10);
  src.pattern();
  LICE_RotatedBlit(&dest, &src, 3, 2, 4, 4, 1, 2, 4, 4, 0.0f, true, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dest.at(3 + x, 2 + y), src.at(1 + x, 2 + y));
  EXPECT_EQ(dest.at(2, 2), 0u);
  EXPECT_EQ(dest.at(7, 2), 0u);
}

TEST(RotatedBlit, QuarterTurnMovesRowsToColumns) {
  // Each source row has its own colour. A quarter turn about the centre reads
  // source row 4 - x for destination column x (pixel-corner sampling puts
  // column 0 on row 4, outside). Steps are truncated to 16.16, so only the
  // row, which the test varies, is exact.
  TightBitmap src(4, 4), dest(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.at(x, y) = LICE_RGBA(10 + y, 0, 0, 255);
  LICE_RotatedBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 4, 4, (float)(M_PI / 2), false, 1.0f, 0);
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(dest.at(0, y), 0u);
    for (int x = 1; x < 4; ++x) EXPECT_EQ(LICE_GETR(dest.at(x, y)), 10 + 4 - x) << x << "," << y;
  }
}

TEST(RotatedBlit, ClipToSourceRectangleSkipsOutsideSamples) {
  TightBitmap src(6, 6), dest(6, 6);
  src.pattern();
  dest.fill(5);
  // Scaling 2x2 of the source up to the whole destination with the pivot
  // moved one pixel: samples right of column 3 must leave pixels unchanged.
  LICE_RotatedBlit(&dest, &src, 0, 0, 6, 6, 2, 2, 2, 2, 0.0f, true, 1.0f, 0, 1.0f, 0.0f);
  int changed = 0, untouched = 0;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const LICE_Pixel32 p = dest.at(x, y);
      if (p == 5u)
        ++untouched;
      else {
        ++changed;
        bool fromClip = false;
        for (int sy = 2; sy < 4; ++sy)
          for (int sx = 2; sx < 4; ++sx) fromClip |= p == src.at(sx, sy);
        EXPECT_TRUE(fromClip) << x << "," << y;
      }
    }
  EXPECT_GT(changed, 0);
  EXPECT_GT(untouched, 0);
}

TEST(RotatedBlit, ZeroSizeOrAlphaDrawsNothing) {
  TightBitmap src(3, 3), dest(3, 3);
  src.fill(1);
  LICE_RotatedBlit(&dest, &src, 0, 0, 0, 3, 0, 0, 3, 3, 0.3f, false, 1.0f, 0);
  LICE_RotatedBlit(&dest, &src, 0, 0, 3, 3, 0, 0, 3, 3, 0.3f, false, 0.0f, 0);
  LICE_RotatedBlit(nullptr, &src, 0, 0, 3, 3, 0, 0, 3, 3, 0.3f, false, 1.0f, 0);
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(9, 0u));
}

TEST(DeltaBlit, UnitStepsCopy) {
  TightBitmap src(5, 4), dest(5, 4);
  src.pattern();
  LICE_DeltaBlit(&dest, &src, 0, 0, 5, 4, 0, 0, 5, 4, 1, 0, 0, 1, 0, 0, false, 1.0f, 0);
  EXPECT_EQ(dest.snapshot(), src.snapshot());
}

TEST(DeltaBlit, ChangingStepShearsRows) {
  TightBitmap src(8, 3), dest(4, 3);
  src.pattern();
  // Row j steps 1 + j columns per pixel.
  LICE_DeltaBlit(&dest, &src, 0, 0, 4, 3, 0, 0, 8, 3, 1, 0, 0, 1, 1, 0, true, 1.0f, 0);
  EXPECT_EQ(dest.at(3, 0), src.at(3, 0));
  EXPECT_EQ(dest.at(3, 1), src.at(6, 1));
  EXPECT_EQ(dest.at(2, 2), src.at(6, 2));
  EXPECT_EQ(dest.at(3, 2), 0u); // column 9 is outside the source
}

TEST(DeltaBlit, ClippingTheLeftEdgeKeepsTheShear) {
  // The same walk drawn half off the left edge must give the same pixels as
  // the part of it drawn in full.
  TightBitmap src(12, 4), full(8, 4), clipped(6, 4);
  src.pattern();
  LICE_DeltaBlit(&full, &src, 0, 0, 8, 4, 0, 0, 12, 4, 0.5, 0.25, 0.25, 1, 0.25, -0.125, false,
                 1.0f, 0);
  LICE_DeltaBlit(&clipped, &src, -2, -1, 8, 4, 0, 0, 12, 4, 0.5, 0.25, 0.25, 1, 0.25, -0.125, false,
                 1.0f, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(clipped.at(x, y), full.at(x + 2, y + 1)) << x << "," << y;
}

// The clip rectangle's far edge is srcx + srcw as the caller's floats add up:
// 0.1f + 9.9f is 10, though the same sum in double falls just short of it.
TEST(SourceClip, FarEdgeIsTheSumInTheArgumentsOwnPrecision) {
  const float at = 0.1f, size = 9.9f;
  ASSERT_EQ(at + size, 10.0f);
  ASSERT_LT((double)at + (double)size, 10.0);
  for (bool rotated : {false, true}) {
    TightBitmap src(12, 12), dest(10, 10);
    src.pattern();
    if (rotated)
      LICE_RotatedBlit(&dest, &src, 0, 0, 10, 10, at, at, size, size, 0.0f, true, 1.0f, 0);
    else
      LICE_DeltaBlit(&dest, &src, 0, 0, 10, 10, at, at, size, size, 1, 0, 0, 1, 0, 0, true, 1.0f,
                     0);
    int wrong = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) wrong += dest.at(x, y) != src.at(x, y);
    EXPECT_EQ(wrong, 0) << (rotated ? "rotated" : "delta") << " blit pixels not from the source";
  }
}

TEST(TransformBlit, CornerMeshOfTheSourceCopies) {
  TightBitmap src(6, 5), dest(6, 5);
  src.pattern();
  const float pts[] = {0, 0, 6, 0, 0, 5, 6, 5};
  LICE_TransformBlit(&dest, &src, 0, 0, 6, 5, pts, 2, 2, 1.0f, 0);
  EXPECT_EQ(dest.snapshot(), src.snapshot());
  TightBitmap dest2(6, 5);
  const double pts2[] = {0, 0, 3, 0, 6, 0, 0, 2.5, 3, 2.5, 6, 2.5, 0, 5, 3, 5, 6, 5};
  LICE_TransformBlit2(&dest2, &src, 0, 0, 6, 5, pts2, 3, 3, 1.0f, 0);
  EXPECT_EQ(dest2.snapshot(), src.snapshot());
}

TEST(TransformBlit, DegenerateMeshDrawsNothing) {
  TightBitmap src(3, 3), dest(3, 3);
  src.fill(1);
  const float pts[] = {0, 0, 3, 0, 0, 3, 3, 3};
  LICE_TransformBlit(&dest, &src, 0, 0, 3, 3, pts, 1, 2, 1.0f, 0);
  LICE_TransformBlit(&dest, &src, 0, 0, 0, 3, pts, 2, 2, 1.0f, 0);
  LICE_TransformBlit(&dest, &src, 0, 0, 3, 3, nullptr, 2, 2, 1.0f, 0);
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(9, 0u));
}

TEST(DeltaSelf, RotatingWithinOneBitmapMatchesRotatingFromACopy) {
  for (int mode : {0, LICE_MODE_FILTER_BILINEAR}) {
    TightBitmap self(10, 10), copy(10, 10), reference(10, 10);
    self.pattern();
    copy.pattern();
    reference.pattern();
    LICE_RotatedBlit(&reference, &copy, 1, 1, 8, 8, 0, 0, 10, 10, 0.7f, false, 1.0f, mode);
    LICE_RotatedBlit(&self, &self, 1, 1, 8, 8, 0, 0, 10, 10, 0.7f, false, 1.0f, mode);
    EXPECT_EQ(self.snapshot(), reference.snapshot()) << mode;
  }
}
