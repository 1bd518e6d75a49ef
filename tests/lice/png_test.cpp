#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <png.h>
#include <random>
#include <string>
#include <unistd.h>

#include "lice/detail/lice_resources.h"
#include "lice/lice.h"
#include "lice/lice_png.h"
#include "png_test_files.h"

namespace {

uint32_t argb(int a, int r, int g, int b) {
  return uint32_t(a) | (uint32_t(r) << 8) | (uint32_t(g) << 16) | (uint32_t(b) << 24);
}

uint32_t pixelAt(LICE_IBitmap* bmp, int x, int y) {
  const int row = bmp->isFlipped() ? bmp->getHeight() - 1 - y : y;
  return bmp->getBits()[row * bmp->getRowSpan() + x];
}

std::unique_ptr<LICE_IBitmap> load(const std::vector<uint8_t>& png) {
  return std::unique_ptr<LICE_IBitmap>(
      LICE_LoadPNGFromMemory(png.data(), static_cast<int>(png.size()), nullptr));
}

// Rows stored bottom-up, to check the loader follows isFlipped.
class FlippedBitmap : public LICE_IBitmap {
public:
  LICE_pixel* getBits() override { return pixels.empty() ? nullptr : pixels.data(); }
  int getWidth() override { return width; }
  int getHeight() override { return height; }
  int getRowSpan() override { return width; }
  bool isFlipped() override { return true; }
  bool resize(int w, int h) override {
    if (w == width && h == height) return false;
    width = w;
    height = h;
    pixels.assign(static_cast<size_t>(w) * h, 0);
    return true;
  }
  std::vector<LICE_pixel> pixels;
  int width = 0, height = 0;
};

// A bitmap that cannot change size, like a view onto someone else's memory.
class FixedBitmap : public FlippedBitmap {
public:
  FixedBitmap() { FlippedBitmap::resize(2, 2); }
  bool isFlipped() override { return false; }
  bool resize(int, int) override { return false; }
};

TestPngImage rgbGradient(int width, int height, int bitDepth, bool alpha, bool interlaced) {
  TestPngImage image;
  image.width = width;
  image.height = height;
  image.bitDepth = bitDepth;
  image.colorType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  image.interlaced = interlaced;
  const int scale = bitDepth == 16 ? 257 : 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.samples.push_back(uint16_t((x * 20) % 256 * scale + (bitDepth == 16 ? 7 : 0)));
      image.samples.push_back(uint16_t((y * 30) % 256 * scale));
      image.samples.push_back(uint16_t((x + y) * 9 % 256 * scale));
      if (alpha) image.samples.push_back(uint16_t((x * y * 11) % 256 * scale));
    }
  }
  return image;
}

uint32_t expectedGradient(int x, int y, bool alpha) {
  return argb(alpha ? (x * y * 11) % 256 : 255, (x * 20) % 256, (y * 30) % 256, (x + y) * 9 % 256);
}

void expectGradient(LICE_IBitmap* bmp, int width, int height, bool alpha) {
  ASSERT_NE(bmp, nullptr);
  ASSERT_EQ(bmp->getWidth(), width);
  ASSERT_EQ(bmp->getHeight(), height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(pixelAt(bmp, x, y), expectedGradient(x, y, alpha)) << x << "," << y;
    }
  }
}

TEST(PngColourTypes, RgbAndRgbaLoadAsArgbWords) {
  expectGradient(load(EncodeTestPng(rgbGradient(7, 5, 8, false, false))).get(), 7, 5, false);
  expectGradient(load(EncodeTestPng(rgbGradient(7, 5, 8, true, false))).get(), 7, 5, true);
}

TEST(PngColourTypes, SixteenBitKeepsTheHighByteAndOpaqueAlpha) {
  expectGradient(load(EncodeTestPng(rgbGradient(6, 4, 16, false, false))).get(), 6, 4, false);
  expectGradient(load(EncodeTestPng(rgbGradient(6, 4, 16, true, false))).get(), 6, 4, true);
}

