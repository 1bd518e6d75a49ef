#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "swell/detail/gdi_records.h"
#include "swell/detail/raster.h"
#include "swell/swell.h"
#include "swell_test_util.h"

namespace {

std::string TempPath(const char* name) {
  return std::string(testing::TempDir()) + "swell_" + std::to_string(getpid()) + "_" + name;
}

// Writes a 2 x 1 PNG: magenta, then half-transparent green.
std::string WritePng() {
  const std::string path = TempPath("image.png");
  const uint8_t argb[8] = {255, 255, 0, 255, 128, 0, 255, 0};
  png_image png;
  memset(&png, 0, sizeof(png));
  png.version = PNG_IMAGE_VERSION;
  png.width = 2;
  png.height = 1;
  png.format = PNG_FORMAT_ARGB;
  EXPECT_TRUE(png_image_write_to_file(&png, path.c_str(), 0, argb, 0, nullptr));
  return path;
}

} // namespace

TEST(Bitmaps, CreateBitmapCopiesRowsAndReportsItsSize) {
  const uint32_t rows[2] = {swell_raster::PackPixel(255, 1, 2, 3),
                            swell_raster::PackPixel(255, 4, 5, 6)};
  HBITMAP bm = CreateBitmap(1, 2, 1, 32, rows);
  ASSERT_NE(bm, nullptr);
  BITMAP info = {0, 0};
  EXPECT_EQ(GetObject(bm, sizeof(info), &info), static_cast<int>(sizeof(info)));
  EXPECT_EQ(info.bmWidth, 1);
  EXPECT_EQ(info.bmHeight, 2);
  char big[16];
  EXPECT_EQ(GetObject(bm, sizeof(big), big), 0);
  TestCanvas c(2, 4);
  RECT r = {0, 0, 2, 4};
  DrawImageInRect(c.dc, bm, &r);
  EXPECT_EQ(c.Colour(1, 1), 0x010203);
  EXPECT_EQ(c.Colour(0, 3), 0x040506);
  DeleteObject(bm);
  EXPECT_EQ(CreateBitmap(0, 2, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(2, 2, 1, 24, rows), nullptr);
  EXPECT_EQ(CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr), nullptr);
}

TEST(Bitmaps, LoadNamedImageReadsPngAndTurnsMagentaTransparent) {
  const std::string path = WritePng();
  HBITMAP keep = LoadNamedImage(path.c_str(), false);
  HBITMAP cut = LoadNamedImage(path.c_str(), true);
  ASSERT_NE(keep, nullptr);
  ASSERT_NE(cut, nullptr);
  TestCanvas c(2, 1, 0x000000);
  RECT r = {0, 0, 2, 1};
  DrawImageInRect(c.dc, keep, &r);
  EXPECT_EQ(c.Colour(0, 0), 0xFF00FF);
  EXPECT_EQ(c.Colour(1, 0), 0x008000);
  c.Fill(0x000000);
  DrawImageInRect(c.dc, cut, &r);
  EXPECT_EQ(c.Colour(0, 0), 0x000000);
  DeleteObject(keep);
  DeleteObject(cut);
  remove(path.c_str());
}

TEST(Bitmaps, LoadNamedImageRefusesMalformedAndMissingFiles) {
  const std::string path = TempPath("broken.png");
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0,
                                  0,    0,   13,  'I', 'H',  'D',  'R',  0xFF, 0xFF};
  fwrite(header, 1, sizeof(header), f);
  fclose(f);
  EXPECT_EQ(LoadNamedImage(path.c_str(), false), nullptr);
  remove(path.c_str());
  EXPECT_EQ(LoadNamedImage("/nonexistent/image.png", false), nullptr);
  EXPECT_EQ(LoadNamedImage("named", false), nullptr);
  EXPECT_EQ(LoadNamedImage(nullptr, false), nullptr);
}

TEST(Icons, IconsCopyTheColourBitmapAndImageListsHoldTheirOwnReferences) {
  const uint32_t px = swell_raster::PackPixel(255, 9, 9, 9);
  HBITMAP colour = CreateBitmap(1, 1, 1, 32, &px);
  ICONINFO info = {TRUE, 0, 0, nullptr, colour};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  DeleteObject(colour);
  const auto* image = static_cast<const SWELL_Image*>(GetNSImageFromHICON(icon));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixels[0], px);

  HIMAGELIST list = ImageList_CreateEx();
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, icon), 0);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, icon), 1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 1, icon), 1);
  DeleteObject(icon); // the list still holds it
  EXPECT_NE(GetNSImageFromHICON(icon), nullptr);
  ImageList_Remove(list, 0);
  ImageList_Remove(list, 5);
  EXPECT_NE(GetNSImageFromHICON(icon), nullptr);
  ImageList_Destroy(list);
  EXPECT_EQ(GetNSImageFromHICON(icon), nullptr);

  HICON again = CreateIconIndirect(&info);
  EXPECT_EQ(again, nullptr); // the colour bitmap is gone
  HBITMAP fresh = CreateBitmap(1, 1, 1, 32, &px);
  HIMAGELIST all = ImageList_CreateEx();
  ImageList_ReplaceIcon(all, -1, fresh);
  ImageList_ReplaceIcon(all, -1, fresh);
  DeleteObject(fresh);
  ImageList_Remove(all, -1);
  EXPECT_EQ(GetNSImageFromHICON(fresh), nullptr);
  HBITMAP other = CreateBitmap(1, 1, 1, 32, &px);
  EXPECT_EQ(ImageList_ReplaceIcon(all, 3, other), 0); // past the end: appended
  DeleteObject(other);
  ImageList_Destroy(all);
  EXPECT_EQ(ImageList_ReplaceIcon(nullptr, -1, icon), -1);
}
