// Unscaled blits: clipping at every edge, source rectangles, storage order,
// and blits from a bitmap onto itself.
#include <gtest/gtest.h>

#include "tests/lice/lice_test_util.h"

namespace {

// Expected result of blitting src at (dx, dy) with plain copy: computed pixel
// by pixel from the definition of the clip.
std::vector<LICE_Pixel32> expectedCopy(TightBitmap& dest, TightBitmap& src, int dx, int dy) {
  std::vector<LICE_Pixel32> out = dest.snapshot();
  for (int y = 0; y < dest.getHeight(); ++y)
    for (int x = 0; x < dest.getWidth(); ++x) {
      const int sx = x - dx, sy = y - dy;
      if (sx >= 0 && sy >= 0 && sx < src.getWidth() && sy < src.getHeight())
        out[(size_t)y * dest.getWidth() + x] = src.at(sx, sy);
    }
  return out;
}

} // namespace

TEST(BlitClip, EveryEdgeAndCorner) {
  const int offsets[][2] = {{-2, -2}, {3, -2}, {8, -2}, {-2, 3}, {8, 3},
                            {-2, 8},  {3, 8},  {8, 8},  {3, 3},  {-4, -3}};
  for (auto& o : offsets) {
    TightBitmap dest(10, 10), src(4, 4);
    dest.fill(0x11);
    src.pattern();
    const auto want = expectedCopy(dest, src, o[0], o[1]);
    LICE_Blit(&dest, &src, o[0], o[1], nullptr, 1.0f, 0);
    EXPECT_EQ(dest.snapshot(), want) << o[0] << "," << o[1];
  }
}

TEST(BlitClip, PerPixelPathsClipLikeTheCopy) {
  TightBitmap a(10, 10), b(10, 10), src(4, 4);
  a.fill(LICE_RGBA(10, 20, 30, 40));
  b.fill(LICE_RGBA(10, 20, 30, 40));
  src.pattern();
  LICE_Blit(&a, &src, 8, -1, nullptr, 0.3f, LICE_MODE_ADD | LICE_MODE_USE_ALPHA);
  // Only the 2 x 3 overlap may change; compare with a blit of exactly that part.
  LICE_Blit(&b, &src, 8, 0, 0, 1, 2, 3, 0.3f, LICE_MODE_ADD | LICE_MODE_USE_ALPHA);
  EXPECT_EQ(a.snapshot(), b.snapshot());
  EXPECT_NE(a.at(8, 0), LICE_RGBA(10, 20, 30, 40));
}

TEST(BlitClip, EntirelyOutsideChangesNothing) {
  TightBitmap dest(5, 5), src(3, 3);
  dest.fill(9);
  src.fill(1);
  for (int mode : {0, LICE_MODE_USE_ALPHA, LICE_MODE_ADD, LICE_MODE_CHANCOPY}) {
    LICE_Blit(&dest, &src, 5, 0, nullptr, 1.0f, mode);
    LICE_Blit(&dest, &src, 0, -3, nullptr, 0.5f, mode);
    LICE_Blit(&dest, &src, -3, 0, nullptr, 0.7f, mode);
    LICE_Blit(&dest, &src, 0, 5, nullptr, 1.0f, mode);
  }
  EXPECT_EQ(dest.snapshot(), std::vector<LICE_Pixel32>(25, 9));
}

TEST(BlitSourceRect, NegativeLeftMovesTheDrawingRight) {
  TightBitmap dest(6, 1), src(4, 1);
  src.pattern();
  RECT r{-2, 0, 4, 1};
  LICE_Blit(&dest, &src, 0, 0, &r, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 0), 0u);
  EXPECT_EQ(dest.at(1, 0), 0u);
  EXPECT_EQ(dest.at(2, 0), src.at(0, 0));
  EXPECT_EQ(dest.at(5, 0), src.at(3, 0));
}

TEST(BlitSourceRect, NegativeDestinationSkipsSourceColumns) {
  TightBitmap dest(10, 1), src(10, 1);
  src.pattern();
  LICE_Blit(&dest, &src, -5, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 0), src.at(5, 0));
  EXPECT_EQ(dest.at(4, 0), src.at(9, 0));
  EXPECT_EQ(dest.at(5, 0), 0u);
}