TEST(PngColourTypes, InterlacedImagesMatchTheirPlainTwins) {
  expectGradient(load(EncodeTestPng(rgbGradient(13, 11, 8, true, true))).get(), 13, 11, true);
  expectGradient(load(EncodeTestPng(rgbGradient(1, 1, 8, false, true))).get(), 1, 1, false);
  expectGradient(load(EncodeTestPng(rgbGradient(9, 3, 16, false, true))).get(), 9, 3, false);
}

TEST(PngColourTypes, OneBitGreyBecomesOpaqueBlackAndWhite) {
  TestPngImage image;
  image.width = 10;
  image.height = 2;
  image.bitDepth = 1;
  image.colorType = PNG_COLOR_TYPE_GRAY;
  for (int i = 0; i < 20; ++i) image.samples.push_back(uint16_t(i % 3 == 0));
  auto bmp = load(EncodeTestPng(image));
  ASSERT_NE(bmp, nullptr);
  for (int i = 0; i < 20; ++i) {
    const int v = i % 3 == 0 ? 255 : 0;
    EXPECT_EQ(pixelAt(bmp.get(), i % 10, i / 10), argb(255, v, v, v)) << i;
  }
}

TEST(PngColourTypes, FourBitGreyScalesToEightBits) {
  TestPngImage image;
  image.width = 16;
  image.bitDepth = 4;
  image.colorType = PNG_COLOR_TYPE_GRAY;
  for (int i = 0; i < 16; ++i) image.samples.push_back(uint16_t(i));
  auto bmp = load(EncodeTestPng(image));
  ASSERT_NE(bmp, nullptr);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(pixelAt(bmp.get(), i, 0), argb(255, i * 17, i * 17, i * 17));
}

TEST(PngColourTypes, GreyWithAlphaSpreadsGreyOverColour) {
  TestPngImage image;
  image.width = 3;
  image.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  image.samples = {10, 0, 128, 77, 250, 255};
  auto bmp = load(EncodeTestPng(image));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(pixelAt(bmp.get(), 0, 0), argb(0, 10, 10, 10));
  EXPECT_EQ(pixelAt(bmp.get(), 1, 0), argb(77, 128, 128, 128));
  EXPECT_EQ(pixelAt(bmp.get(), 2, 0), argb(255, 250, 250, 250));
}

TEST(PngTransparency, PaletteAlphaComesFromTheTransparencyChunk) {
  TestPngImage image;
  image.width = 4;
  image.height = 2;
  image.bitDepth = 2;
  image.colorType = PNG_COLOR_TYPE_PALETTE;
  image.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 8, 7};
  image.paletteAlpha = {0, 128, 255}; // the fourth entry stays opaque
  image.samples = {0, 1, 2, 3, 3, 2, 1, 0};
  auto bmp = load(EncodeTestPng(image));
  ASSERT_NE(bmp, nullptr);
  const uint32_t colours[] = {argb(0, 255, 0, 0), argb(128, 0, 255, 0), argb(255, 0, 0, 255),
                              argb(255, 9, 8, 7)};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(pixelAt(bmp.get(), i % 4, i / 4), colours[image.samples[size_t(i)]]) << i;
  }
}

TEST(PngTransparency, PaletteWithoutTransparencyIsOpaque) {
  TestPngImage image;
  image.width = 2;
  image.colorType = PNG_COLOR_TYPE_PALETTE;
  image.palette = {1, 2, 3, 4, 5, 6};
  image.samples = {1, 0};
  auto bmp = load(EncodeTestPng(image));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(pixelAt(bmp.get(), 0, 0), argb(255, 4, 5, 6));
  EXPECT_EQ(pixelAt(bmp.get(), 1, 0), argb(255, 1, 2, 3));
}

