// Inputs at the limits: every call clips before touching memory, computes
// coordinates without overflow (the sanitizer build checks), and draws
// nothing from or into areas that are clipped away.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "tests/lice/lice_test_util.h"

namespace {
const float kHuge = 3e38f;
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const int kBilinear = LICE_MODE_FILTER_BILINEAR;
} // namespace

TEST(ClippedAway, NoBlitReadsTheSourceWhenTheDestinationIsMissed) {
  ForbiddenBitmap src(16, 16);
  TightBitmap dest(8, 8);
  for (int mode : {0, LICE_MODE_USE_ALPHA, kBilinear, LICE_MODE_ADD | kBilinear}) {
    LICE_Blit(&dest, &src, 8, 0, nullptr, 1.0f, mode);
    LICE_Blit(&dest, &src, -16, 0, nullptr, 0.5f, mode);
    LICE_ScaledBlit(&dest, &src, 0, 9, 8, 8, 0, 0, 16, 16, 1.0f, mode);
    LICE_ScaledBlit(&dest, &src, -8, 0, 8, 8, 0, 0, 16, 16, 0.5f, mode);
    LICE_ScaledBlit(&dest, &src, 16, 0, -8, 8, 0, 0, 16, 16, 1.0f, mode);
    LICE_RotatedBlit(&dest, &src, 8, 8, 4, 4, 0, 0, 16, 16, 1.0f, false, 1.0f, mode);
    LICE_DeltaBlit(&dest, &src, 0, -5, 8, 5, 0, 0, 16, 16, 1, 0, 0, 1, 0, 0, false, 1.0f, mode);
    const float pts[] = {0, 0, 16, 0, 0, 16, 16, 16};
    LICE_TransformBlit(&dest, &src, 20, 0, 8, 8, pts, 2, 2, 1.0f, mode);
  }
  LICE_Blur(&dest, &src, 8, 8, 0, 0, 16, 16);
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(64, 0u));
}

TEST(ClippedAway, SamplesOutsideTheSourceReadNothing) {
  // Source rectangles wholly outside the source: all samples are skipped
  // before any pixel is addressed.
  ForbiddenBitmap src(4, 4);
  TightBitmap dest(8, 8);
  LICE_ScaledBlit(&dest, &src, 0, 0, 8, 8, 4, 0, 4, 4, 1.0f, 0);
  LICE_ScaledBlit(&dest, &src, 0, 0, 8, 8, -9, -9, 4, 4, 1.0f, kBilinear);
  LICE_RotatedBlit(&dest, &src, 0, 0, 8, 8, 10, 10, 4, 4, 0.0f, false, 1.0f, kBilinear);
  LICE_DeltaBlit(&dest, &src, 0, 0, 8, 8, 100, 0, 4, 4, 1, 0, 0, 1, 0, 0, false, 1.0f, 0);
  LICE_Blit(&dest, &src, 0, 0, 4, 4, 4, 4, 1.0f, 0);
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(64, 0u));
}

TEST(Extremes, UnscaledBlitWithLimitCoordinates) {
  TightBitmap src(4, 4), dest(4, 4);
  src.fill(1);
  LICE_Blit(&dest, &src, INT_MIN, INT_MIN, 0, 0, INT_MAX, INT_MAX, 1.0f, 0);
  LICE_Blit(&dest, &src, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1.0f, 0);
  LICE_Blit(&dest, &src, 0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0.5f, 0);
  RECT r{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  LICE_Blit(&dest, &src, INT_MAX, 0, &r, 1.0f, 0);
  LICE_Blit(&dest, &src, 0, 0, 0, 0, 4, 4, kNaN, 0);
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(16, 0u));
  r = RECT{0, 0, INT_MAX, INT_MAX};
  LICE_Blit(&dest, &src, 0, 0, &r, 1.0f, 0); // the whole source, clipped
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(16, 1u));
}

TEST(Extremes, ScaledBlitWithLimitSizesAndPositions) {
  TightBitmap src(4, 4), dest(6, 6);
  src.fill(3);
  const int ints[] = {INT_MIN, -1, 1, INT_MAX};
  const float floats[] = {-kHuge, -1.5f, 0.25f, kHuge, kNaN};
  for (int d : ints)
    for (float f : floats)
      for (int mode : {0, kBilinear}) {
        LICE_ScaledBlit(&dest, &src, d, 0, d, 6, f, 0, 4, 4, 1.0f, mode);
        LICE_ScaledBlit(&dest, &src, 0, d, 6, d, 0, f, 4, f, 0.7f, mode);
        LICE_ScaledBlit(&dest, &src, 0, 0, 6, 6, f, f, f, f, 1.0f, mode);
        LICE_ScaledBlit(&dest, &src, 0, 0, 6, 6, 0, 0, 4, 4, f, mode);
      }
  // Whatever was drawn came from the source.
  for (LICE_Pixel32 p : dest.snapshot()) EXPECT_TRUE(p == 0u || p == 3u) << p;
}