TEST(BlitSourceRect, RectanglePastTheSourceIsCut) {
  TightBitmap dest(6, 6), src(3, 3);
  src.pattern();
  LICE_Blit(&dest, &src, 0, 0, 1, 1, 100, 100, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 0), src.at(1, 1));
  EXPECT_EQ(dest.at(1, 1), src.at(2, 2));
  EXPECT_EQ(dest.at(2, 0), 0u);
  EXPECT_EQ(dest.at(0, 2), 0u);
}

TEST(BlitStorage, FlippedBitmapsAddressLogicalRows) {
  TightBitmap dest(3, 3, true), src(3, 3, false);
  src.pattern();
  LICE_Blit(&dest, &src, 0, 1, nullptr, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 1), src.at(0, 0));
  EXPECT_EQ(dest.at(2, 2), src.at(2, 1));
  EXPECT_EQ(dest.at(1, 0), 0u);
  TightBitmap back(3, 3, false);
  LICE_Blit(&back, &dest, 0, 0, nullptr, 0.25f, 0);
  LICE_Blit(&back, &dest, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(back.snapshot(), dest.snapshot());
}

TEST(BlitStorage, RowSpanWiderThanWidthIsHonoured) {
  TightBitmap dest(3, 2, false, 5), src(3, 2, false, 7);
  src.pattern();
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(dest.snapshot(), src.snapshot());
  EXPECT_EQ(dest.getBits()[3], 0u); // padding untouched
}

TEST(BlitCopy, CopyResizesAndCopiesExactly) {
  TightBitmap src(5, 4);
  src.pattern();
  LICE_MemBitmap dest;
  LICE_Copy(&dest, &src);
  ASSERT_EQ(dest.getWidth(), 5);
  ASSERT_EQ(dest.getHeight(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(LICE_GetPixel(&dest, x, y), src.at(x, y));
  LICE_Copy(nullptr, &src);
  LICE_Copy(&dest, nullptr);
}

// Blitting a bitmap onto itself must equal blitting from a copy of it.
class SelfBlit : public ::testing::TestWithParam<std::tuple<int, int, float, int>> {};

TEST_P(SelfBlit, OverlappingAreasMatchABlitFromACopy) {
  const int dx = std::get<0>(GetParam()), dy = std::get<1>(GetParam());
  const float alpha = std::get<2>(GetParam());
  const int mode = std::get<3>(GetParam());
  TightBitmap self(9, 8), reference(9, 8), copy(9, 8);
  self.pattern(3);
  reference.pattern(3);
  copy.pattern(3);
  LICE_Blit(&reference, &copy, dx, dy, 1, 1, 6, 5, alpha, mode);
  LICE_Blit(&self, &self, dx, dy, 1, 1, 6, 5, alpha, mode);
  EXPECT_EQ(self.snapshot(), reference.snapshot());
}

INSTANTIATE_TEST_SUITE_P(Directions, SelfBlit,
                         ::testing::Combine(::testing::Values(-1, 0, 2),
                                            ::testing::Values(-2, 0, 1),
                                            ::testing::Values(1.0f, 0.5f, 0.3f),
                                            ::testing::Values(0, LICE_MODE_USE_ALPHA, LICE_MODE_ADD,
                                                              LICE_MODE_CHANCOPY_FROM_TO(1, 0))));

TEST(SelfBlitLayouts, FlippedViewOfTheSameMemoryUsesACopy) {
  // Two bitmap objects over one block, one of them bottom-up: no walking
  // order can be right, so the blit must read a copy.
  TightBitmap plain(4, 4);
  plain.pattern();
  struct FlippedAlias : LICE_IBitmap {
    TightBitmap& b;
    explicit FlippedAlias(TightBitmap& t) : b(t) {}
    LICE_Pixel32* getBits() override { return b.getBits(); }
    int getWidth() override { return 4; }
    int getHeight() override { return 4; }
    int getRowSpan() override { return 4; }
    bool isFlipped() override { return true; }
    bool resize(int, int) override { return false; }
  } flipped(plain);
  TightBitmap copy(4, 4);
  copy.pattern();
  TightBitmap expected(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) expected.at(x, y) = copy.at(x, 3 - y);
  LICE_Blit(&plain, &flipped, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(plain.snapshot(), expected.snapshot());
}
