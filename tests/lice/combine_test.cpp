// Exact results of every combine mode through a 1 x 1 blit, fill and put.
#include <gtest/gtest.h>

#include "tests/lice/lice_test_util.h"

namespace {

LICE_Pixel32 blitOne(LICE_Pixel32 dest, LICE_Pixel32 src, float alpha, int mode) {
  TightBitmap d(1, 1), s(1, 1);
  d.at(0, 0) = dest;
  s.at(0, 0) = src;
  LICE_Blit(&d, &s, 0, 0, nullptr, alpha, mode);
  return d.at(0, 0);
}

LICE_Pixel32 fillOne(LICE_Pixel32 dest, LICE_Pixel32 colour, float alpha, int mode) {
  TightBitmap d(1, 1);
  d.at(0, 0) = dest;
  LICE_FillRect(&d, 0, 0, 1, 1, colour, alpha, mode);
  return d.at(0, 0);
}

const LICE_Pixel32 kDest = LICE_RGBA(200, 100, 50, 255);

} // namespace

TEST(CombineCopy, FullAlphaStoresTheSourceWordExactly) {
  EXPECT_EQ(blitOne(kDest, LICE_RGBA(1, 2, 3, 4), 1.0f, LICE_MODE_COPY), LICE_RGBA(1, 2, 3, 4));
}

TEST(CombineCopy, ZeroAlphaLeavesTheDestination) {
  for (int mode = 0; mode <= 5; ++mode) {
    EXPECT_EQ(blitOne(kDest, LICE_RGBA(1, 2, 3, 4), 0.0f, mode), kDest) << mode;
    EXPECT_EQ(blitOne(kDest, LICE_RGBA(1, 2, 3, 4), 0.0f, mode | LICE_MODE_USE_ALPHA), kDest)
        << mode;
  }
}

TEST(CombineCopy, HalfAlphaIsFloorHalfOfEach) {
  EXPECT_EQ(blitOne(LICE_RGBA(201, 0, 255, 3), LICE_RGBA(99, 255, 255, 5), 0.5f, 0),
            LICE_RGBA(149, 127, 254, 3));
}

TEST(CombineCopy, PartialAlphaTruncatesTowardZero) {
  // 255 + (0 - 255) * 192 / 256 = 255 - 191 (not 192).
  EXPECT_EQ(blitOne(LICE_RGBA(0, 200, 100, 0), LICE_RGBA(255, 100, 200, 255), 0.25f, 0),
            LICE_RGBA(64, 175, 125, 64));
}

TEST(CombineCopy, ModesWithoutAnOperatorDrawNothing) {
  EXPECT_EQ(blitOne(kDest, LICE_RGBA(1, 2, 3, 4), 1.0f, 6), kDest);
  EXPECT_EQ(blitOne(kDest, LICE_RGBA(1, 2, 3, 4), 0.5f, 0xEF), kDest);
}

TEST(CombineSourceAlpha, FullAlphaSkipsTransparentAndCopiesOpaque) {
  EXPECT_EQ(blitOne(kDest, LICE_RGBA(1, 2, 3, 0), 1.0f, LICE_MODE_USE_ALPHA), kDest);
  EXPECT_EQ(blitOne(LICE_RGBA(9, 9, 9, 7), LICE_RGBA(1, 2, 3, 255), 1.0f, LICE_MODE_USE_ALPHA),
            LICE_RGBA(1, 2, 3, 255));
}

TEST(CombineSourceAlpha, FullAlphaPartialSourceMixesBy255MinusSourceAlpha) {
  // r: 255 + (0 - 255) * 127 / 256 = 129; alpha: min(255, 0 + 128).
  EXPECT_EQ(blitOne(LICE_RGBA(0, 0, 0, 0), LICE_RGBA(255, 128, 0, 128), 1.0f, LICE_MODE_USE_ALPHA),
            LICE_RGBA(129, 65, 0, 128));
  EXPECT_EQ(LICE_GETA(blitOne(LICE_RGBA(0, 0, 0, 200), LICE_RGBA(0, 0, 0, 128), 1.0f,
                              LICE_MODE_USE_ALPHA)),
            255);
}

