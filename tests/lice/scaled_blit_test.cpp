// Scaled blits: sampling rules, the filter thresholds, mirroring, clipping.
#include <gtest/gtest.h>

#include "tests/lice/lice_test_util.h"

namespace {

// Red is 255 in every third column, 0 elsewhere; rows are all alike.
void everyThirdColumn(TightBitmap& b) {
  for (int y = 0; y < b.getHeight(); ++y)
    for (int x = 0; x < b.getWidth(); ++x) b.at(x, y) = LICE_RGBA(x % 3 == 0 ? 255 : 0, 0, 0, 255);
}

int scaledRed(int srcSize, int dstSize, int dstX) {
  TightBitmap src(srcSize, srcSize), dest(dstSize, dstSize);
  everyThirdColumn(src);
  LICE_ScaledBlit(&dest, &src, 0, 0, dstSize, dstSize, 0, 0, (float)srcSize, (float)srcSize, 1.0f,
                  LICE_MODE_FILTER_BILINEAR);
  return LICE_GETR(dest.at(dstX, 0));
}

const int kBilinear = LICE_MODE_FILTER_BILINEAR;

} // namespace

TEST(ScaledFilterThresholds, HalvingUsesTheThreeByThreeBox) {
  // Column 0: box over columns 0..1 (one of two is lit) instead of the sample itself.
  EXPECT_EQ(scaledRed(100, 50, 0), 127);
  // Column 2 samples source column 4: box 3..5 holds one lit column of three.
  EXPECT_EQ(scaledRed(100, 50, 2), 85);
}

TEST(ScaledFilterThresholds, StepBelowOnePointSevenIsBilinear) {
  // 100 -> 60 (step 1.667): pixel 0 is source column 0 exactly; pixel 2 sits
  // at 3.333 between a lit column 3 and a dark column 4.
  EXPECT_EQ(scaledRed(100, 60, 0), 255);
  EXPECT_EQ(scaledRed(100, 60, 2), 170);
  EXPECT_EQ(scaledRed(169, 100, 0), 255); // step 1.69
  EXPECT_EQ(scaledRed(170, 100, 0), 127); // step 1.70 switches to the box
}

TEST(ScaledFilterThresholds, StepAboveThreeUsesTheFiveByFiveBox) {
  EXPECT_EQ(scaledRed(300, 100, 1), 85);  // step 3.0: 3 x 3 around column 3
  EXPECT_EQ(scaledRed(301, 100, 1), 51);  // step 3.01: 5 x 5, one lit column of five
  EXPECT_EQ(scaledRed(400, 100, 1), 102); // step 4: columns 2..6 hold 3 and 6
}

TEST(ScaledNearest, UpscalingRepeatsPixels) {
  TightBitmap src(2, 2), dest(4, 4);
  src.pattern();
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 2, 2, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dest.at(x, y), src.at(x / 2, y / 2)) << x << "," << y;
}

TEST(ScaledNearest, HalfAlphaUsesTheWordHalfMix) {
  TightBitmap src(1, 1), dest(2, 1);
  src.at(0, 0) = LICE_RGBA(201, 0, 255, 3);
  dest.fill(LICE_RGBA(99, 255, 255, 5));
  LICE_ScaledBlit(&dest, &src, 0, 0, 2, 1, 0, 0, 1, 1, 0.5f, 0);
  EXPECT_EQ(dest.at(1, 0), LICE_RGBA(149, 127, 254, 3));
}

TEST(ScaledUnscaled, WholeSizeWithoutFilterRoundsThePosition) {
  TightBitmap src(10, 1), dest(4, 1);
  for (int x = 0; x < 10; ++x) src.at(x, 0) = LICE_RGBA(x * 10, 0, 0, 255);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 3.4f, 0, 4, 1, 1.0f, 0);
  EXPECT_EQ(LICE_GETR(dest.at(0, 0)), 30);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 3.6f, 0, 4, 1, 1.0f, 0);
  EXPECT_EQ(LICE_GETR(dest.at(0, 0)), 40);
}

TEST(ScaledUnscaled, FilteredOffAWholePixelResamples) {
  TightBitmap src(10, 1), dest(4, 1);
  for (int x = 0; x < 10; ++x) src.at(x, 0) = LICE_RGBA(x * 10, 0, 0, 255);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 3.4f, 0, 4, 1, 1.0f, kBilinear);
  EXPECT_EQ(LICE_GETR(dest.at(0, 0)), 33); // 30 and 40 weighed 0.6 / 0.4, truncated
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 3.02f, 0, 4, 1, 1.0f, kBilinear);
  EXPECT_EQ(LICE_GETR(dest.at(0, 0)), 30); // within 0.03 of 3: a plain blit
}

TEST(ScaledBilinear, LastColumnAndRowNeverReadPastTheSource) {
  // Exact-size pixels: the sanitizer reports any tap beyond the last pixel.
  TightBitmap src(3, 3), dest(7, 7);
  src.pattern();
  LICE_ScaledBlit(&dest, &src, 0, 0, 7, 7, 0, 0, 3, 3, 1.0f, kBilinear);
  EXPECT_EQ(dest.at(0, 0), src.at(0, 0));
  EXPECT_EQ(dest.at(6, 6), src.at(2, 2)); // 6 * 3 / 7 = 2.57: corner pixel itself
  // Last column: vertical interpolation only, so red is that column's red.
  EXPECT_EQ(LICE_GETR(dest.at(6, 3)), LICE_GETR(src.at(2, 0)));
}

