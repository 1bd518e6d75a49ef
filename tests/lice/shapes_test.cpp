#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "lice/lice.h"
#include "lice/lice_lines.h"
#include "shape_test_bitmaps.h"

namespace {

constexpr LICE_Pixel32 kWhite = LICE_RGBA(255, 255, 255, 255);
constexpr LICE_Pixel32 kTen = LICE_RGBA(10, 10, 10, 10);

// Drawn in add mode with 10s, a pixel hit twice shows 20.
void expectEachPixelOnce(LICE_IBitmap* bm) {
  for (const auto& p : SetPixels(bm)) {
    ASSERT_EQ(LICE_GETR(LICE_GetPixel(bm, p.first, p.second)), 10) << p.first << "," << p.second;
  }
}

PixelSet around(const PixelSet& set, int cx, int cy) {
  PixelSet out;
  for (const auto& p : set) out.insert({p.first - cx, p.second - cy});
  return out;
}

// The eight mirror images of a set centred on the origin.
bool eightFoldSymmetric(const PixelSet& s) {
  for (const auto& p : s) {
    const int x = p.first, y = p.second;
    for (auto q : {std::pair{-x, y}, {x, -y}, {y, x}, {-y, -x}}) {
      if (!s.count(q)) return false;
    }
  }
  return true;
}

TEST(CircleSmallStamps, RadiusTwoStampsTheDiamond) {
  LICE_MemBitmap bm(20, 20, 0);
  LICE_Clear(&bm, 0);
  LICE_Circle(&bm, 10, 10, 2, kWhite);
  EXPECT_EQ(SetPixels(&bm),
            (PixelSet{{10, 8}, {9, 9}, {11, 9}, {8, 10}, {12, 10}, {9, 11}, {11, 11}, {10, 12}}));
  LICE_Clear(&bm, 0);
  LICE_Circle(&bm, 10, 10, 2.01f, kWhite); // computed: the axis points and their neighbours
  EXPECT_TRUE(SetPixels(&bm).count({11, 12}));
  EXPECT_FALSE(SetPixels(&bm).count({11, 11}));
}

TEST(CircleSmallStamps, EveryStampIsSymmetric) {
  for (float r : {1.5f, 2.0f, 2.5f, 3.0f, 3.5f, 4.0f}) {
    for (bool aa : {false, true}) {
      LICE_MemBitmap bm(12, 12, 0);
      LICE_Clear(&bm, 0);
      LICE_Circle(&bm, 1 + r, 1 + r, r, kWhite, 1.0f, 0, aa);
      const int n = int(2 * r + 1);
      for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
          const LICE_Pixel32 p = LICE_GetPixel(&bm, 1 + x, 1 + y);
          ASSERT_EQ(p, LICE_GetPixel(&bm, 1 + n - 1 - x, 1 + y)) << r << aa;
          ASSERT_EQ(p, LICE_GetPixel(&bm, 1 + x, 1 + n - 1 - y)) << r << aa;
        }
      }
      EXPECT_EQ(LICE_GetPixel(&bm, 1 + n / 2, 1), kWhite) << r; // top of the ring is full
    }
  }
}

TEST(CircleMidpoint, OutlinesAreSymmetricRingsDrawnOnce) {
  for (float r : {5.0f, 10.0f, 17.4f}) {
    LICE_MemBitmap bm(50, 50, 0);
    LICE_Clear(&bm, 0);
    LICE_Circle(&bm, 25, 25, r, kTen, 1.0f, LICE_MODE_ADD);
    expectEachPixelOnce(&bm);
    const PixelSet ring = around(SetPixels(&bm), 25, 25);
    EXPECT_TRUE(eightFoldSymmetric(ring)) << r;
    const int R = int(r + 0.5f);
    for (const auto& p : ring) {
      const double d = std::hypot(p.first, p.second);
      EXPECT_NEAR(d, R, 0.75) << p.first << "," << p.second;
    }
    EXPECT_TRUE(ring.count({0, -R}) && ring.count({R, 0}));
  }
}