TEST(PngTransparency, ColourKeysMakeMatchingPixelsClear) {
  TestPngImage grey;
  grey.width = 3;
  grey.colorType = PNG_COLOR_TYPE_GRAY;
  grey.samples = {5, 6, 5};
  grey.hasColorKey = true;
  grey.keyGray = 5;
  auto bmp = load(EncodeTestPng(grey));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(pixelAt(bmp.get(), 0, 0), argb(0, 5, 5, 5));
  EXPECT_EQ(pixelAt(bmp.get(), 1, 0), argb(255, 6, 6, 6));

  TestPngImage rgb;
  rgb.width = 2;
  rgb.samples = {1, 2, 3, 1, 2, 4};
  rgb.hasColorKey = true;
  rgb.keyRed = 1;
  rgb.keyGreen = 2;
  rgb.keyBlue = 3;
  bmp = load(EncodeTestPng(rgb));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(pixelAt(bmp.get(), 0, 0), argb(0, 1, 2, 3));
  EXPECT_EQ(pixelAt(bmp.get(), 1, 0), argb(255, 1, 2, 4));
}

TEST(PngTargets, FilesLoadThroughThePath) {
  const std::string path =
      WriteTempFile("rgb.png", EncodeTestPng(rgbGradient(5, 5, 8, true, false)));
  std::unique_ptr<LICE_IBitmap> bmp(LICE_LoadPNG(path.c_str(), nullptr));
  expectGradient(bmp.get(), 5, 5, true);
  unlink(path.c_str());
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNG(nullptr, nullptr), nullptr);
}

TEST(PngTargets, AGivenBitmapIsResizedFilledAndReturned) {
  LICE_MemBitmap target(1, 1, 4);
  const auto png = EncodeTestPng(rgbGradient(9, 3, 8, false, false));
  EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), int(png.size()), &target), &target);
  expectGradient(&target, 9, 3, false);
}

TEST(PngTargets, FlippedBitmapsReceiveTheTopRowLast) {
  FlippedBitmap target;
  const auto png = EncodeTestPng(rgbGradient(4, 3, 8, false, false));
  ASSERT_EQ(LICE_LoadPNGFromMemory(png.data(), int(png.size()), &target), &target);
  expectGradient(&target, 4, 3, false);
  EXPECT_EQ(target.pixels[size_t(2 * 4)], expectedGradient(0, 0, false));
}

TEST(PngTargets, ABitmapThatCannotTakeTheSizeIsRefusedButKept) {
  FixedBitmap target;
  const auto png = EncodeTestPng(rgbGradient(4, 3, 8, false, false));
  EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), int(png.size()), &target), nullptr);
  EXPECT_EQ(target.getWidth(), 2);
}

TEST(PngMalformed, ShortOrForeignBuffersNeverReachTheDecoder) {
  const auto png = EncodeTestPng(rgbGradient(2, 2, 8, false, false));
  EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), 7, nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromMemory(nullptr, 100, nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), -1, nullptr), nullptr);
  std::vector<uint8_t> foreign = png;
  foreign[1] = 'Q';
  EXPECT_EQ(load(foreign), nullptr);
}

TEST(PngMalformed, EveryTruncationBeforeTheEndChunkIsRefused) {
  const auto png = EncodeTestPng(rgbGradient(12, 9, 8, true, true));
  const long end = FindPngChunk(png, "IEND"); // the trailer is never read
  ASSERT_GT(end, 0);
  for (size_t length = 8; length < size_t(end); ++length) {
    LICE_MemBitmap target(3, 3, 0);
    EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), int(length), nullptr), nullptr) << length;
    EXPECT_EQ(LICE_LoadPNGFromMemory(png.data(), int(length), &target), nullptr) << length;
  }
  const auto cut = std::vector<uint8_t>(png.begin(), png.begin() + long(png.size() / 2));
  const std::string path = WriteTempFile("cut.png", cut);
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), nullptr), nullptr);
  unlink(path.c_str());
}

TEST(PngMalformed, BadChecksumsInCriticalChunksAreRefused) {
  const auto png = EncodeTestPng(rgbGradient(4, 4, 8, false, false));
  for (const char* type : {"IHDR", "IDAT"}) {
    std::vector<uint8_t> bad = png;
    const long at = FindPngChunk(bad, type);
    ASSERT_GE(at, 0);
    const uint32_t length =
        (uint32_t(bad[size_t(at)]) << 24) | (bad[size_t(at) + 2] << 8) | bad[size_t(at) + 3];
    bad[size_t(at + 8 + long(length))] ^= 0x5A;
    EXPECT_EQ(load(bad), nullptr) << type;
  }
}