TEST(ScaledBilinear, OnePixelSourceFillsWithThatPixel) {
  TightBitmap src(1, 1), dest(5, 4);
  src.at(0, 0) = LICE_RGBA(1, 2, 3, 4);
  LICE_ScaledBlit(&dest, &src, 0, 0, 5, 4, 0, 0, 1, 1, 1.0f, kBilinear);
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(20, LICE_RGBA(1, 2, 3, 4)));
}

TEST(ScaledMirror, NegativeWidthMirrorsLeftToRight) {
  TightBitmap src(4, 1), dest(4, 1);
  src.pattern();
  LICE_ScaledBlit(&dest, &src, 4, 0, -4, 1, 0, 0, 4, 1, 1.0f, 0);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dest.at(x, 0), src.at(3 - x, 0)) << x;
}

TEST(ScaledMirror, NegativeHeightMirrorsTopToBottomAlsoWhenScaling) {
  TightBitmap src(1, 3), dest(1, 6);
  src.pattern();
  LICE_ScaledBlit(&dest, &src, 0, 6, 1, -6, 0, 0, 1, 3, 1.0f, 0);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(dest.at(0, y), src.at(0, 2 - y / 2)) << y;
}

// Red 0, 20 .. 180 along x (or y), green and blue telling rows (or columns)
// apart.
void ramp(TightBitmap& b, bool vertical) {
  for (int y = 0; y < b.getHeight(); ++y)
    for (int x = 0; x < b.getWidth(); ++x)
      b.at(x, y) = LICE_RGBA(20 * (vertical ? y : x), 7 * (vertical ? x : y), 50, 255);
}

TEST(ScaledMirror, FilteredMirrorKeepsEverySourceColumnAndValue) {
  TightBitmap src(10, 1), dest(10, 1);
  ramp(src, false);
  LICE_ScaledBlit(&dest, &src, 10, 0, -10, 1, 0, 0, 10, 1, 1.0f, kBilinear);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(LICE_GETR(dest.at(x, 0)), 180 - 20 * x) << x;
}

// Filtered, a mirrored blit is the plain one read backwards, up-scaled,
// one to one, and down-scaled through the box filter, along either axis.
TEST(ScaledMirror, FilteredMirrorIsThePlainBlitReversed) {
  for (bool vertical : {false, true})
    for (int size : {4, 5, 10, 20, 40}) {
      const int w = vertical ? 3 : size, h = vertical ? size : 3;
      const int sw = vertical ? 3 : 10, sh = vertical ? 10 : 3;
      TightBitmap src(sw, sh), plain(w, h), mirrored(w, h);
      ramp(src, vertical);
      LICE_ScaledBlit(&plain, &src, 0, 0, w, h, 0, 0, sw, sh, 1.0f, kBilinear);
      if (vertical)
        LICE_ScaledBlit(&mirrored, &src, 0, h, w, -h, 0, 0, sw, sh, 1.0f, kBilinear);
      else
        LICE_ScaledBlit(&mirrored, &src, w, 0, -w, h, 0, 0, sw, sh, 1.0f, kBilinear);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const LICE_Pixel32 want = vertical ? plain.at(x, h - 1 - y) : plain.at(w - 1 - x, y);
          ASSERT_EQ(mirrored.at(x, y), want)
              << (vertical ? "height " : "width ") << size << " at " << x << "," << y;
        }
    }
}

TEST(ScaledClip, NegativeDestinationSkipsScaledSourceColumns) {
  TightBitmap src(4, 1), dest(6, 1);
  src.pattern();
  LICE_ScaledBlit(&dest, &src, -2, 0, 8, 1, 0, 0, 4, 1, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 0), src.at(1, 0));
  EXPECT_EQ(dest.at(5, 0), src.at(3, 0));
}

TEST(ScaledClip, SourceRectanglePastTheSourceDrawsOnlyWhatIsInside) {
  // Source columns -1 .. 3 of a 2-pixel source, doubled: only columns 0 and 1
  // exist, and each must appear twice.
  TightBitmap src(2, 1), dest(8, 1);
  src.pattern();
  dest.fill(7);
  LICE_ScaledBlit(&dest, &src, 0, 0, 8, 1, -1, 0, 4, 1, 1.0f, 0);
  const LICE_Pixel32 a = src.at(0, 0), b = src.at(1, 0);
  EXPECT_EQ(dest.snapshot(), (std::vector<LICE_Pixel32>{7, 7, a, a, b, b, 7, 7}));
}

TEST(ScaledSelf, ScalingWithinOneBitmapMatchesScalingFromACopy) {
  for (int mode : {0, kBilinear, kBilinear | LICE_MODE_USE_ALPHA}) {
    TightBitmap self(12, 12), copy(12, 12), reference(12, 12);
    self.pattern();
    copy.pattern();
    reference.pattern();
    LICE_ScaledBlit(&reference, &copy, 2, 1, 9, 10, 0.5f, 0, 6, 7, 1.0f, mode);
    LICE_ScaledBlit(&self, &self, 2, 1, 9, 10, 0.5f, 0, 6, 7, 1.0f, mode);
    EXPECT_EQ(self.snapshot(), reference.snapshot()) << mode;
  }
}
