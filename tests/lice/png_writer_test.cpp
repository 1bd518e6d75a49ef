#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "lice/lice.h"
#include "lice/lice_png.h"

namespace {

std::string tempPath(const char* name) {
  const char* dir = getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/" + name + std::to_string(getpid()) + ".png";
}

// Stores its rows bottom-up, as system bitmaps on some platforms do.
class FlippedBitmap : public LICE_MemBitmap {
public:
  FlippedBitmap(int w, int h) : LICE_MemBitmap(w, h) {}
  bool isFlipped() override { return true; }
};

// A 7x5 image whose every pixel differs, alpha included, so any swapped
// channel, row or column shows up.
void paint(LICE_IBitmap* bmp) {
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      LICE_PutPixel(bmp, x, y, LICE_RGBA(x * 30, y * 50, 255 - x * 20, 10 + x * 7 + y * 40), 1.0f,
                    LICE_MODE_COPY);
}

} // namespace

TEST(PngWriter, RoundTripsEveryChannelAndRowOrder) {
  for (bool flipped : {false, true}) {
    LICE_MemBitmap upright(7, 5);
    FlippedBitmap stored(7, 5);
    LICE_IBitmap& src = flipped ? static_cast<LICE_IBitmap&>(stored) : upright;
    paint(&src);
    const std::string path = tempPath("png_writer_rt");
    ASSERT_TRUE(LICE_WritePNG(path.c_str(), &src, true));
    std::unique_ptr<LICE_IBitmap> back(LICE_LoadPNG(path.c_str()));
    remove(path.c_str());
    ASSERT_TRUE(back);
    ASSERT_EQ(back->getWidth(), 7);
    ASSERT_EQ(back->getHeight(), 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x)
        EXPECT_EQ(LICE_GetPixel(back.get(), x, y), LICE_GetPixel(&src, x, y))
            << "flipped " << flipped << " at " << x << "," << y;
  }
}

TEST(PngWriter, WithoutAlphaTheImageLoadsOpaque) {
  LICE_MemBitmap src(7, 5);
  paint(&src);
  const std::string path = tempPath("png_writer_rgb");
  ASSERT_TRUE(LICE_WritePNG(path.c_str(), &src, false));
  std::unique_ptr<LICE_IBitmap> back(LICE_LoadPNG(path.c_str()));
  remove(path.c_str());
  ASSERT_TRUE(back);
  const LICE_Pixel32 p = LICE_GetPixel(&src, 3, 2);
  EXPECT_EQ(LICE_GetPixel(back.get(), 3, 2),
            LICE_RGBA(LICE_GETR(p), LICE_GETG(p), LICE_GETB(p), 255));
}

TEST(PngWriter, RefusesWhatItCannotWriteAndLeavesNoFile) {
  LICE_MemBitmap empty;
  const std::string path = tempPath("png_writer_empty");
  EXPECT_FALSE(LICE_WritePNG(path.c_str(), &empty));
  EXPECT_NE(access(path.c_str(), F_OK), 0);
  LICE_MemBitmap one(1, 1);
  EXPECT_FALSE(LICE_WritePNG(nullptr, &one));
  EXPECT_FALSE(LICE_WritePNG(path.c_str(), nullptr));
  EXPECT_FALSE(LICE_WritePNG("/nonexistent-folder/x.png", &one));
  // A full device fails at the flush; the device itself must survive.
  if (access("/dev/full", W_OK) == 0) {
    LICE_MemBitmap big(256, 256);
    EXPECT_FALSE(LICE_WritePNG("/dev/full", &big));
    EXPECT_EQ(access("/dev/full", F_OK), 0);
  }
}
