#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "swell/swell.h"
#include "swell_test_util.h"

namespace {

// A 200 x 100 white canvas with black 16-pixel DejaVu Sans selected.
class DrawTextTest : public ::testing::Test {
protected:
  void SetUp() override {
    font = CreateFont(-16, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, ANTIALIASED_QUALITY, 0, "DejaVu Sans");
    SelectObject(canvas.dc, font);
  }
  void TearDown() override {
    SelectObject(canvas.dc, SWELL_TOKEN_FONT);
    DeleteObject(font);
  }
  RECT Measure(const char* text, int flags = 0, int count = -1) {
    RECT r = {0, 0, 0, 0};
    SWELL_DrawText(canvas.dc, text, count, &r, flags | DT_CALCRECT);
    return r;
  }
  std::vector<uint32_t> Render(const char* text, int flags = 0, int count = -1) {
    canvas.Fill(0xFFFFFF);
    RECT r = {20, 10, 180, 90};
    SWELL_DrawText(canvas.dc, text, count, &r, flags);
    return canvas.Snapshot();
  }
  TestCanvas canvas{200, 100};
  HFONT font = nullptr;
};

} // namespace

TEST_F(DrawTextTest, MeasureOnlySetsRightAndBottomAndDrawsNothing) {
  RECT r = {5, 7, 0, 0};
  const int h = SWELL_DrawText(canvas.dc, "Hello", -1, &r, DT_CALCRECT);
  TEXTMETRIC tm;
  GetTextMetrics(canvas.dc, &tm);
  // One line: floor(ascent + descent + leading + 1.5), plus one.
  EXPECT_NEAR(h, tm.tmHeight + 1, 1);
  EXPECT_EQ(r.bottom, 7 + h);
  EXPECT_GT(r.right - r.left, 30);
  EXPECT_LT(r.right - r.left, 50);
  EXPECT_FALSE(canvas.HasInk());
  EXPECT_LT(Measure("ab").right, Measure("abc").right);
}

TEST_F(DrawTextTest, LeftTopTextStartsAtTheRectangle) {
  Render("Hi");
  const RECT ink = canvas.InkBox();
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.left, 23);
  // The cap top sits between the rectangle top and the baseline.
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.top, 14);
  EXPECT_LE(ink.bottom, 10 + Measure("Hi").bottom);
}

TEST_F(DrawTextTest, AlignmentFlagsMoveTheTextByTheMeasuredBox) {
  const RECT m = Measure("Hi");
  const int w = m.right, h = m.bottom;
  Render("Hi");
  const RECT base = canvas.InkBox();
  const struct {
    int flags, dx, dy;
  } cases[] = {
      {DT_RIGHT, 180 - w - 20, 0},
      {DT_CENTER, (20 + 180 - w) / 2 - 20, 0},
      {DT_BOTTOM, 0, 90 - h - 10},
      {DT_VCENTER, 0, (10 + 90 - h) / 2 - 10},
      {DT_RIGHT | DT_BOTTOM, 180 - w - 20, 90 - h - 10},
  };
  for (const auto& c : cases) {
    Render("Hi", c.flags);
    const RECT ink = canvas.InkBox();
    EXPECT_EQ(ink.left, base.left + c.dx) << c.flags;
    EXPECT_EQ(ink.right, base.right + c.dx) << c.flags;
    EXPECT_EQ(ink.top, base.top + c.dy) << c.flags;
    EXPECT_EQ(ink.bottom, base.bottom + c.dy) << c.flags;
  }
}

TEST_F(DrawTextTest, TextIsClippedToTheRectangleUnlessNoClip) {
  RECT narrow = {20, 10, 40, 90};
  SWELL_DrawText(canvas.dc, "WWWWWW", -1, &narrow, 0);
  RECT ink = canvas.InkBox();
  EXPECT_EQ(ink.left, 20);
  EXPECT_EQ(ink.right, 40);
  canvas.Fill(0xFFFFFF);
  SWELL_DrawText(canvas.dc, "WWWWWW", -1, &narrow, DT_NOCLIP);
  ink = canvas.InkBox();
  EXPECT_GT(ink.right, 60);
  // The context's clip region still holds without clipping to the rectangle.
  canvas.Fill(0xFFFFFF);
  SWELL_PushClipRegion(canvas.dc);
  RECT region = {0, 0, 30, 100};
  SWELL_SetClipRegion(canvas.dc, &region);
  SWELL_DrawText(canvas.dc, "WWWWWW", -1, &narrow, DT_NOCLIP);
  SWELL_PopClipRegion(canvas.dc);
  EXPECT_EQ(canvas.InkBox().right, 30);
}

TEST_F(DrawTextTest, AmpersandEscapesTheNextByteUnlessNoPrefix) {
  EXPECT_EQ(Render("a&&b"), Render("a&b", DT_NOPREFIX));
  EXPECT_EQ(Render("&x"), Render("x"));
  EXPECT_NE(Render("&x", DT_NOPREFIX), Render("x"));
  EXPECT_EQ(Render("&"), Render(""));
  EXPECT_FALSE(canvas.HasInk());
}

TEST_F(DrawTextTest, ReadingStopsAtTheByteCountEvenAfterATrailingAmpersand) {
  EXPECT_EQ(Render("ab&cd", 0, 3), Render("ab"));
  EXPECT_EQ(Render("abcdef", 0, 3), Render("abc"));
  // Unterminated heap copies: the sanitizer catches any read past them.
  std::unique_ptr<char[]> amp(new char[3]);
  memcpy(amp.get(), "ab&", 3);
  EXPECT_EQ(Render(amp.get(), 0, 3), Render("ab"));
  std::unique_ptr<char[]> plain(new char[2]);
  memcpy(plain.get(), "xy", 2);
  EXPECT_EQ(Render(plain.get(), DT_NOPREFIX, 2), Render("xy"));
  RECT r = {0, 0, 0, 0};
  EXPECT_EQ(SWELL_DrawText(canvas.dc, amp.get(), 3, &r, DT_CALCRECT), Measure("ab").bottom);
}