TEST(CombineSourceAlpha, PartialAlphaWeighsBySourceAlphaPlusOne) {
  // w = 128 * 129 / 256 = 64: r = 255 - 255 * 192 / 256 = 64; alpha 0 + 64.
  EXPECT_EQ(
      blitOne(LICE_RGBA(0, 0, 0, 0), LICE_RGBA(255, 255, 255, 128), 0.5f, LICE_MODE_USE_ALPHA),
      LICE_RGBA(64, 64, 64, 64));
  // w = 128 * 256 / 256 = 128: r = 255 - 127.
  EXPECT_EQ(LICE_GETR(blitOne(LICE_RGBA(0, 0, 0, 0), LICE_RGBA(255, 0, 0, 255), 0.5f,
                              LICE_MODE_USE_ALPHA)),
            128);
  EXPECT_EQ(blitOne(kDest, LICE_RGBA(1, 2, 3, 0), 0.5f, LICE_MODE_USE_ALPHA), kDest);
}

TEST(CombineAdd, AddsWeightedAndClamps) {
  EXPECT_EQ(blitOne(LICE_RGBA(200, 100, 0, 250), LICE_RGBA(100, 100, 5, 100), 1.0f, LICE_MODE_ADD),
            LICE_RGBA(255, 200, 5, 255));
  EXPECT_EQ(blitOne(LICE_RGBA(200, 100, 0, 0), LICE_RGBA(100, 100, 5, 100), 0.25f, LICE_MODE_ADD),
            LICE_RGBA(225, 125, 1, 25));
}

TEST(CombineAdd, SourceAlphaSkipsTransparentAndWeighsEveryChannel) {
  EXPECT_EQ(blitOne(kDest, LICE_RGBA(100, 100, 100, 0), 1.0f, LICE_MODE_ADD | LICE_MODE_USE_ALPHA),
            kDest);
  // w = 256 * 129 / 256 = 129: 100 + 100 * 129 / 256 = 150; alpha 10 + 128 * 129 / 256.
  EXPECT_EQ(blitOne(LICE_RGBA(100, 0, 255, 10), LICE_RGBA(100, 0, 1, 128), 1.0f,
                    LICE_MODE_ADD | LICE_MODE_USE_ALPHA),
            LICE_RGBA(150, 0, 255, 74));
}

TEST(CombineDodge, DividesByTheInverseAndClamps) {
  EXPECT_EQ(blitOne(LICE_RGBA(100, 100, 0, 0), LICE_RGBA(128, 255, 255, 0), 1.0f, LICE_MODE_DODGE),
            LICE_RGBA(200, 255, 0, 0));
  // q = 200 * 128 / 256 = 100: 100 * 256 / 156 = 164.
  EXPECT_EQ(
      LICE_GETR(blitOne(LICE_RGBA(100, 0, 0, 0), LICE_RGBA(200, 0, 0, 0), 0.5f, LICE_MODE_DODGE)),
      164);
}

TEST(CombineMultiply, ScalesTheDestinationBySource) {
  EXPECT_EQ(
      LICE_GETR(blitOne(LICE_RGBA(200, 0, 0, 0), LICE_RGBA(128, 0, 0, 0), 1.0f, LICE_MODE_MUL)),
      100);
  // (128 * 128 + 128 * 256) * 200 / 65536 = 150.
  EXPECT_EQ(
      LICE_GETR(blitOne(LICE_RGBA(200, 0, 0, 0), LICE_RGBA(128, 0, 0, 0), 0.5f, LICE_MODE_MUL)),
      150);
  EXPECT_EQ(blitOne(kDest, LICE_RGBA(0, 0, 0, 0), 1.0f, LICE_MODE_MUL | LICE_MODE_USE_ALPHA),
            kDest);
}

TEST(CombineOverlay, FollowsTheFixedPointFormula) {
  // S = 51200: ((32768 - S) * 100 / 256 + S) * 100 / 32768 = 134.
  EXPECT_EQ(
      LICE_GETR(blitOne(LICE_RGBA(100, 0, 0, 0), LICE_RGBA(200, 0, 0, 0), 1.0f, LICE_MODE_OVERLAY)),
      134);
  // With source alpha 0 the weight is 1: S = 32840, giving 100 again.
  EXPECT_EQ(LICE_GETR(blitOne(LICE_RGBA(100, 0, 0, 0), LICE_RGBA(200, 0, 0, 0), 1.0f,
                              LICE_MODE_OVERLAY | LICE_MODE_USE_ALPHA)),
            100);
}