TEST(CircleMidpoint, FillsCoverTheDiscOnce) {
  LICE_MemBitmap bm(40, 40, 0);
  LICE_Clear(&bm, 0);
  LICE_FillCircle(&bm, 20, 20, 9, kTen, 1.0f, LICE_MODE_ADD);
  expectEachPixelOnce(&bm);
  const PixelSet disc = around(SetPixels(&bm), 20, 20);
  EXPECT_TRUE(eightFoldSymmetric(disc));
  EXPECT_NEAR(double(disc.size()), M_PI * 81, 40);
  for (int x = -9; x <= 9; ++x) EXPECT_TRUE(disc.count({x, 0})); // the whole diameter
}

TEST(CircleAntiAliased, FillIsFullInsideAndFadesWithinOnePixel) {
  LICE_MemBitmap bm(40, 40, 0);
  LICE_Clear(&bm, 0);
  LICE_FillCircle(&bm, 20, 20, 10.5f, kWhite, 1.0f, 0, true);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const double d = std::hypot(x - 20, y - 20);
      const int v = LICE_GETR(LICE_GetPixel(&bm, x, y));
      if (d <= 10.5) {
        ASSERT_EQ(v, 255) << x << "," << y;
      }
      if (d >= 11.5) {
        ASSERT_EQ(v, 0) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 31, 20)), 128); // half of the 11th pixel
}

TEST(CircleAntiAliased, OutlineWeightsSplitAcrossTheRadius) {
  LICE_MemBitmap bm(40, 40, 0);
  LICE_Clear(&bm, 0);
  LICE_Circle(&bm, 20, 20, 10.25f, kWhite, 1.0f, LICE_MODE_ADD, true);
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 30, 20)), 192 * 255 / 256);
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(&bm, 31, 20)), 64 * 255 / 256);
  EXPECT_TRUE(eightFoldSymmetric(around(SetPixels(&bm), 20, 20)));
}

TEST(CircleEdges, CirclesNearAndBeyondTheEdgesStayInside) {
  GuardedBitmap bm(16, 16);
  for (bool aa : {false, true}) {
    LICE_Circle(&bm.bitmap, 0, 0, 7.3f, kWhite, 1.0f, 0, aa);
    LICE_FillCircle(&bm.bitmap, 15, 15, 6.6f, kWhite, 1.0f, 0, aa);
    LICE_Circle(&bm.bitmap, 15.5f, 0, 3, kWhite, 1.0f, 0, aa);
    LICE_Arc(&bm.bitmap, 8, 8, 9, 0.3f, 5.0f, kWhite, 1.0f, 0, aa);
    LICE_FillCircle(&bm.bitmap, 8, 8, 1e30f, kWhite, 1.0f, 0, aa); // refused, not hung
    LICE_Circle(&bm.bitmap, NAN, 8, 3, kWhite, 1.0f, 0, aa);
  }
  EXPECT_TRUE(bm.GuardsIntact());
}

TEST(Arcs, QuarterArcsStayInTheirQuarterAndMakeTheCircle) {
  LICE_MemBitmap whole(40, 40, 0), parts(40, 40, 0), quarter(40, 40, 0);
  LICE_Clear(&whole, 0), LICE_Clear(&parts, 0), LICE_Clear(&quarter, 0);
  LICE_Circle(&whole, 20, 20, 12, kWhite);
  const float q = float(M_PI / 2);
  for (int i = 0; i < 4; ++i) LICE_Arc(&parts, 20, 20, 12, i * q, (i + 1) * q, kWhite);
  EXPECT_EQ(SetPixels(&parts), SetPixels(&whole));
  LICE_Arc(&quarter, 20, 20, 12, 0, q, kWhite);
  for (const auto& p : SetPixels(&quarter)) {
    EXPECT_GE(p.first, 20);
    EXPECT_LE(p.second, 20);
  }
  EXPECT_TRUE(SetPixels(&quarter).count({20, 8}) && SetPixels(&quarter).count({32, 20}));
  LICE_MemBitmap full(40, 40, 0);
  LICE_Clear(&full, 0);
  LICE_Arc(&full, 20, 20, 12, -1.0f, float(2 * M_PI), kWhite);
  EXPECT_EQ(SetPixels(&full), SetPixels(&whole));
}

