#include <gtest/gtest.h>

#include "swell/detail/raster.h"
#include "swell/swell.h"
#include "swell_test_util.h"

namespace {

// Pixel words of the source pattern: a distinct colour per pixel.
void Paint(TestCanvas& c) {
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      c.Pixels()[y * c.width + x] = swell_raster::PackPixel(255, x * 10, y * 10, 7);
}

} // namespace

TEST(BitBlt, CopiesPixelsToTheOffset) {
  TestCanvas src(4, 3), dst(10, 10);
  Paint(src);
  BitBlt(dst.dc, 5, 6, 4, 3, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.At(5, 6), src.At(0, 0));
  EXPECT_EQ(dst.At(8, 8), src.At(3, 2));
  EXPECT_EQ(dst.Colour(4, 6), 0xFFFFFF);
  EXPECT_EQ(dst.Colour(9, 6), 0xFFFFFF);
  EXPECT_EQ(dst.InkBox().right, 9);
  EXPECT_EQ(dst.InkBox().bottom, 9);
}

TEST(BitBlt, SourceOutsideItsContextIsCutAndTheDestinationMovesWithIt) {
  TestCanvas src(4, 4), dst(10, 10);
  Paint(src);
  BitBlt(dst.dc, 0, 0, 6, 6, src.dc, -2, -1, SRCCOPY);
  EXPECT_EQ(dst.Colour(1, 0), 0xFFFFFF);
  EXPECT_EQ(dst.At(2, 1), src.At(0, 0));
  EXPECT_EQ(dst.At(5, 4), src.At(3, 3));
  EXPECT_EQ(dst.InkBox().left, 2);
  EXPECT_EQ(dst.InkBox().top, 1);
  EXPECT_EQ(dst.InkBox().right, 6);
  EXPECT_EQ(dst.InkBox().bottom, 5);
  // Entirely outside, or from a context without pixels: nothing.
  dst.Fill(0xFFFFFF);
  BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 4, 0, SRCCOPY);
  BitBlt(dst.dc, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY);
  EXPECT_FALSE(dst.HasInk());
}

TEST(StretchBlt, ScalesByNearestPixel) {
  TestCanvas src(2, 2), dst(8, 8);
  Paint(src);
  StretchBlt(dst.dc, 0, 0, 8, 4, src.dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), src.At(0, 0));
  EXPECT_EQ(dst.At(3, 1), src.At(0, 0));
  EXPECT_EQ(dst.At(4, 1), src.At(1, 0));
  EXPECT_EQ(dst.At(7, 3), src.At(1, 1));
  EXPECT_EQ(dst.Colour(0, 4), 0xFFFFFF);
}

TEST(StretchBlt, AlphaRasterOpBlendsByTheFirstByte) {
  TestCanvas src(2, 1), dst(2, 1, 0x000000);
  src.Pixels()[0] = swell_raster::PackPixel(0, 255, 255, 255);
  src.Pixels()[1] = swell_raster::PackPixel(128, 200, 200, 200);
  BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, static_cast<int>(SRCCOPY_USEALPHACHAN));
  EXPECT_EQ(dst.Red(0, 0), 0);
  EXPECT_NEAR(dst.Red(1, 0), 100, 1); // 200 x 128 / 255
  BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.Red(0, 0), 255);
  EXPECT_EQ(dst.At(0, 0) & 0xFF, 255u);
}

TEST(BitBlt, OverlappingCopyWithinOneContext) {
  TestCanvas c(6, 1);
  Paint(c);
  const uint32_t first = c.At(0, 0), second = c.At(1, 0);
  BitBlt(c.dc, 1, 0, 5, 1, c.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(c.At(1, 0), first);
  EXPECT_EQ(c.At(2, 0), second);
}