TEST(CombineHsv, NeutralAdjustRoundTripsThroughIntegerHsv) {
  EXPECT_EQ(
      blitOne(LICE_RGBA(200, 100, 50, 9), LICE_RGBA(128, 128, 128, 77), 1.0f, LICE_MODE_HSVADJ),
      LICE_RGBA(200, 99, 50, 77));
}

TEST(CombineHsv, ValueRaisedAndClamped) {
  EXPECT_EQ(
      blitOne(LICE_RGBA(200, 100, 50, 9), LICE_RGBA(128, 128, 255, 255), 1.0f, LICE_MODE_HSVADJ),
      LICE_RGBA(255, 127, 64, 255));
}

TEST(CombineHsv, GreyStaysGreyAndFullDesaturationGivesGrey) {
  EXPECT_EQ(blitOne(LICE_RGBA(90, 90, 90, 1), LICE_RGBA(128, 128, 128, 1), 1.0f, LICE_MODE_HSVADJ),
            LICE_RGBA(90, 90, 90, 1));
  EXPECT_EQ(blitOne(LICE_RGBA(200, 100, 50, 1), LICE_RGBA(128, 0, 128, 1), 1.0f, LICE_MODE_HSVADJ),
            LICE_RGBA(200, 200, 200, 1));
}

TEST(CombineChannelCopy, CopiesOneByteIntoAnother) {
  const int redToAlpha = LICE_MODE_CHANCOPY_FROM_TO(LICE_PIXEL_R, LICE_PIXEL_A);
  EXPECT_EQ(blitOne(LICE_RGBA(1, 2, 3, 4), LICE_RGBA(99, 98, 97, 96), 0.0001f, redToAlpha),
            LICE_RGBA(1, 2, 3, 99));
}

TEST(FillRect, FullAlphaStoresTheWordIncludingAlpha) {
  EXPECT_EQ(fillOne(kDest, LICE_RGBA(1, 2, 3, 4), 1.0f, 0), LICE_RGBA(1, 2, 3, 4));
}

TEST(FillRect, QuarterHalfAndThreeQuarterAreWordMixes) {
  const LICE_Pixel32 d = LICE_RGBA(200, 0, 255, 255), c = LICE_RGBA(100, 255, 0, 0);
  EXPECT_EQ(fillOne(d, c, 0.25f, 0), LICE_RGBA(175, 63, 190, 190));
  EXPECT_EQ(fillOne(d, c, 0.5f, 0), LICE_RGBA(150, 127, 127, 127));
  EXPECT_EQ(fillOne(d, c, 0.75f, 0), LICE_RGBA(125, 190, 63, 63));
}

TEST(FillRect, OtherAlphaMixesTheAlphaByteTowardTheWeight) {
  // ia = 25: r = 100 + 100 * 231 / 256 = 190; alpha = 25 + 230 * 231 / 256 = 232.
  EXPECT_EQ(fillOne(LICE_RGBA(200, 0, 0, 255), LICE_RGBA(100, 0, 0, 0), 0.1f, 0),
            LICE_RGBA(190, 0, 0, 232));
}

TEST(FillRect, SourceAlphaFlagScalesByTheColourAlpha) {
  EXPECT_EQ(fillOne(kDest, LICE_RGBA(1, 2, 3, 0), 1.0f, LICE_MODE_USE_ALPHA), kDest);
  EXPECT_EQ(fillOne(kDest, LICE_RGBA(1, 2, 3, 255), 1.0f, LICE_MODE_USE_ALPHA),
            LICE_RGBA(1, 2, 3, 255));
  // Colour alpha 128 at alpha 1.0 gives weight 128: the half mix.
  EXPECT_EQ(fillOne(LICE_RGBA(200, 0, 0, 0), LICE_RGBA(100, 0, 0, 128), 1.0f, LICE_MODE_USE_ALPHA),
            LICE_RGBA(150, 0, 0, 64));
}

TEST(FillRect, OtherModesUseTheirOperatorWithTheWeightAsAlpha) {
  EXPECT_EQ(fillOne(LICE_RGBA(200, 100, 0, 10), LICE_RGBA(100, 100, 5, 0), 0.25f, LICE_MODE_ADD),
            LICE_RGBA(225, 125, 1, 26));
  EXPECT_EQ(fillOne(kDest, LICE_RGBA(100, 100, 5, 0), 0.0f, LICE_MODE_ADD), kDest);
  EXPECT_EQ(fillOne(kDest, LICE_RGBA(100, 100, 5, 0), 1.0f, 7), kDest);
}