TEST(RoundRects, SmallRadiiDrawPlainRectangles) {
  LICE_MemBitmap a(20, 20, 0), b(20, 20, 0);
  LICE_Clear(&a, 0), LICE_Clear(&b, 0);
  LICE_RoundRect(&a, 2, 3, 10, 8, 1, kWhite);
  LICE_DrawRect(&b, 2, 3, 10, 8, kWhite);
  EXPECT_EQ(LICE_BitmapCmp(&a, &b), 0);
}

TEST(RoundRects, CornersAreCutAndEdgesStraight) {
  LICE_MemBitmap bm(30, 30, 0);
  LICE_Clear(&bm, 0);
  LICE_RoundRect(&bm, 2, 2, 20, 16, 5, kWhite);
  const PixelSet s = SetPixels(&bm);
  EXPECT_FALSE(s.count({2, 2}) || s.count({22, 2}) || s.count({2, 18}) || s.count({22, 18}));
  for (int x = 7; x <= 17; ++x) EXPECT_TRUE(s.count({x, 2}) && s.count({x, 18})) << x;
  for (int y = 7; y <= 13; ++y) EXPECT_TRUE(s.count({2, y}) && s.count({22, y})) << y;
  EXPECT_TRUE(s.count({3, 4}) || s.count({4, 3})); // the corner arc
}

TEST(Trapezoids, RowsIncludeBothEnds) {
  LICE_MemBitmap bm(20, 10, 0);
  LICE_Clear(&bm, 0);
  LICE_FillTrapezoid(&bm, 2, 5, 1, 0, 9, 5, kWhite);
  for (int y = 1; y <= 5; ++y) {
    const int left = 2 - (y - 1) / 2, right = 5 + (y - 1);
    EXPECT_EQ(LICE_GetPixel(&bm, left, y), kWhite) << y;
    EXPECT_EQ(LICE_GetPixel(&bm, right, y), kWhite) << y;
    EXPECT_EQ(LICE_GetPixel(&bm, right + 1, y), 0u) << y;
  }
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 5), kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 9, 5), kWhite);
}

TEST(Trapezoids, ASingleRowFillsWithoutDividing) {
  LICE_MemBitmap bm(20, 4, 0);
  LICE_Clear(&bm, 0);
  LICE_FillTrapezoid(&bm, 3, 7, 2, 3, 7, 2, kWhite);
  PixelSet expected;
  for (int x = 3; x <= 7; ++x) expected.insert({x, 2});
  EXPECT_EQ(SetPixels(&bm), expected);
  GuardedBitmap guarded(8, 8);
  LICE_FillTrapezoid(&guarded.bitmap, -1000000, 1000000, -5, INT_MIN, INT_MAX, 1000000, kWhite);
  EXPECT_TRUE(guarded.GuardsIntact());
  EXPECT_EQ(SetPixels(&guarded.bitmap).size(), 64u);
}

TEST(Polygons, ThreePointsOnOneRowFillThatRow) {
  LICE_MemBitmap bm(20, 6, 0);
  LICE_Clear(&bm, 0);
  LICE_FillTriangle(&bm, 9, 3, 2, 3, 14, 3, kWhite);
  PixelSet expected;
  for (int x = 2; x <= 14; ++x) expected.insert({x, 3});
  EXPECT_EQ(SetPixels(&bm), expected);
}

