#include <gtest/gtest.h>

#include <climits>

#include "swell/swell.h"
#include "swell_test_util.h"

namespace {

int CountColour(const TestCanvas& c, int colour) {
  int n = 0;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) n += c.Colour(x, y) == colour;
  return n;
}

// A canvas with a red 1-pixel pen and a blue brush selected.
struct PenAndBrush {
  explicit PenAndBrush(TestCanvas& c, int penWidth = 1)
      : pen(CreatePen(PS_SOLID, penWidth, RGB(255, 0, 0))), brush(CreateSolidBrush(RGB(0, 0, 255))),
        canvas(c) {
    SelectObject(c.dc, pen);
    SelectObject(c.dc, brush);
  }
  ~PenAndBrush() {
    SelectObject(canvas.dc, SWELL_TOKEN_PEN);
    SelectObject(canvas.dc, SWELL_TOKEN_BRUSH);
    DeleteObject(pen);
    DeleteObject(brush);
  }
  HPEN pen;
  HBRUSH brush;
  TestCanvas& canvas;
};

} // namespace

TEST(FillRect, CoversExactlyTheHalfOpenRectangleClippedToTheContext) {
  TestCanvas c(10, 10);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  RECT r = {2, 3, 5, 7};
  SWELL_FillRect(c.dc, &r, green);
  EXPECT_EQ(c.InkBox().left, 2);
  EXPECT_EQ(c.InkBox().top, 3);
  EXPECT_EQ(c.InkBox().right, 5);
  EXPECT_EQ(c.InkBox().bottom, 7);
  EXPECT_EQ(CountColour(c, 0x00FF00), 12);
  RECT outside = {-100, -100, 1000, 1};
  SWELL_FillRect(c.dc, &outside, green);
  EXPECT_EQ(CountColour(c, 0x00FF00), 22);
  DeleteObject(green);
}

TEST(FillRect, BrushAlphaMixesWithThePixels) {
  TestCanvas c(2, 2, 0x000000);
  HBRUSH half = CreateSolidBrushAlpha(RGB(255, 255, 255), 0.5f);
  RECT r = {0, 0, 1, 1};
  SWELL_FillRect(c.dc, &r, half);
  EXPECT_EQ(c.Red(0, 0), 128);
  EXPECT_EQ(c.Red(1, 0), 0);
  DeleteObject(half);
}

TEST(Rectangle, FillsWithTheBrushAndOutlinesInsideWithThePen) {
  TestCanvas c(12, 12);
  PenAndBrush tools(c);
  Rectangle(c.dc, 2, 2, 8, 7);
  EXPECT_EQ(c.Colour(2, 2), 0xFF0000);
  EXPECT_EQ(c.Colour(7, 6), 0xFF0000);
  EXPECT_EQ(c.Colour(4, 6), 0xFF0000);
  EXPECT_EQ(c.Colour(3, 3), 0x0000FF);
  EXPECT_EQ(c.Colour(6, 5), 0x0000FF);
  EXPECT_EQ(c.Colour(8, 4), 0xFFFFFF);
  EXPECT_EQ(c.Colour(4, 7), 0xFFFFFF);
  EXPECT_EQ(CountColour(c, 0xFF0000), 2 * 6 + 2 * 3);
  EXPECT_EQ(CountColour(c, 0x0000FF), 4 * 3);
}

TEST(Ellipse, FillsTheInsideAndLeavesTheCorners) {
  TestCanvas c(40, 40);
  PenAndBrush tools(c);
  Ellipse(c.dc, 0, 0, 40, 40);
  EXPECT_EQ(c.Colour(20, 20), 0x0000FF);
  EXPECT_EQ(c.Colour(0, 20), 0xFF0000);
  EXPECT_EQ(c.Colour(20, 39), 0xFF0000);
  EXPECT_EQ(c.Colour(1, 1), 0xFFFFFF);
  EXPECT_EQ(c.Colour(38, 38), 0xFFFFFF);
  const int blue = CountColour(c, 0x0000FF);
  EXPECT_NEAR(blue, 3.14159 * 19 * 19, 60);
}

TEST(Lines, HorizontalAndVerticalLinesCoverTheirPixels) {
  TestCanvas c(12, 12);
  PenAndBrush tools(c);
  POINT old = {-1, -1};
  MoveToEx(c.dc, 1, 5, &old);
  EXPECT_EQ(old.x, 0);
  SWELL_LineTo(c.dc, 9, 5);
  EXPECT_EQ(c.InkBox().left, 1);
  EXPECT_EQ(c.InkBox().right, 9);
  EXPECT_EQ(c.InkBox().top, 5);
  EXPECT_EQ(c.InkBox().bottom, 6);
  SWELL_LineTo(c.dc, 9, 10); // continues from the pen position
  EXPECT_EQ(c.Colour(9, 7), 0xFF0000);
  EXPECT_EQ(c.Colour(9, 10), 0xFFFFFF);
  EXPECT_EQ(CountColour(c, 0xFF0000), 8 + 5);
}

TEST(Lines, WidePensAndPolylines) {
  TestCanvas c(20, 20);
  PenAndBrush tools(c, 3);
  const POINT points[] = {{2, 2}, {12, 2}, {2, 10}, {2, 18}};
  const DWORD counts[] = {2, 2};
  PolyPolyline(c.dc, points, counts, 2);
  // A 3-wide line from (2, 2) covers rows 2..4 (offset by half its width).
  for (int y = 2; y <= 4; ++y) EXPECT_EQ(c.Colour(6, y), 0xFF0000) << y;
  EXPECT_EQ(c.Colour(6, 5), 0xFFFFFF);
  EXPECT_EQ(c.Colour(6, 1), 0xFFFFFF);
  EXPECT_EQ(c.Colour(3, 14), 0xFF0000);
  EXPECT_EQ(c.Colour(6, 14), 0xFFFFFF);
}