TEST(Extremes, RotatedDeltaAndTransformWithLimitValues) {
  TightBitmap src(4, 4), dest(6, 6);
  src.fill(3);
  const float floats[] = {-kHuge, -1.5f, 0.25f, kHuge, kNaN};
  for (float f : floats)
    for (int mode : {0, kBilinear}) {
      LICE_RotatedBlit(&dest, &src, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 4, 4, f, true, 1.0f,
                       mode, f, f);
      LICE_RotatedBlit(&dest, &src, 0, 0, 6, 6, f, f, f, f, 0.3f, false, 1.0f, mode);
      LICE_RotatedBlit(&dest, &src, 0, 0, INT_MIN, 6, 0, 0, 4, 4, f, false, 1.0f, mode);
      LICE_DeltaBlit(&dest, &src, INT_MIN, 0, INT_MAX, 6, f, 0, 4, 4, f, f, f, f, f, f, false, 1.0f,
                     mode);
      LICE_DeltaBlit(&dest, &src, 0, 0, 6, 6, 0, 0, 4, 4, 1, 0, 0, 1, 1e300, -1e300, false, 1.0f,
                     mode);
      const float pts[] = {f, 0, 4, f, 0, 4, f, f};
      LICE_TransformBlit(&dest, &src, 0, 0, 6, 6, pts, 2, 2, 1.0f, mode);
      LICE_TransformBlit(&dest, &src, INT_MIN, 0, INT_MAX, 6, pts, 2, 2, 1.0f, mode);
    }
  for (LICE_Pixel32 p : dest.snapshot()) EXPECT_TRUE(p == 0u || p == 3u) << p;
}

TEST(Extremes, RectangleOperationsWithLimitCoordinates) {
  TightBitmap b(4, 4);
  LICE_FillRect(&b, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1, 1.0f, 0);
  LICE_FillRect(&b, INT_MAX, 0, INT_MAX, 4, 1, 1.0f, 0);
  LICE_ClearRect(&b, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 1);
  LICE_FillRect(&b, 0, 0, 4, 4, 1, kNaN, 0);
  LICE_FillRect(&b, 0, 0, 4, 4, 1, kHuge, LICE_MODE_ADD);
  LICE_GradRect(&b, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kNaN, kHuge, -kHuge, kHuge, kHuge, kHuge,
                kHuge, kHuge, -kHuge, kNaN, kHuge, kHuge, 0);
  LICE_Blur(&b, &b, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  LICE_Blur(&b, &b, INT_MAX, 0, INT_MIN, 0, INT_MAX, 4);
  LICE_PutPixel(&b, INT_MIN, INT_MAX, 1, kHuge, 0);
  SUCCEED(); // the sanitizer build fails on any overflow or stray access
}

TEST(Extremes, OnePixelBitmapsThroughEveryResampler) {
  TightBitmap one(1, 1), dest(3, 3);
  const LICE_Pixel32 opaque = LICE_RGBA(1, 2, 3, 255);
  one.at(0, 0) = opaque;
  for (int mode : {0, kBilinear, kBilinear | LICE_MODE_USE_ALPHA}) {
    LICE_ScaledBlit(&dest, &one, 0, 0, 3, 3, 0, 0, 1, 1, 1.0f, mode);
    LICE_ScaledBlit(&dest, &one, 3, 3, -3, -3, 0, 0, 1, 1, 1.0f, mode);
    LICE_RotatedBlit(&dest, &one, 0, 0, 3, 3, 0, 0, 1, 1, 0.5f, true, 1.0f, mode);
    LICE_DeltaBlit(&dest, &one, 0, 0, 3, 3, 0, 0, 1, 1, 0.3, 0.1, 0.1, 0.3, 0, 0, true, 1.0f, mode);
  }
  LICE_Blur(&dest, &one, 0, 0, 0, 0, 1, 1);
  LICE_HalveBlitAA(&dest, &one);
  for (LICE_Pixel32 p : dest.snapshot()) EXPECT_TRUE(p == 0u || p == opaque) << p;
  EXPECT_EQ(dest.at(0, 0), opaque);
}