std::vector<uint8_t> withSize(std::vector<uint8_t> png, uint32_t width, uint32_t height) {
  const long ihdr = FindPngChunk(png, "IHDR");
  PutBigEndian32(png, ihdr + 8, width);
  PutBigEndian32(png, ihdr + 12, height);
  FixPngChunkCrc(png, ihdr);
  return png;
}

TEST(PngMalformed, ZeroAndHugeDimensionsAreRefusedBeforeDecoding) {
  const auto png = EncodeTestPng(rgbGradient(4, 4, 8, false, false));
  EXPECT_EQ(load(withSize(png, 0, 4)), nullptr);
  EXPECT_EQ(load(withSize(png, 4, 0)), nullptr);
  EXPECT_EQ(load(withSize(png, 16385, 1)), nullptr);
  EXPECT_EQ(load(withSize(png, 1, 16385)), nullptr);
  EXPECT_EQ(load(withSize(png, 16384, 16384)), nullptr); // claims 1 GiB but holds 4 x 4
  EXPECT_EQ(load(withSize(png, 0x7FFFFFFF, 0x7FFFFFFF)), nullptr);
  EXPECT_EQ(load(withSize(png, 0xFFFFFFFF, 2)), nullptr);
  LICE_MemBitmap target(3, 3, 0);
  EXPECT_EQ(LICE_LoadPNGFromMemory(withSize(png, 20000, 20000).data(), int(png.size()), &target),
            nullptr);
}

TEST(PngMalformed, BrokenPalettesAreRefusedOrKeptInBounds) {
  TestPngImage image;
  image.width = 4;
  image.colorType = PNG_COLOR_TYPE_PALETTE;
  image.palette = {10, 20, 30, 40, 50, 60};
  image.samples = {0, 1, 200, 255}; // indexes beyond the palette
  auto outOfRange = load(EncodeTestPng(image));
  if (outOfRange) {
    EXPECT_EQ(pixelAt(outOfRange.get(), 0, 0), argb(255, 10, 20, 30));
    EXPECT_EQ(pixelAt(outOfRange.get(), 1, 0), argb(255, 40, 50, 60));
  }

  auto png = EncodeTestPng(image);
  const long plte = FindPngChunk(png, "PLTE");
  ASSERT_GE(plte, 0);
  std::vector<uint8_t> ragged = png; // a palette length that is not a multiple of 3
  PutBigEndian32(ragged, plte, 4);
  ragged.insert(ragged.begin() + plte + 8 + 4, 0); // keep the chunk well framed
  ragged.erase(ragged.begin() + plte + 8 + 6, ragged.begin() + plte + 8 + 7);
  FixPngChunkCrc(ragged, plte);
  EXPECT_EQ(load(ragged), nullptr);

  std::vector<uint8_t> missing = png; // rename PLTE to an ancillary chunk
  missing[size_t(plte) + 4] = 'p';
  missing[size_t(plte) + 5] = 'r';
  FixPngChunkCrc(missing, plte);
  EXPECT_EQ(load(missing), nullptr);

  std::vector<uint8_t> empty = png;
  PutBigEndian32(empty, plte, 0);
  empty.erase(empty.begin() + plte + 8, empty.begin() + plte + 8 + 6);
  FixPngChunkCrc(empty, plte);
  EXPECT_EQ(load(empty), nullptr);
}

TEST(PngMalformed, ImpossibleDepthsAndColourTypesAreRefused) {
  const auto png = EncodeTestPng(rgbGradient(4, 4, 8, false, false));
  const long ihdr = FindPngChunk(png, "IHDR");
  for (auto [depth, type] : {std::pair{16, 3}, {3, 0}, {8, 1}, {8, 7}, {0, 2}}) {
    std::vector<uint8_t> bad = png;
    bad[size_t(ihdr + 16)] = uint8_t(depth);
    bad[size_t(ihdr + 17)] = uint8_t(type);
    FixPngChunkCrc(bad, ihdr);
    EXPECT_EQ(load(bad), nullptr) << depth << "/" << type;
  }
}