TEST(Curves, BezierEndsAtItsLastPointAndMovesThePen) {
  TestCanvas c(30, 30);
  PenAndBrush tools(c);
  MoveToEx(c.dc, 2, 2, nullptr);
  const POINT bez[] = {{2, 20}, {20, 20}, {25, 2}};
  PolyBezierTo(c.dc, bez, 3);
  EXPECT_EQ(c.Colour(2, 2), 0xFF0000);
  EXPECT_EQ(c.Colour(20, 2), 0xFFFFFF);
  POINT pos;
  MoveToEx(c.dc, 0, 0, &pos);
  EXPECT_EQ(pos.x, 25);
  EXPECT_EQ(pos.y, 2);
  PolyBezierTo(c.dc, bez, 2); // fewer than three points draw nothing
  MoveToEx(c.dc, 0, 0, &pos);
  EXPECT_EQ(pos.x, 0);
}

TEST(Polygon, FillsByNonZeroWindingAndNeedsAPenOrBrush) {
  TestCanvas c(20, 20);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(c.dc, brush);
  const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
  SWELL_Polygon(c.dc, tri, 3);
  EXPECT_EQ(c.Colour(1, 1), 0x0000FF);
  EXPECT_EQ(c.Colour(8, 8), 0xFFFFFF);
  EXPECT_EQ(CountColour(c, 0x0000FF), 55 - 10);
  SWELL_Polygon(c.dc, tri, 1);
  SelectObject(c.dc, SWELL_TOKEN_BRUSH);
  c.Fill(0xFFFFFF);
  SWELL_Polygon(c.dc, tri, 3);
  EXPECT_FALSE(c.HasInk());
  RoundRect(c.dc, 0, 0, 20, 20, 9, 9);
  EXPECT_FALSE(c.HasInk());
  SelectObject(c.dc, brush);
  RoundRect(c.dc, 0, 0, 20, 20, 9, 9);
  EXPECT_EQ(c.Colour(0, 0), 0xFFFFFF);
  EXPECT_EQ(c.Colour(10, 0), 0x0000FF);
  EXPECT_EQ(c.Colour(0, 10), 0x0000FF);
  DeleteObject(brush);
}

TEST(ClipRegion, PushSetAndPopNest) {
  TestCanvas c(10, 10);
  HBRUSH black = CreateSolidBrush(0);
  RECT all = {0, 0, 10, 10};
  SWELL_PushClipRegion(c.dc);
  RECT left = {0, 0, 6, 10};
  SWELL_SetClipRegion(c.dc, &left);
  SWELL_PushClipRegion(c.dc);
  RECT top = {3, 0, 10, 4};
  SWELL_SetClipRegion(c.dc, &top); // intersects: columns 3..5, rows 0..3
  SWELL_FillRect(c.dc, &all, black);
  EXPECT_EQ(CountColour(c, 0), 3 * 4);
  SWELL_PopClipRegion(c.dc);
  c.Fill(0xFFFFFF);
  SWELL_FillRect(c.dc, &all, black);
  EXPECT_EQ(CountColour(c, 0), 6 * 10);
  SWELL_PopClipRegion(c.dc);
  SWELL_PopClipRegion(c.dc); // an extra pop is ignored
  SWELL_FillRect(c.dc, &all, black);
  EXPECT_EQ(CountColour(c, 0), 100);
  DeleteObject(black);
}

TEST(SystemColours, TableAndDialogBackground) {
  EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), 0x606060);
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), 0xFFF0C8);
  EXPECT_EQ(GetSysColor(-1), 0);
  EXPECT_EQ(GetSysColor(10), 0);
  TestCanvas c(4, 4);
  RECT r = {1, 1, 3, 3};
  SWELL_FillDialogBackground(c.dc, &r);
  EXPECT_EQ(c.Colour(1, 1), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(c.Colour(0, 0), 0xFFFFFF);
}

TEST(ExtremeCoordinates, StayInsideIntArithmeticAndDrawOnlyWhatShows) {
  TestCanvas c(8, 8);
  PenAndBrush tools(c);
  Rectangle(c.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(c.Colour(4, 4), 0x0000FF);
  c.Fill(0xFFFFFF);
  Ellipse(c.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  RoundRect(c.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MIN);
  MoveToEx(c.dc, INT_MAX, INT_MIN, nullptr);
  SWELL_LineTo(c.dc, INT_MIN, INT_MAX);
  POINT pos;
  MoveToEx(c.dc, 0, 0, &pos);
  EXPECT_EQ(pos.x, INT_MIN);
  RECT far = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  SWELL_DrawText(c.dc, "W", -1, &far, DT_CENTER | DT_VCENTER);
  RECT corner = {INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX};
  SWELL_DrawText(c.dc, "W", -1, &corner, DT_CALCRECT);
  EXPECT_EQ(corner.right, INT_MAX);
  RECT low = {INT_MIN, INT_MIN, INT_MIN + 1, INT_MIN + 1};
  SWELL_DrawText(c.dc, "W", -1, &low, DT_BOTTOM | DT_RIGHT);
  SWELL_SetPixel(c.dc, INT_MAX, INT_MAX, 0);
  BitBlt(c.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, c.dc, INT_MIN, INT_MIN, SRCCOPY);
  StretchBlt(c.dc, INT_MAX, 0, INT_MAX, 8, c.dc, 0, 0, 8, 8, SRCCOPY);
  HBITMAP bm = CreateBitmap(1, 1, 1, 32, nullptr);
  DrawImageInRect(c.dc, bm, &far);
  DeleteObject(bm);
}
