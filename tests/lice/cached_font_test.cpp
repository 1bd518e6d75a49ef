#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "lice/lice.h"
#include "lice/lice_text.h"
#include "shape_test_bitmaps.h"

namespace {

TEST(Utf8Decoding, SequencesAndInvalidBytes) {
  unsigned short c = 0;
  EXPECT_EQ(LICE_DecodeUTF8("\xC3\xA9", -1, &c), 2);
  EXPECT_EQ(c, 0xE9);
  EXPECT_EQ(LICE_DecodeUTF8("\xC3\xC0", -1, &c), 1);
  EXPECT_EQ(c, 0xC3);
  EXPECT_EQ(LICE_DecodeUTF8("\xC0", -1, &c), 1);
  EXPECT_EQ(c, 0xC0);
  EXPECT_EQ(LICE_DecodeUTF8("\xE2\x82\xAC", -1, &c), 3);
  EXPECT_EQ(c, 0x20AC);
  EXPECT_EQ(LICE_DecodeUTF8("\xF0\x9F\x98\x80", -1, &c), 4);
  EXPECT_EQ(c, ' ');
}

TEST(Utf8Decoding, NeverReadsPastTheGivenLength) {
  // Exactly sized heap copies: a read beyond them is a sanitizer report.
  for (const std::string text : {"\xE2\x82", "\xC3", "\xF0\x9F\x98"}) {
    std::unique_ptr<char[]> exact(new char[text.size()]);
    memcpy(exact.get(), text.data(), text.size());
    unsigned short c = 0;
    EXPECT_EQ(LICE_DecodeUTF8(exact.get(), int(text.size()), &c), 1);
    EXPECT_EQ(c, (unsigned char)text[0]);
  }
  unsigned short c = 7;
  EXPECT_EQ(LICE_DecodeUTF8("abc", 0, &c), 0);
  EXPECT_EQ(LICE_DecodeUTF8("\xC3", -1, &c), 1); // the NUL ends the sequence
}

class CachedFontTest : public ::testing::Test {
protected:
  void SetUp() override {
    HFONT font = CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    ASSERT_NE(font, nullptr);
    cached.SetFromHFont(font, LICE_FONT_FLAG_OWNS_HFONT);
    cached.SetTextColor(LICE_RGBA(255, 255, 255, 255));
    LICE_Clear(&bm, 0);
  }
  int draw(const char* text, RECT r, UINT flags) {
    return cached.DrawText(&bm, text, -1, &r, flags | LICE_DT_NEEDALPHA);
  }
  LICE_MemBitmap bm{120, 60, 0};
  LICE_CachedFont cached;
};

TEST_F(CachedFontTest, TextLandsInsideItsRectangle) {
  EXPECT_GT(cached.GetLineHeight(), 10);
  EXPECT_GT(draw("Hg", {10, 10, 100, 50}, 0), 10);
  const PixelSet set = SetPixels(&bm);
  ASSERT_FALSE(set.empty());
  for (const auto& p : set) {
    EXPECT_GE(p.first, 10);
    EXPECT_GE(p.second, 10);
    EXPECT_LT(p.second, 10 + cached.GetLineHeight() + 2);
  }
}

TEST_F(CachedFontTest, ClippingAndAlignment) {
  draw("WWWW", {10, 10, 20, 50}, 0);
  for (const auto& p : SetPixels(&bm)) EXPECT_LT(p.first, 20);
  LICE_Clear(&bm, 0);
  RECT measured{0, 0, 0, 0};
  cached.DrawText(nullptr, "WW", -1, &measured, DT_CALCRECT | LICE_DT_NEEDALPHA);
  EXPECT_GT(measured.right, 10);
  draw("WW", {0, 0, 120, 60}, DT_RIGHT | DT_BOTTOM);
  int minX = 999;
  for (const auto& p : SetPixels(&bm)) minX = std::min(minX, p.first);
  EXPECT_GE(minX, 120 - measured.right);
}

TEST_F(CachedFontTest, GlyphsAreFoundAgainAfterTheCacheGrows) {
  draw("\xC3\xA9", {0, 0, 60, 60}, 0);
  LICE_MemBitmap first(120, 60, 0);
  LICE_Copy(&first, &bm);
  std::string many;
  for (int c = 0x100; c < 0x600; ++c) {
    many += char(0xC0 | (c >> 6));
    many += char(0x80 | (c & 0x3F));
  }
  LICE_MemBitmap elsewhere(400, 40, 0);
  RECT r{0, 0, 400, 40};
  cached.DrawText(&elsewhere, many.c_str(), -1, &r, LICE_DT_NEEDALPHA);
  LICE_Clear(&bm, 0);
  draw("\xC3\xA9", {0, 0, 60, 60}, 0);
  EXPECT_EQ(LICE_BitmapCmp(&first, &bm), 0);
}

TEST(CachedFontLifetime, TheLastFontReleasesTheScratchBitmaps) {
  {
    LICE_CachedFont font;
    font.SetFromHFont(CreateFont(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                      LICE_FONT_FLAG_OWNS_HFONT);
    EXPECT_TRUE(LICE_CachedFont::ScratchBitmapsExist());
  }
  EXPECT_EQ(LICE_CachedFont::LiveFontCount(), 0);
  EXPECT_FALSE(LICE_CachedFont::ScratchBitmapsExist());
}

} // namespace
