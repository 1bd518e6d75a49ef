#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "swell/detail/font_backend.h"
#include "swell/detail/gdi_records.h"
#include "swell/swell.h"
#include "swell_test_util.h"

namespace {

HFONT MakeFont(int height, int width, const char* face, int weight = 400, char italic = 0,
               char quality = 0) {
  return CreateFont(height, width, 0, 0, weight, italic, 0, 0, 0, 0, 0, quality, 0, face);
}

int PixelSize(HFONT font) {
  return swell_font::GetPixelSize(SWELL_FaceOf(font));
}
std::string Family(HFONT font) {
  return swell_font::GetFamilyName(SWELL_FaceOf(font));
}
std::string Style(HFONT font) {
  return swell_font::GetStyleName(SWELL_FaceOf(font));
}

} // namespace

TEST(CreateFont, SizeComesFromHeightOrWidthWithinLimits) {
  const struct {
    int height, width, expected;
  } cases[] = {{-12, 0, 12}, {12, 0, 12}, {0, 0, 10},      {0, -20, 20},  {10000, 0, 10},
               {1, 0, 10},   {2, 0, 2},   {8192, 0, 8192}, {8193, 0, 10}, {INT_MIN, 0, 10}};
  for (const auto& c : cases) {
    HFONT f = MakeFont(c.height, c.width, "DejaVu Sans");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(PixelSize(f), c.expected) << c.height << " " << c.width;
    DeleteObject(f);
  }
}

TEST(CreateFont, ComposedNamesPickTheStyledFaceOfTheSubstituteFamily) {
  // Tahoma is not installed: its substitute family must still come bold.
  EXPECT_NE(SWELL_LookupFontName("Tahoma Bold").find("DejaVuSans-Bold.ttf"), std::string::npos);
  HFONT bold = MakeFont(12, 0, "Tahoma", 700);
  EXPECT_EQ(Family(bold), "DejaVu Sans");
  EXPECT_EQ(Style(bold), "Bold");
  HFONT boldItalic = MakeFont(12, 0, "Tahoma", 700, 1);
  EXPECT_EQ(Style(boldItalic), "Bold Oblique");
  HFONT plain = MakeFont(12, 0, "Tahoma", 699);
  EXPECT_EQ(Style(plain), "Book");
  HFONT serifItalic = MakeFont(12, 0, "DejaVu Serif", 400, 1);
  EXPECT_EQ(Family(serifItalic), "DejaVu Serif");
  EXPECT_EQ(Style(serifItalic), "Italic");
  HFONT named = MakeFont(12, 0, "DejaVu Sans Mono Bold");
  EXPECT_EQ(Family(named), "DejaVu Sans Mono");
  EXPECT_EQ(Style(named), "Bold");
  for (HFONT f : {bold, boldItalic, plain, serifItalic, named}) DeleteObject(f);
}

TEST(CreateFont, EmptyAndOverlongFaceNamesStillGiveAFont) {
  HFONT empty = MakeFont(12, 0, "");
  HFONT none = MakeFont(12, 0, nullptr);
  std::string longName(5000, 'x');
  HFONT overlong = MakeFont(12, 0, longName.c_str());
  for (HFONT f : {empty, none, overlong}) {
    ASSERT_NE(SWELL_FaceOf(f), nullptr);
    EXPECT_EQ(PixelSize(f), 12);
    DeleteObject(f);
  }
}

TEST(CreateFont, IndirectTakesTheRecordFieldsAndAnUnterminatedName) {
  LOGFONT lf = {};
  lf.lfHeight = -15;
  lf.lfWeight = 700;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  memset(lf.lfFaceName, 'Q', sizeof(lf.lfFaceName));
  HFONT f = CreateFontIndirect(&lf);
  EXPECT_EQ(PixelSize(f), 15);
  EXPECT_EQ(Style(f), "Bold");
  EXPECT_EQ(f->mFontAntialias, 3);
  DeleteObject(f);
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

TEST(GetTextMetrics, WithoutAFontReportsTheTenPixelLabelFont) {
  TestCanvas c(4, 4);
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(c.dc, &tm));
  HFONT ten = MakeFont(10, 0, "sans-serif");
  SelectObject(c.dc, ten);
  TEXTMETRIC expected;
  ASSERT_TRUE(GetTextMetrics(c.dc, &expected));
  EXPECT_EQ(tm.tmHeight, expected.tmHeight);
  EXPECT_EQ(tm.tmAscent, expected.tmAscent);
  EXPECT_EQ(tm.tmDescent, expected.tmDescent);
  SelectObject(c.dc, SWELL_TOKEN_FONT);
  DeleteObject(ten);
}

TEST(GetTextMetrics, FollowTheSelectedFontSize) {
  TestCanvas c(4, 4);
  HFONT f12 = MakeFont(-12, 0, "DejaVu Sans");
  HFONT f24 = MakeFont(-24, 0, "DejaVu Sans");
  TEXTMETRIC a, b;
  SelectObject(c.dc, f12);
  GetTextMetrics(c.dc, &a);
  SelectObject(c.dc, f24);
  GetTextMetrics(c.dc, &b);
  // DejaVu Sans: ascent 0.93 em, descent 0.24 em, no line gap.
  EXPECT_NEAR(a.tmAscent, 11, 1);
  EXPECT_NEAR(a.tmDescent, 3, 1);
  EXPECT_NEAR(b.tmAscent, 22, 1);
  EXPECT_NEAR(b.tmDescent, 6, 1);
  const int s = a.tmAscent + a.tmDescent + a.tmInternalLeading;
  EXPECT_EQ(a.tmHeight, s + 1);
  EXPECT_EQ(a.tmAveCharWidth, s * 2 / 3);
  DeleteObject(f12);
  DeleteObject(f24);
}

TEST(GetTextMetrics, InvalidContextsGetTheDefaults) {
  TEXTMETRIC tm;
  EXPECT_FALSE(GetTextMetrics(nullptr, &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmAscent, 12);
  EXPECT_EQ(tm.tmDescent, 4);
  EXPECT_EQ(tm.tmInternalLeading, 3);
  EXPECT_EQ(tm.tmAveCharWidth, 10);
  EXPECT_FALSE(GetTextMetrics(nullptr, nullptr));
}

TEST(FontNameCache, ConcurrentCreationGivesConsistentFaces) {
  const char* names[] = {"Tahoma", "Arial", "DejaVu Serif", "DejaVu Sans Mono", "Verdana"};
  std::vector<std::string> expected;
  for (const char* n : names) {
    HFONT f = MakeFont(11, 0, n, 700);
    expected.push_back(Family(f) + "/" + Style(f));
    DeleteObject(f);
  }
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 40; ++i) {
        const int k = (i + t) % 5;
        // Fresh composed names as well as cached ones.
        std::string fresh = "Missing Family " + std::to_string(t * 100 + i);
        HFONT extra = MakeFont(9 + i % 7, 0, fresh.c_str(), 400, static_cast<char>(i & 1));
        HFONT f = MakeFont(11, 0, names[k], 700);
        if (Family(f) + "/" + Style(f) != expected[static_cast<size_t>(k)] || !SWELL_FaceOf(extra))
          ++mismatches[static_cast<size_t>(t)];
        DeleteObject(f);
        DeleteObject(extra);
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int m : mismatches) EXPECT_EQ(m, 0);
}