TEST_F(DrawTextTest, CarriageReturnsAreDroppedAndLineFeedsBreakLines) {
  EXPECT_EQ(Render("a\rb"), Render("ab"));
  const RECT one = Measure("Hg");
  const RECT two = Measure("Hg\nHg");
  const int lineHeight = one.bottom - 1;
  EXPECT_EQ(two.bottom, 2 * lineHeight + 1);
  EXPECT_EQ(two.right, one.right);
  EXPECT_EQ(Measure("Hg\n").bottom, one.bottom);
  // Single-line: the line feed is a space.
  const RECT spaced = Measure("Hg\nHg", DT_SINGLELINE);
  EXPECT_EQ(spaced.bottom, one.bottom);
  EXPECT_EQ(spaced.right, Measure("Hg Hg").right);
  EXPECT_EQ(Render("Hg\nHg", DT_SINGLELINE), Render("Hg Hg"));

  Render("H\nH");
  const RECT ink = canvas.InkBox();
  EXPECT_GE(ink.bottom - ink.top, lineHeight + 8);
  // The second line repeats the first exactly one line lower.
  for (int y = 10; y < 10 + lineHeight; ++y)
    for (int x = 20; x < 40; ++x) ASSERT_EQ(canvas.At(x, y), canvas.At(x, y + lineHeight));
}

TEST_F(DrawTextTest, OpaqueBackgroundFillsTheMeasuredBox) {
  const RECT m = Measure("ii");
  SetBkMode(canvas.dc, OPAQUE);
  SetBkColor(canvas.dc, RGB(255, 0, 0));
  Render("ii");
  EXPECT_EQ(canvas.Colour(20, 10), 0xFF0000);
  EXPECT_EQ(canvas.Colour(20 + m.right - 1, 10 + m.bottom - 1), 0xFF0000);
  EXPECT_EQ(canvas.Colour(20 + m.right, 10), 0xFFFFFF);
  EXPECT_EQ(canvas.Colour(20, 10 + m.bottom), 0xFFFFFF);
  EXPECT_EQ(canvas.Colour(19, 10), 0xFFFFFF);
  SetBkMode(canvas.dc, TRANSPARENT);
  Render("ii");
  EXPECT_EQ(canvas.Colour(20, 10), 0xFFFFFF);
}

TEST_F(DrawTextTest, TextColourAndAntialiasSetting) {
  SetTextColor(canvas.dc, RGB(0, 0, 255));
  Render("Wg");
  int solid = 0, grey = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      const int c = canvas.Colour(x, y);
      if (c == 0x0000FF)
        ++solid;
      else if (c != 0xFFFFFF)
        ++grey;
      ASSERT_EQ(c & 0xFF, 0xFF); // blue is never reduced on white
    }
  }
  EXPECT_GT(solid, 10);
  EXPECT_GT(grey, 10);

  HFONT mono =
      CreateFont(-16, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, "DejaVu Sans");
  SelectObject(canvas.dc, mono);
  Render("Wg");
  solid = grey = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      const int c = canvas.Colour(x, y);
      if (c == 0x0000FF)
        ++solid;
      else if (c != 0xFFFFFF)
        ++grey;
    }
  }
  EXPECT_GT(solid, 20);
  EXPECT_EQ(grey, 0);
  SelectObject(canvas.dc, font);
  DeleteObject(mono);
}

TEST_F(DrawTextTest, GlyphsScaleWithTheFontSize) {
  Render("H");
  const RECT small = canvas.InkBox();
  HFONT big = CreateFont(-32, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
  SelectObject(canvas.dc, big);
  Render("H");
  const RECT large = canvas.InkBox();
  SelectObject(canvas.dc, font);
  DeleteObject(big);
  // DejaVu's cap height is 0.73 em.
  EXPECT_NEAR(small.bottom - small.top, 12, 1);
  EXPECT_NEAR(large.bottom - large.top, 23, 1);
}

TEST_F(DrawTextTest, RefusesEmptyMalformedAndMissingInput) {
  RECT r = {0, 0, 50, 50};
  EXPECT_EQ(SWELL_DrawText(canvas.dc, "", -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(canvas.dc, "abc", 0, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(canvas.dc, "\r\r", -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(canvas.dc, nullptr, -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(canvas.dc, "abc", -1, nullptr, 0), 0);
  EXPECT_EQ(SWELL_DrawText(nullptr, "abc", -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(canvas.dc, "a\xC3(b", -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(canvas.dc, "\xED\xA0\x80", -1, &r, 0), 0); // a surrogate
  EXPECT_FALSE(canvas.HasInk());
  EXPECT_GT(SWELL_DrawText(canvas.dc, "caf\xC3\xA9", -1, &r, 0), 0);
  EXPECT_TRUE(canvas.HasInk());
}

TEST_F(DrawTextTest, LongTextIsCutAtACharacterBoundary) {
  // 4094 ASCII bytes then a two-byte character straddling the 4095-byte limit.
  std::string text(4094, 'i');
  text += "\xC3\xA9tail";
  RECT r = {0, 0, 0, 0};
  EXPECT_EQ(SWELL_DrawText(canvas.dc, text.c_str(), -1, &r, DT_CALCRECT), Measure("i").bottom);
  RECT cut = {0, 0, 0, 0};
  SWELL_DrawText(canvas.dc, text.c_str(), 4094, &cut, DT_CALCRECT);
  EXPECT_EQ(r.right, cut.right);
}
