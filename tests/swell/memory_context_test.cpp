#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "swell/detail/gdi_records.h"
#include "swell/swell.h"
#include "swell_test_util.h"

TEST(MemoryContext, PixelsAreRowsOfWidthTopDownAndAligned) {
  HDC dc = SWELL_CreateMemContext(nullptr, 10, 5);
  ASSERT_NE(dc, nullptr);
  auto* bytes = static_cast<uint8_t*>(SWELL_GetCtxFrameBuffer(dc));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes) % 64, 0u);
  for (int i = 0; i < 10 * 5 * 4; ++i) ASSERT_EQ(bytes[i], 0) << i;

  SWELL_SetPixel(dc, 3, 0, RGB(0x11, 0x22, 0x33));
  SWELL_SetPixel(dc, 7, 4, RGB(0x44, 0x55, 0x66));
  // Pixel (x, y) at byte (y * 10 + x) * 4, bytes A, R, G, B.
  const uint8_t* p = bytes + (0 * 10 + 3) * 4;
  EXPECT_EQ(p[0], 0xFF);
  EXPECT_EQ(p[1], 0x11);
  EXPECT_EQ(p[2], 0x22);
  EXPECT_EQ(p[3], 0x33);
  p = bytes + (4 * 10 + 7) * 4;
  EXPECT_EQ(p[1], 0x44);
  EXPECT_EQ(p[3], 0x66);
  int touched = 0;
  for (int i = 0; i < 10 * 5 * 4; ++i) touched += bytes[i] != 0;
  EXPECT_EQ(touched, 8);
  SWELL_DeleteGfxContext(dc);
}

TEST(MemoryContext, RefusesNonPositiveAndOverflowingSizes) {
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 0, 10), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 10, 0), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, -4, 10), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 10, -4), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, -65536, -65536), nullptr);
  // 65536 * 65536 * 4 wraps to 0 in 32 bits.
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 65536, 65536), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, INT_MAX, 2), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 23171, 23171), nullptr);
}

TEST(MemoryContext, OnlyMemoryContextsHaveAFrameBuffer) {
  std::vector<uint32_t> pixels(8 * 4, 0);
  SWELL_PixelTarget target = {pixels.data(), 6, 4, 8};
  HDC dc = SWELL_CreateGfxContext(&target);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(SWELL_GetCtxFrameBuffer(dc), nullptr);
  EXPECT_NE(SWELL_GetCtxGC(dc), nullptr);
  // Drawing honours the caller's span and width.
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all = {-5, -5, 50, 50};
  SWELL_FillRect(dc, &all, red);
  EXPECT_EQ(pixels[1 * 8 + 5], 0x0000FFFFu);
  EXPECT_EQ(pixels[1 * 8 + 6], 0u);
  DeleteObject(red);
  SWELL_DeleteGfxContext(dc);

  SWELL_PixelTarget narrowSpan = {pixels.data(), 6, 4, 5};
  EXPECT_EQ(SWELL_CreateGfxContext(&narrowSpan), nullptr);
  EXPECT_EQ(SWELL_CreateGfxContext(nullptr), nullptr);
}

TEST(MemoryContext, WindowContextsComeFromThePaintTarget) {
  std::vector<uint32_t> pixels(4 * 4, 0);
  SWELL_PixelTarget target = {pixels.data(), 4, 4, 4};
  SWELL_Window window = {&target};
  HDC dc = GetDC(&window);
  ASSERT_NE(dc, nullptr);
  SWELL_SetPixel(dc, 1, 2, RGB(0, 0, 255));
  EXPECT_EQ(pixels[2 * 4 + 1], 0xFF0000FFu);
  ReleaseDC(&window, dc);
  EXPECT_EQ(SWELL_GetCtxGC(dc), nullptr);

  SWELL_Window blank = {nullptr};
  EXPECT_EQ(GetWindowDC(&blank), nullptr);
  EXPECT_EQ(GetDC(nullptr), nullptr);
}

TEST(MemoryContext, ColoursAreStoredAndInvalidContextsAnswerMinusOne) {
  TestCanvas c(4, 4);
  EXPECT_EQ(GetTextColor(c.dc), 0);
  EXPECT_EQ(SetTextColor(c.dc, 0x123456), 0);
  EXPECT_EQ(GetTextColor(c.dc), 0x123456);
  EXPECT_EQ(SetBkColor(c.dc, 0xABCDEF), 0);
  EXPECT_EQ(SetBkColor(c.dc, 1), 0xABCDEF);
  EXPECT_EQ(GetTextColor(nullptr), -1);
  EXPECT_EQ(SetTextColor(nullptr, 5), -1);
}

TEST(ContextPool, DeletedContextsAreRefusedAndReused) {
  HDC dc = SWELL_CreateMemContext(nullptr, 4, 4);
  ASSERT_NE(dc, nullptr);
  SWELL_DeleteGfxContext(dc);
  EXPECT_EQ(SWELL_GetCtxFrameBuffer(dc), nullptr);
  EXPECT_EQ(SWELL_GetCtxGC(dc), nullptr);
  EXPECT_EQ(GetTextColor(dc), -1);
  RECT r = {0, 0, 4, 4};
  EXPECT_EQ(SWELL_DrawText(dc, "x", -1, &r, 0), 0);
  SWELL_DeleteGfxContext(dc); // a second delete changes nothing
  // The record comes back from the pool for the next context.
  HDC again = SWELL_CreateMemContext(nullptr, 4, 4);
  EXPECT_EQ(again, dc);
  EXPECT_NE(SWELL_GetCtxFrameBuffer(again), nullptr);
  SWELL_DeleteGfxContext(again);
}

TEST(ContextPool, HandlesFreedBeyondThePoolLimitAreRefusedWithoutReadingThem) {
  std::vector<HDC> contexts;
  for (int i = 0; i < 160; ++i) contexts.push_back(SWELL_CreateMemContext(nullptr, 2, 2));
  for (HDC dc : contexts) SWELL_DeleteGfxContext(dc);
  EXPECT_EQ(swell_pool::PooledContextCount(), 100);
  // Sixty of these records went back to the heap: every call must refuse
  // them by look-up (the address sanitizer would catch a read).
  for (HDC dc : contexts) {
    EXPECT_EQ(SWELL_GetCtxFrameBuffer(dc), nullptr);
    EXPECT_EQ(SetBkMode(dc, 1), 0);
    SWELL_DeleteGfxContext(dc);
  }
  EXPECT_EQ(swell_pool::PooledContextCount(), 100);
}