TEST(Polygons, TrianglesFillExactRows) {
  LICE_MemBitmap bm(10, 10, 0);
  LICE_Clear(&bm, 0);
  LICE_FillTriangle(&bm, 0, 4, 4, 0, 0, 0, kWhite);
  PixelSet expected;
  for (int y = 0; y <= 4; ++y) {
    for (int x = 0; x <= 4 - y; ++x) expected.insert({x, y});
  }
  EXPECT_EQ(SetPixels(&bm), expected);
}

// Rows of a polygon from its bands: x from..to for each row starting at top.
PixelSet rowsFrom(int top, std::vector<std::pair<int, int>> rows) {
  PixelSet set;
  for (size_t i = 0; i < rows.size(); ++i) {
    for (int x = rows[i].first; x <= rows[i].second; ++x) set.insert({x, top + int(i)});
  }
  return set;
}

TEST(Polygons, BandsBetweenVerticesAreTrapezoids) {
  // Sorted (2,0) (9,3) (0,5) (6,8): left chain (2,0) (0,5) (6,8), right chain
  // (2,0) (9,3) (6,8). Bands: rows 0..3 with left x 2 -> (int)0.8 and right
  // 2 -> 9; rows 4..5 with left (int)0.4 -> 0 and right (int)8.4 -> (int)7.8;
  // rows 6..8 with left 2 -> 6 and right (int)7.2 -> 6. Each band is a
  // trapezoid, whose edges step in 16.16 from the half pixel.
  const int xs[] = {2, 9, 6, 0}, ys[] = {0, 3, 8, 5};
  LICE_MemBitmap bm(12, 10, 0);
  LICE_Clear(&bm, 0);
  LICE_FillConvexPolygon(&bm, xs, ys, 4, kTen, 1.0f, LICE_MODE_ADD);
  EXPECT_EQ(SetPixels(&bm),
            rowsFrom(0, {{2, 2}, {1, 4}, {1, 7}, {0, 9}, {0, 8}, {0, 7}, {2, 7}, {4, 7}, {6, 6}}));
  expectEachPixelOnce(&bm);
}

TEST(Polygons, FlatTopsAndBottomsNeedNoSlope) {
  // The right chain starts with the edge (2,1)-(8,1) and the left one ends
  // with (2,4)-(8,4): horizontal edges give their outer ends.
  const int xs[] = {2, 8, 8, 2}, ys[] = {1, 1, 4, 4};
  LICE_MemBitmap bm(12, 6, 0);
  LICE_Clear(&bm, 0);
  LICE_FillConvexPolygon(&bm, xs, ys, 4, kTen, 1.0f, LICE_MODE_ADD);
  EXPECT_EQ(SetPixels(&bm), rowsFrom(1, {{2, 8}, {2, 8}, {2, 8}, {2, 8}}));
  expectEachPixelOnce(&bm);
  GuardedBitmap guarded(8, 8);
  const int far[] = {INT_MIN, INT_MAX, INT_MAX, INT_MIN}, farY[] = {-5, -5, 3, 3};
  LICE_FillConvexPolygon(&guarded.bitmap, far, farY, 4, kWhite);
  EXPECT_TRUE(guarded.GuardsIntact());
  EXPECT_EQ(SetPixels(&guarded.bitmap).size(), 32u);
}

TEST(Polygons, FlippedBitmapsCountRowsFromTheLogicalTop) {
  FlippedTestBitmap bm(6, 4);
  LICE_FillTriangle(&bm, 0, 0, 5, 0, 0, 1, kWhite);
  EXPECT_EQ(bm.pixels[size_t(3 * 6 + 5)], kWhite); // logical row 0 is stored last
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 1), kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 2), 0u);
}

