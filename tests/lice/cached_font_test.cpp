#include <climits>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
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

TEST_F(CachedFontTest, RectanglesAtTheIntLimitsKeepTheirPlacement) {
  RECT measure{INT_MAX - 3, INT_MIN, 0, 0};
  cached.DrawText(&bm, "Hg", -1, &measure, DT_CALCRECT);
  EXPECT_EQ(measure.right, INT_MAX); // the sum is held at the limit
  RECT size{0, 0, 0, 0};
  cached.DrawText(&bm, "Hg", -1, &size, DT_CALCRECT);
  // Centred on the whole int range: the text lands at -width/2 - 1 as it
  // does for a rectangle of that left edge, half of it inside the bitmap.
  draw("Hg", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, DT_CENTER | DT_VCENTER);
  LICE_MemBitmap expected(120, 60, 0);
  LICE_Clear(&expected, 0);
  const int64_t left = INT_MIN + (int64_t(UINT32_MAX) - size.right) / 2;
  const int64_t top = INT_MIN + (int64_t(UINT32_MAX) - size.bottom) / 2;
  RECT plain{int(left), int(top), 1000, 1000};
  cached.DrawText(&expected, "Hg", -1, &plain, LICE_DT_NEEDALPHA);
  EXPECT_EQ(LICE_BitmapCmp(&bm, &expected), 0);
  LICE_MemBitmap blank(120, 60, 0);
  LICE_Clear(&blank, 0);
  EXPECT_NE(LICE_BitmapCmp(&bm, &blank), 0);
  // A pen walking past INT_MAX draws nothing and stops cleanly.
  LICE_Clear(&bm, 0);
  draw("WWWW\nW", {INT_MAX - 20, 0, INT_MAX, 60}, DT_NOCLIP);
  EXPECT_EQ(LICE_BitmapCmp(&bm, &blank), 0);
  // Lines of 256 pixels and more draw natively: the same limits hold there.
  LICE_CachedFont large;
  large.SetFromHFont(CreateFont(300, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                     LICE_FONT_FLAG_OWNS_HFONT);
  ASSERT_GE(large.GetLineHeight(), 256);
  RECT far{INT_MAX - 3, INT_MAX - 3, 0, 0};
  large.DrawText(&bm, "H", -1, &far, DT_CALCRECT);
  EXPECT_EQ(far.right, INT_MAX);
  EXPECT_EQ(far.bottom, INT_MAX);
  RECT nearEnd{INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX};
  large.DrawText(&bm, "H", -1, &nearEnd, DT_NOCLIP);
  EXPECT_EQ(LICE_BitmapCmp(&bm, &blank), 0);
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

// Native text reaches a system bitmap through its own context and a memory
// bitmap through a scratch copy; both must place it on the same pixel, for
// every parity of the spare width and for text wider than its rectangle.
TEST(CachedFontPlacement, AlignedNativeTextLandsAlikeOnSystemAndMemoryBitmaps) {
  LICE_CachedFont native;
  native.SetFromHFont(CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                      LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE);
  native.SetTextColor(LICE_RGBA(255, 255, 255, 255));
  RECT size{0, 0, 0, 0};
  native.DrawText(nullptr, "0.00 dB", -1, &size, DT_CALCRECT);
  ASSERT_GT(size.right, 20);
  LICE_SysBitmap sys(140, 50);
  LICE_MemBitmap mem(140, 50, 0);
  ASSERT_NE(sys.getDC(), nullptr);
  for (const UINT flags :
       {DT_CENTER, DT_RIGHT, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_BOTTOM, DT_CENTER | DT_NOCLIP})
    for (int spare = -5; spare <= 8; ++spare) {
      RECT onSys{7, 3, 7 + size.right + spare, 3 + size.bottom + spare};
      RECT onMem = onSys;
      LICE_Clear(&sys, 0), LICE_Clear(&mem, 0);
      native.DrawText(&sys, "0.00 dB", -1, &onSys, flags);
      native.DrawText(&mem, "0.00 dB", -1, &onMem, flags);
      ASSERT_FALSE(SetPixels(&mem).empty());
      EXPECT_EQ(LICE_BitmapCmp(&sys, &mem), 0) << "flags " << flags << " spare width " << spare;
    }
}

// Pixel values by position, for comparing turned glyphs.
using PixelMap = std::map<std::pair<int, int>, LICE_Pixel32>;

PixelMap pixelsOf(LICE_IBitmap* bm) {
  PixelMap map;
  for (const auto& p : SetPixels(bm)) map[p] = LICE_GetPixel(bm, p.first, p.second);
  return map;
}

class CachedFontStyles : public ::testing::Test {
protected:
  // A fresh cached font of its own over a new GDI font, with these flags.
  std::unique_ptr<LICE_CachedFont> font(int flags) {
    auto f = std::make_unique<LICE_CachedFont>();
    f->SetFromHFont(CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                    flags | LICE_FONT_FLAG_OWNS_HFONT);
    f->SetTextColor(LICE_RGBA(255, 255, 255, 255));
    return f;
  }
  int draw(LICE_CachedFont* f, LICE_IBitmap* bm, const char* text, RECT r, UINT flags = 0) {
    return f->DrawText(bm, text, -1, &r, flags | LICE_DT_NEEDALPHA);
  }
};

TEST_F(CachedFontStyles, VerticalGlyphsAreTurnedAQuarter) {
  auto across = font(0);
  LICE_MemBitmap flat(60, 60, 0);
  LICE_Clear(&flat, 0);
  draw(across.get(), &flat, "L", {0, 0, 60, 60});
  RECT box{0, 0, 0, 0};
  const int h = across->DrawText(nullptr, "L", -1, &box, DT_CALCRECT | LICE_DT_NEEDALPHA);
  const PixelMap upright = pixelsOf(&flat);
  ASSERT_FALSE(upright.empty());
  ASSERT_GT(h, 0);

  // Running down: the glyph's top row becomes its rightmost column.
  auto down = font(LICE_FONT_FLAG_VERTICAL);
  LICE_MemBitmap turned(60, 60, 0);
  LICE_Clear(&turned, 0);
  draw(down.get(), &turned, "L", {0, 0, 60, 60});
  PixelMap expected;
  for (const auto& [p, v] : upright) expected[{h - 1 - p.second, p.first}] = v;
  EXPECT_EQ(pixelsOf(&turned), expected);

  // Running up from the bottom: the top row becomes the leftmost column and
  // the glyph's left edge sits on the rectangle's bottom.
  auto up = font(LICE_FONT_FLAG_VERTICAL | LICE_FONT_FLAG_VERTICAL_BOTTOMUP);
  LICE_Clear(&turned, 0);
  draw(up.get(), &turned, "L", {0, 0, 60, 50}, DT_BOTTOM);
  expected.clear();
  for (const auto& [p, v] : upright) expected[{p.second, 50 - 1 - p.first}] = v;
  EXPECT_EQ(pixelsOf(&turned), expected);
}

TEST_F(CachedFontStyles, VerticalTextAdvancesDownAndBreaksToTheRight) {
  auto down = font(LICE_FONT_FLAG_VERTICAL);
  RECT one{0, 0, 0, 0}, two{0, 0, 0, 0};
  const int wide = down->DrawText(nullptr, "L", -1, &one, DT_CALCRECT | LICE_DT_NEEDALPHA);
  down->DrawText(nullptr, "LL", -1, &two, DT_CALCRECT | LICE_DT_NEEDALPHA);
  EXPECT_EQ(wide, one.right); // measuring returns the width of vertical text
  EXPECT_EQ(two.right, one.right);
  EXPECT_GT(two.bottom, one.bottom);
  const int step = two.bottom - one.bottom; // one advance

  LICE_MemBitmap a(80, 80, 0), b(80, 80, 0);
  LICE_Clear(&a, 0), LICE_Clear(&b, 0);
  draw(down.get(), &a, "L", {0, 0, 80, 80});
  draw(down.get(), &a, "L", {0, step, 80, 80});
  draw(down.get(), &b, "LL", {0, 0, 80, 80});
  EXPECT_EQ(LICE_BitmapCmp(&a, &b), 0);
  LICE_Clear(&a, 0), LICE_Clear(&b, 0);
  draw(down.get(), &a, "L", {0, 0, 80, 80});
  draw(down.get(), &a, "L", {down->GetLineHeight(), 0, 80, 80});
  draw(down.get(), &b, "L\nL", {0, 0, 80, 80});
  EXPECT_EQ(LICE_BitmapCmp(&a, &b), 0);
}

TEST_F(CachedFontStyles, MonoGlyphsMixEveryCoveredPixelAlike) {
  auto mono = font(LICE_FONT_FLAG_FX_MONO);
  const LICE_Pixel32 ink = LICE_RGBA(200, 100, 50, 10);
  mono->SetTextColor(ink);
  LICE_MemBitmap bm(60, 30, 0);
  LICE_Clear(&bm, 0);
  draw(mono.get(), &bm, "W", {0, 0, 60, 30});
  ASSERT_FALSE(SetPixels(&bm).empty());
  for (const auto& [p, v] : pixelsOf(&bm)) ASSERT_EQ(v, ink); // stored as it is
  // Half strength: colour + (dest - colour) * 128 / 256 per channel, the
  // alpha channel moving toward 255 instead of the colour's alpha.
  mono->SetCombineMode(LICE_MODE_COPY, 0.5f);
  LICE_Clear(&bm, 0);
  draw(mono.get(), &bm, "W", {0, 0, 60, 30});
  ASSERT_FALSE(SetPixels(&bm).empty());
  for (const auto& [p, v] : pixelsOf(&bm)) ASSERT_EQ(v, LICE_RGBA(100, 50, 25, 128));
}

TEST_F(CachedFontStyles, GlyphsMoveTheAlphaChannelTowardOpaque) {
  auto plain = font(0);
  plain->SetTextColor(LICE_RGBA(255, 255, 255, 0));
  LICE_MemBitmap bm(60, 30, 0);
  LICE_Clear(&bm, 0);
  draw(plain.get(), &bm, "W", {0, 0, 60, 30});
  bool full = false;
  for (const auto& [p, v] : pixelsOf(&bm)) {
    ASSERT_EQ(LICE_GETA(v), LICE_GETR(v)) << p.first << "," << p.second;
    full = full || v == LICE_RGBA(255, 255, 255, 255);
  }
  EXPECT_TRUE(full); // full coverage leaves nothing of the destination
}

TEST_F(CachedFontStyles, OutlinesUseTheEffectColourOnTheRim) {
  auto outlined = font(LICE_FONT_FLAG_FX_OUTLINE);
  const LICE_Pixel32 ink = LICE_RGBA(250, 0, 0, 255), rim = LICE_RGBA(0, 0, 250, 255);
  outlined->SetTextColor(ink);
  outlined->SetEffectColor(rim);
  LICE_MemBitmap bm(60, 30, 0);
  LICE_Clear(&bm, 0);
  draw(outlined.get(), &bm, "O", {0, 0, 60, 30});
  std::set<LICE_Pixel32> seen;
  for (const auto& [p, v] : pixelsOf(&bm)) seen.insert(v);
  EXPECT_EQ(seen, (std::set<LICE_Pixel32>{ink, rim}));
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
