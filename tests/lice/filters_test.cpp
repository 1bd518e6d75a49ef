// Halving and blur: exact word arithmetic and edge weights.
#include <gtest/gtest.h>

#include "tests/lice/lice_test_util.h"

TEST(HalveBlitAA, AveragesEachTwoByTwoBlockByQuarters) {
  TightBitmap src(4, 2), dest(3, 3);
  dest.fill(9);
  src.at(0, 0) = LICE_RGBA(100, 3, 255, 0);
  src.at(1, 0) = LICE_RGBA(100, 3, 255, 0);
  src.at(0, 1) = LICE_RGBA(100, 3, 255, 0);
  src.at(1, 1) = LICE_RGBA(104, 3, 0, 255);
  src.at(2, 0) = src.at(3, 0) = src.at(2, 1) = src.at(3, 1) = LICE_RGBA(255, 255, 255, 255);
  LICE_HalveBlitAA(&dest, &src);
  // Each pixel is the sum of the quartered pixels, lane by lane.
  EXPECT_EQ(dest.at(0, 0), LICE_RGBA(101, 0, 189, 63));
  EXPECT_EQ(dest.at(1, 0), LICE_RGBA(252, 252, 252, 252));
  EXPECT_EQ(dest.at(2, 0), 9u); // source is only 4 wide
  EXPECT_EQ(dest.at(0, 1), 9u); // and 2 high
}

TEST(HalveBlitAA, OnePixelSourceTouchesNothing) {
  ForbiddenBitmap src(1, 1);
  TightBitmap dest(2, 2);
  LICE_HalveBlitAA(&dest, &src);
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(4, 0u));
}

TEST(HalveBlitAA, InPlaceHalvingMatchesHalvingACopy) {
  TightBitmap self(8, 6), copy(8, 6), reference(8, 6);
  self.pattern();
  copy.pattern();
  reference.pattern();
  LICE_HalveBlitAA(&reference, &copy);
  LICE_HalveBlitAA(&self, &self);
  EXPECT_EQ(self.snapshot(), reference.snapshot());
}

TEST(Blur, CentreHalfNeighboursEighthEdgesQuarter) {
  TightBitmap src(3, 3), dest(3, 3);
  src.at(1, 1) = LICE_RGBA(255, 255, 255, 255);
  LICE_Blur(&dest, &src, 0, 0, 0, 0, 3, 3);
  const LICE_Pixel32 quarter = LICE_RGBA(63, 63, 63, 63);
  EXPECT_EQ(dest.at(1, 1), LICE_RGBA(127, 127, 127, 127));
  EXPECT_EQ(dest.at(1, 0), quarter); // first row: single vertical neighbour
  EXPECT_EQ(dest.at(0, 1), quarter); // first column: single horizontal neighbour
  EXPECT_EQ(dest.at(2, 1), quarter);
  EXPECT_EQ(dest.at(1, 2), quarter);
  EXPECT_EQ(dest.at(0, 0), 0u);
}

TEST(Blur, InteriorNeighboursWeighAnEighth) {
  TightBitmap src(5, 5), dest(5, 5);
  src.at(2, 2) = LICE_RGBA(255, 0, 0, 0);
  LICE_Blur(&dest, &src, 0, 0, 0, 0, 5, 5);
  EXPECT_EQ(LICE_GETR(dest.at(2, 1)), 31);
  EXPECT_EQ(LICE_GETR(dest.at(1, 2)), 31);
  EXPECT_EQ(LICE_GETR(dest.at(1, 1)), 0);
}

TEST(Blur, UniformAreaStaysUniformUpToTruncation) {
  TightBitmap src(4, 4), dest(4, 4);
  src.fill(LICE_RGBA(200, 200, 200, 200));
  LICE_Blur(&dest, &src, 0, 0, 0, 0, 4, 4);
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(16, LICE_RGBA(200, 200, 200, 200)));
}

TEST(Blur, RegionUnderTwoPixelsReadsAndWritesNothing) {
  ForbiddenBitmap src(8, 8), dest(8, 8);
  LICE_Blur(&dest, &src, 0, 0, 3, 3, 1, 5);
  LICE_Blur(&dest, &src, 0, 0, 3, 3, 5, 1);
  LICE_Blur(&dest, &src, 7, 0, 0, 0, 5, 5);  // one column left in dest
  LICE_Blur(&dest, &src, 0, 0, -4, 0, 5, 5); // one column left in source
  SUCCEED();
}

TEST(Blur, OffsetBlurWithinOneBitmapMatchesBlurFromACopy) {
  TightBitmap self(9, 9), copy(9, 9), reference(9, 9);
  self.pattern();
  copy.pattern();
  reference.pattern();
  LICE_Blur(&reference, &copy, 2, 1, 0, 0, 6, 7);
  LICE_Blur(&self, &self, 2, 1, 0, 0, 6, 7);
  EXPECT_EQ(self.snapshot(), reference.snapshot());
  LICE_Blur(&reference, &copy, 0, 0, 0, 0, 9, 9);
  LICE_Blur(&copy, &copy, 0, 0, 0, 0, 9, 9);
  EXPECT_EQ(copy.snapshot(), reference.snapshot());
}
