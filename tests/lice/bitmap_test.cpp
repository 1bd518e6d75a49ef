// Memory and system bitmaps: sizes, spans, alignment, buffer reuse and
// refusals of sizes that cannot be held.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "lice/lice.h"

TEST(MemBitmap, EmptyUntilResizedThenAlignedRows) {
  LICE_MemBitmap b(0, 0, 4);
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_TRUE(b.resize(100, 10));
  ASSERT_NE(b.getBits(), nullptr);
  EXPECT_EQ((uintptr_t)b.getBits() % 64, 0u);
  EXPECT_EQ(b.getRowSpan(), 100);
  EXPECT_FALSE(b.resize(100, 10));
}

TEST(MemBitmap, ShrinkingKeepsTheBufferAndTheSpanFollowsTheWidth) {
  LICE_MemBitmap b(0, 0, 4);
  b.resize(100, 10);
  LICE_Pixel32* first = b.getBits();
  EXPECT_TRUE(b.resize(50, 10));
  EXPECT_EQ(b.getBits(), first);
  EXPECT_EQ(b.getRowSpan(), 52);
  EXPECT_EQ(b.getWidth(), 50);
}

TEST(MemBitmap, LineAlignmentMasks) {
  EXPECT_EQ(LICE_MemBitmap(5, 1, 0).getRowSpan(), 5);
  EXPECT_EQ(LICE_MemBitmap(5, 1, 1).getRowSpan(), 5);
  EXPECT_EQ(LICE_MemBitmap(5, 1, 8).getRowSpan(), 8);
  EXPECT_EQ(LICE_MemBitmap(5, 1, 12).getRowSpan(), 8); // lowest set bit: 4
  EXPECT_EQ(LICE_MemBitmap(17, 1, 16).getRowSpan(), 32);
  // Above 16 the mask is 16, not 31.
  EXPECT_EQ(LICE_MemBitmap(5, 1, 64).getRowSpan(), 5);
  EXPECT_EQ(LICE_MemBitmap(16, 1, 64).getRowSpan(), 32);
}

TEST(MemBitmap, GrowingMakesAllPixelsWritable) {
  LICE_MemBitmap b(4, 4);
  b.resize(64, 64);
  LICE_Clear(&b, 0x12345678u);
  EXPECT_EQ(LICE_GetPixel(&b, 63, 63), 0x12345678u);
}

TEST(MemBitmap, ZeroOrNegativeSizeGivesAnEmptyBitmap) {
  LICE_MemBitmap b(10, 10);
  EXPECT_TRUE(b.resize(0, 10));
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_EQ(b.getHeight(), 0);
  b.resize(10, 10);
  // Two negative sides would multiply to a positive byte count.
  b.resize(-10, -10);
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_EQ(b.getHeight(), 0);
}

TEST(MemBitmap, SizesBeyondTheAddressableByteCountAreRefusedNotWrapped) {
  const int sizes[][2] = {{INT_MAX, INT_MAX}, {INT_MAX, 1}, {100000, 100000}, {1 << 16, 1 << 15}};
  for (auto& s : sizes) {
    LICE_MemBitmap b(8, 8);
    b.resize(s[0], s[1]);
    EXPECT_EQ(b.getBits(), nullptr) << s[0] << "x" << s[1];
    EXPECT_EQ(b.getWidth(), 0);
    EXPECT_EQ(b.getHeight(), 0);
    LICE_Clear(&b, 1); // nothing to draw into, nothing touched
    EXPECT_TRUE(b.resize(3, 3));
    LICE_Clear(&b, 1);
    EXPECT_EQ(LICE_GetPixel(&b, 2, 2), 1u);
  }
}

TEST(SysBitmap, PixelsAreTheMemoryContextFrameBuffer) {
  LICE_SysBitmap b(10, 5);
  ASSERT_NE(b.getDC(), nullptr);
  EXPECT_EQ(b.getRowSpan(), 12);
  EXPECT_EQ((void*)b.getBits(), SWELL_GetCtxFrameBuffer(b.getDC()));
  EXPECT_EQ((uintptr_t)b.getBits() % 64, 0u);
  LICE_PutPixel(&b, 9, 4, 0xAABBCCDDu, 1.0f, 0);
  EXPECT_EQ(b.getBits()[4 * 12 + 9], 0xAABBCCDDu);
}

TEST(SysBitmap, ShrinkingKeepsTheWiderSpan) {
  LICE_SysBitmap b(100, 100);
  HDC dc = b.getDC();
  EXPECT_TRUE(b.resize(50, 50));
  EXPECT_EQ(b.getRowSpan(), 100);
  EXPECT_EQ(b.getDC(), dc);
  EXPECT_FALSE(b.resize(50, 50));
  EXPECT_TRUE(b.resize(120, 10));
  EXPECT_EQ(b.getRowSpan(), 120);
}

TEST(SysBitmap, EmptyAndUnholdableSizesHaveNoPixelsAndNoSize) {
  LICE_SysBitmap empty;
  EXPECT_EQ(empty.getBits(), nullptr);
  EXPECT_EQ(empty.getDC(), nullptr);
  LICE_SysBitmap b(8, 8);
  b.resize(INT_MAX, 2);
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getDC(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  b.resize(-4, 7);
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getHeight(), 0);
  EXPECT_TRUE(b.resize(4, 4));
  EXPECT_NE(b.getBits(), nullptr);
}