TEST(PngMalformed, RandomCorruptionNeverYieldsAWrongSizedBitmap) {
  const auto png = EncodeTestPng(rgbGradient(16, 16, 8, true, true));
  std::mt19937 random(1234);
  for (int round = 0; round < 400; ++round) {
    std::vector<uint8_t> bad = png;
    const int flips = 1 + int(random() % 4);
    for (int i = 0; i < flips; ++i) {
      bad[8 + random() % (bad.size() - 8)] ^= uint8_t(1 + random() % 255);
    }
    auto bmp = load(bad);
    if (bmp) {
      EXPECT_GE(bmp->getWidth(), 1);
      EXPECT_LE(bmp->getWidth(), 16384);
      EXPECT_NE(bmp->getBits(), nullptr);
    }
  }
}

TEST(PngLoaderRegistry, TheExtensionCheckLooksOnlyAtTheLastSuffix) {
  const std::string path =
      WriteTempFile("image.PNG", EncodeTestPng(rgbGradient(2, 2, 8, false, false)));
  std::unique_ptr<LICE_IBitmap> bmp(LICE_PNGLoader::loadfunc(path.c_str(), true, nullptr));
  EXPECT_NE(bmp, nullptr);
  const std::string bak = path + ".bak";
  ASSERT_EQ(rename(path.c_str(), bak.c_str()), 0);
  EXPECT_EQ(LICE_PNGLoader::loadfunc(bak.c_str(), true, nullptr), nullptr);
  std::unique_ptr<LICE_IBitmap> unchecked(LICE_PNGLoader::loadfunc(bak.c_str(), false, nullptr));
  EXPECT_NE(unchecked, nullptr);
  unlink(bak.c_str());
}

TEST(PngLoaderRegistry, ThePngLoaderIsListedWithItsFilePattern) {
  bool found = false;
  for (LICE_ImageLoaderRec* rec = LICE_ImageLoader_list; rec; rec = rec->_next) {
    found |= rec->loadfunc == &LICE_PNGLoader::loadfunc;
  }
  EXPECT_TRUE(found);
  const char* list = LICE_PNGLoader::get_extlist();
  EXPECT_STREQ(list, "PNG files (*.PNG)");
  EXPECT_STREQ(list + strlen(list) + 1, "*.PNG");
  EXPECT_EQ(list[strlen(list) + 1 + 5], '\0');
  EXPECT_EQ(LICE_LoadPNGFromResource(nullptr, 101, nullptr), nullptr);
}

TEST(PngResources, TheFolderIsBesideTheModule) {
  char folder[PATH_MAX + 32];
  ASSERT_TRUE(LICE_GetResourceFolder(folder, sizeof(folder)));
  char exe[PATH_MAX];
  ASSERT_NE(realpath("/proc/self/exe", exe), nullptr);
  *strrchr(exe, '/') = '\0';
  EXPECT_EQ(std::string(folder), std::string(exe) + "/../Resources/");
  EXPECT_FALSE(LICE_GetResourceFolder(folder, 4));
}

TEST(PngResources, NamedResourcesLoadFromTheResourceFolder) {
  const std::string path =
      WriteTempFile("knob.png", EncodeTestPng(rgbGradient(3, 2, 8, false, false)));
  const std::string folder = path.substr(0, path.rfind('/'));
  const std::string name = path.substr(path.rfind('/') + 1);
  LICE_SetResourceFolderOverride(folder.c_str());
  std::unique_ptr<LICE_IBitmap> bmp(LICE_LoadPNGFromNamedResource(name.c_str(), nullptr));
  expectGradient(bmp.get(), 3, 2, false);
  EXPECT_EQ(LICE_LoadPNGFromNamedResource(std::string(401, 'a').c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromNamedResource("missing.png", nullptr), nullptr);
  LICE_SetResourceFolderOverride(nullptr);
  unlink(path.c_str());
}

} // namespace