TEST(Polygons, PointOrderDoesNotMatterAndRowsFillOnce) {
  const int xs[] = {10, 16, 16, 10, 4, 4}, ys[] = {2, 6, 12, 16, 12, 6};
  const int xr[] = {4, 16, 10, 4, 10, 16}, yr[] = {6, 12, 2, 12, 16, 6};
  LICE_MemBitmap a(20, 20, 0), b(20, 20, 0);
  LICE_Clear(&a, 0), LICE_Clear(&b, 0);
  LICE_FillConvexPolygon(&a, xs, ys, 6, kTen, 1.0f, LICE_MODE_ADD);
  LICE_FillConvexPolygon(&b, xr, yr, 6, kTen, 1.0f, LICE_MODE_ADD);
  EXPECT_EQ(LICE_BitmapCmp(&a, &b), 0);
  expectEachPixelOnce(&a);
  EXPECT_TRUE(SetPixels(&a).count({4, 9}) && SetPixels(&a).count({16, 9}));
  EXPECT_FALSE(SetPixels(&a).count({4, 3}));
}

TEST(Polygons, ManyPointsAndDegenerateInput) {
  std::vector<int> xs, ys;
  for (int i = 0; i < 700; ++i) {
    xs.push_back(int(50 + 40 * std::cos(i * 2 * M_PI / 700)));
    ys.push_back(int(50 + 40 * std::sin(i * 2 * M_PI / 700)));
  }
  LICE_MemBitmap bm(100, 100, 0);
  LICE_Clear(&bm, 0);
  LICE_FillConvexPolygon(&bm, xs.data(), ys.data(), 700, kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 50, 50), kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 5, 5), 0u);
  LICE_Clear(&bm, 0);
  LICE_FillConvexPolygon(&bm, xs.data(), ys.data(), 2, kWhite);
  LICE_FillConvexPolygon(&bm, nullptr, ys.data(), 5, kWhite);
  EXPECT_TRUE(SetPixels(&bm).empty());
}

TEST(Polygons, VerticesAtTheIntLimitsSplitIntoTheRightChains) {
  // The middle vertex lies left of the top-to-bottom line; the side test's
  // products exceed 64 bits at these corners.
  const int xs[3] = {0, INT_MIN, INT_MAX}, ys[3] = {INT_MIN, INT_MAX, INT_MAX};
  LICE_MemBitmap bm(8, 8, 0);
  LICE_Clear(&bm, 0);
  LICE_FillConvexPolygon(&bm, xs, ys, 3, kWhite);
  EXPECT_EQ(SetPixels(&bm).size(), 64u); // the bitmap lies well inside
}

TEST(Beziers, StraightCurvesFollowTheirLine) {
  LICE_MemBitmap curve(30, 10, 0), line(30, 10, 0);
  LICE_Clear(&curve, 0), LICE_Clear(&line, 0);
  LICE_DrawCBezier(&curve, 2, 5, 8, 5, 14, 5, 20, 5, kWhite);
  LICE_Line(&line, 2, 5, 20, 5, kWhite);
  EXPECT_EQ(LICE_BitmapCmp(&curve, &line), 0);
  LICE_Clear(&curve, 0);
  LICE_DrawQBezier(&curve, 2, 8, 10, -8, 18, 8, kWhite, 1.0f, 0, true);
  EXPECT_NE(LICE_GetPixel(&curve, 10, 0), 0u); // the apex
}

TEST(Beziers, FillsReachTheBaseLineOnce) {
  LICE_MemBitmap bm(30, 20, 0);
  LICE_Clear(&bm, 0);
  LICE_FillCBezier(&bm, 2, 5, 10, 5, 18, 5, 26, 5, 15, kTen, 1.0f, LICE_MODE_ADD);
  expectEachPixelOnce(&bm);
  EXPECT_NE(LICE_GetPixel(&bm, 10, 10), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, 10, 3), 0u);
  LICE_Clear(&bm, 0);
  LICE_FillCBezierX(&bm, 5, 2, 5, 6, 5, 10, 5, 18, 20, kTen, 1.0f, LICE_MODE_ADD);
  expectEachPixelOnce(&bm);
  EXPECT_NE(LICE_GetPixel(&bm, 12, 9), 0u);
}

} // namespace