TEST(PutPixel, PartialAlphaMixesTowardTheColourAlphaByte) {
  TightBitmap b(2, 2);
  b.fill(LICE_RGBA(200, 0, 0, 255));
  LICE_PutPixel(&b, 1, 1, LICE_RGBA(100, 0, 0, 0), 0.1f, 0);
  EXPECT_EQ(b.at(1, 1), LICE_RGBA(190, 0, 0, 230));
  EXPECT_EQ(b.at(0, 0), LICE_RGBA(200, 0, 0, 255));
  LICE_PutPixel(&b, 0, 0, LICE_RGBA(1, 2, 3, 4), 1.0f, 0);
  EXPECT_EQ(b.at(0, 0), LICE_RGBA(1, 2, 3, 4));
  LICE_PutPixel(&b, 0, 1, LICE_RGBA(100, 100, 5, 100), 0.25f, LICE_MODE_ADD);
  EXPECT_EQ(b.at(0, 1), LICE_RGBA(225, 25, 1, 255));
}

TEST(PutPixel, OutsideOrZeroAlphaDoesNothing) {
  TightBitmap b(2, 2);
  b.fill(7);
  LICE_PutPixel(&b, -1, 0, 1, 1.0f, 0);
  LICE_PutPixel(&b, 2, 0, 1, 1.0f, 0);
  LICE_PutPixel(&b, 0, 2, 1, 1.0f, 0);
  LICE_PutPixel(&b, 0, 0, 1, 0.0f, 0);
  EXPECT_EQ(b.snapshot(), std::vector<LICE_Pixel32>(4, 7));
  LICE_PutPixel(nullptr, 0, 0, 1, 1.0f, 0);
}

TEST(CombinePixels, MatchesTheBlitOperators) {
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(0, 0, 0, 0), LICE_RGBA(255, 128, 0, 128), 1.0f,
                               LICE_MODE_USE_ALPHA),
            LICE_RGBA(129, 65, 0, 128));
  EXPECT_EQ(
      LICE_CombinePixels(LICE_RGBA(200, 0, 0, 0), LICE_RGBA(128, 0, 0, 0), 1.0f, LICE_MODE_MUL),
      LICE_RGBA(100, 0, 0, 0));
  LICE_Pixel32 p = LICE_RGBA(200, 100, 0, 0);
  LICE_CombinePixels2(&p, 100, 100, 5, 100, 64, LICE_MODE_ADD);
  EXPECT_EQ(p, LICE_RGBA(225, 125, 1, 25));
  p = LICE_RGBA(10, 10, 10, 10);
  LICE_CombinePixels2Clamp(&p, 999, -50, 128, 300, 256, LICE_MODE_COPY);
  EXPECT_EQ(p, LICE_RGBA(255, 0, 128, 255));
}

TEST(CombineSourceAlpha, WholeRowBlitsMatchThePerPixelOperatorForEveryAlpha) {
  // Rows of 15 pixels: eight through the widest vector kernel the processor
  // has, four through the narrower one, three through the per-pixel tail.
  for (float alpha : {1.0f, 0.6f, 0.01f}) {
    for (int sa = 0; sa < 256; ++sa) {
      TightBitmap src(15, 1), dest(15, 1);
      for (int x = 0; x < 15; ++x) {
        src.at(x, 0) = LICE_RGBA(x * 17, 255 - x * 16, (sa * 7 + x) & 255, sa);
        dest.at(x, 0) = LICE_RGBA(255 - x * 17, x * 18, (sa * 3) & 255, (x * 50 + sa) & 255);
      }
      std::vector<LICE_Pixel32> want;
      for (int x = 0; x < 15; ++x)
        want.push_back(LICE_CombinePixels(dest.at(x, 0), src.at(x, 0), alpha, LICE_MODE_USE_ALPHA));
      LICE_Blit(&dest, &src, 0, 0, nullptr, alpha, LICE_MODE_USE_ALPHA);
      ASSERT_EQ(dest.snapshot(), want) << "alpha " << alpha << " sa " << sa;
    }
  }
}
