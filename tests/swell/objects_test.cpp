#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "swell/detail/gdi_records.h"
#include "swell/swell.h"
#include "swell_test_util.h"

namespace {
HGDIOBJ Token(int n) {
  return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(n));
}
} // namespace

TEST(SelectObject, ReturnsTheTypeTokenThenThePreviousObject) {
  TestCanvas c(4, 4);
  HPEN pen1 = CreatePen(PS_SOLID, 1, 0);
  HPEN pen2 = CreatePen(PS_SOLID, 2, 0);
  HBRUSH brush = CreateSolidBrush(0);
  HFONT font = CreateFont(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
  EXPECT_EQ(SelectObject(c.dc, pen1), Token(1));
  EXPECT_EQ(SelectObject(c.dc, brush), Token(2));
  EXPECT_EQ(SelectObject(c.dc, font), Token(3));
  EXPECT_EQ(SelectObject(c.dc, pen2), pen1);
  EXPECT_EQ(SelectObject(c.dc, pen2), pen2); // already selected
  // Tokens empty a slot and hand back what it held.
  EXPECT_EQ(SelectObject(c.dc, Token(1)), pen2);
  EXPECT_EQ(SelectObject(c.dc, Token(1)), Token(1));
  EXPECT_EQ(SelectObject(c.dc, Token(3)), font);
  EXPECT_EQ(SelectObject(c.dc, Token(2)), brush);
  EXPECT_EQ(SelectObject(nullptr, pen1), nullptr);
  EXPECT_EQ(SelectObject(c.dc, nullptr), nullptr);
  EXPECT_EQ(SelectObject(c.dc, Token(4)), nullptr);
  DeleteObject(pen1);
  DeleteObject(pen2);
  DeleteObject(brush);
  DeleteObject(font);
}

TEST(SelectObject, RefusesBitmapsAndDeletedObjects) {
  TestCanvas c(4, 4);
  HBITMAP bm = CreateBitmap(2, 2, 1, 32, nullptr);
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(SelectObject(c.dc, bm), nullptr);
  DeleteObject(bm);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  EXPECT_EQ(SelectObject(c.dc, pen), Token(1));
  DeleteObject(pen);
  EXPECT_EQ(SelectObject(c.dc, pen), nullptr);
  // The slot still names the deleted pen: emptying it gives the token back.
  EXPECT_EQ(SelectObject(c.dc, Token(1)), Token(1));
}

TEST(SelectObject, ADeletedSelectedPenNoLongerDraws) {
  TestCanvas c(8, 8);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  SelectObject(c.dc, pen);
  DeleteObject(pen);
  MoveToEx(c.dc, 0, 2, nullptr);
  SWELL_LineTo(c.dc, 8, 2);
  EXPECT_FALSE(c.HasInk());
}

TEST(ObjectLifetime, ACloneNeedsOneMoreDelete) {
  HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
  EXPECT_EQ(SWELL_CloneGDIObject(brush), brush);
  DeleteObject(brush);
  EXPECT_TRUE(swell_pool::IsLiveObject(brush, kObjBrush));
  TestCanvas c(2, 2);
  RECT r = {0, 0, 2, 2};
  SWELL_FillRect(c.dc, &r, brush);
  EXPECT_EQ(c.Colour(1, 1), 0x00FF00);
  DeleteObject(brush);
  EXPECT_FALSE(swell_pool::IsLiveObject(brush));
  EXPECT_EQ(SWELL_CloneGDIObject(brush), nullptr);
  c.Fill(0xFFFFFF);
  SWELL_FillRect(c.dc, &r, brush);
  EXPECT_EQ(c.Colour(1, 1), 0xFFFFFF);
}

TEST(ObjectLifetime, StockObjectsSurviveDeletionAndDrawNothing) {
  HGDIOBJ pen = GetStockObject(NULL_PEN);
  HGDIOBJ brush = GetStockObject(NULL_BRUSH);
  ASSERT_NE(pen, nullptr);
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(GetStockObject(0), nullptr);
  EXPECT_EQ(GetStockObject(3), nullptr);
  DeleteObject(pen);
  DeleteObject(brush);
  EXPECT_TRUE(swell_pool::IsLiveObject(pen, kObjPen));
  TestCanvas c(6, 6);
  SelectObject(c.dc, pen);
  SelectObject(c.dc, brush);
  Rectangle(c.dc, 0, 0, 6, 6);
  RECT r = {0, 0, 6, 6};
  SWELL_FillRect(c.dc, &r, brush);
  EXPECT_FALSE(c.HasInk());
  DeleteObject(Token(2)); // tokens are ignored
}

TEST(ObjectPool, ObjectsFreedBeyondThePoolAreRefused) {
  std::vector<HGDIOBJ> objects;
  for (int i = 0; i < 260; ++i) objects.push_back(CreatePen(PS_SOLID, i, 0));
  for (HGDIOBJ o : objects) DeleteObject(o);
  EXPECT_EQ(swell_pool::PooledObjectCount(), 200);
  TestCanvas c(4, 4);
  for (HGDIOBJ o : objects) {
    EXPECT_EQ(SelectObject(c.dc, o), nullptr);
    EXPECT_EQ(SWELL_CloneGDIObject(o), nullptr);
    DeleteObject(o);
  }
  EXPECT_EQ(swell_pool::PooledObjectCount(), 200);
}

TEST(ObjectPool, NegativePenWidthsAreClampedToZero) {
  HPEN pen = CreatePen(PS_SOLID, -3, 0);
  EXPECT_EQ(pen->mWidth, 0);
  DeleteObject(pen);
  EXPECT_FALSE(swell_pool::IsLiveObject(pen));
}

TEST(ObjectPool, ContextsAndObjectsComeAndGoOnSeveralThreads) {
  std::vector<int> failures(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&failures, t] {
      for (int i = 0; i < 300; ++i) {
        HDC dc = SWELL_CreateMemContext(nullptr, 3, 3);
        HBRUSH brush = CreateSolidBrush(RGB(t, i & 0xFF, 1));
        RECT r = {0, 0, 3, 3};
        SWELL_FillRect(dc, &r, brush);
        const uint32_t* px = static_cast<uint32_t*>(SWELL_GetCtxFrameBuffer(dc));
        // Another thread never receives this context or brush while it lives.
        if (!px || px[8] != swell_raster::PackPixel(255, t, i & 0xFF, 1)) ++failures[t];
        SWELL_CloneGDIObject(brush);
        DeleteObject(brush);
        DeleteObject(brush);
        SWELL_DeleteGfxContext(dc);
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}
