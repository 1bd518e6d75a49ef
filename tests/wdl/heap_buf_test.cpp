#include "wdl/heap_buf.h"

#include <gtest/gtest.h>

#include <climits>

TEST(HeapBuf, SmallGranularityGrowsByHalfTheSizeOrTheGranularity) {
  WDL_HeapBuf b(128);
  EXPECT_EQ(b.Resize(0), nullptr);
  b.Resize(10);
  EXPECT_EQ(b.GetAllocated(), 138);
  void* before = b.Get();
  b.Resize(100);
  EXPECT_EQ(b.GetAllocated(), 138) << "fits: no reallocation";
  EXPECT_EQ(b.Get(), before);
  b.Resize(1000);
  EXPECT_EQ(b.GetAllocated(), 1500);
}

TEST(HeapBuf, PageGranularityFillsWholePagesWithTheAllocatorHeader) {
  WDL_HeapBuf b(4096);
  b.Resize(1);
  EXPECT_EQ(b.GetAllocated(), 4000);
  b.Resize(5000);
  EXPECT_EQ(b.GetAllocated(), 8096);
  b.Resize(100000);
  EXPECT_EQ(b.GetAllocated(), 147360);
  b.Resize(20000000); // half the size is capped at 4 MiB of slack
  EXPECT_EQ(b.GetAllocated(), ((20000000 + 4194304 + 96) & ~4095) - 96);
}

TEST(HeapBuf, ShrinksOnlyWithTheFlagAndBelowTheThreshold) {
  WDL_HeapBuf b(16);
  b.Resize(1000);
  ASSERT_EQ(b.GetAllocated(), 1500);
  b.Resize(700, false);
  EXPECT_EQ(b.GetAllocated(), 1500);
  EXPECT_EQ(b.GetSize(), 700);
  b.Resize(751, true); // threshold min(1500 - 64, 750) = 750
  EXPECT_EQ(b.GetAllocated(), 1500);
  b.Resize(700, true);
  EXPECT_EQ(b.GetAllocated(), 1050);
  b.Resize(0, true);
  EXPECT_EQ(b.GetAllocated(), 0);
  EXPECT_EQ(b.Get(), nullptr);
}

TEST(HeapBuf, KeepsContentsNegativeSizesAndMinimumAllocation) {
  WDL_HeapBuf b(16, 100);
  b.Resize(1);
  EXPECT_EQ(b.GetAllocated(), 100);
  static_cast<char*>(b.Get())[0] = 42;
  b.Resize(5000);
  EXPECT_EQ(static_cast<char*>(b.Get())[0], 42);
  b.Resize(-5, false);
  EXPECT_EQ(b.GetSize(), 0);
  EXPECT_EQ(b.Get(), nullptr);
}

TEST(HeapBuf, ImpossibleGrowthLeavesTheBufferAsItWas) {
  WDL_HeapBuf b(4096);
  b.Resize(10);
  void* before = b.Get();
  EXPECT_EQ(b.Resize(INT_MAX), before);
  EXPECT_EQ(b.GetSize(), 10);
  WDL_TypedBuf<double> t;
  t.Resize(4);
  EXPECT_FALSE(t.ResizeOK(INT_MAX / 4));
  EXPECT_EQ(t.GetSize(), 4);
}

TEST(TypedBuf, CountsElementsAddsAndDeletes) {
  WDL_TypedBuf<int> t;
  EXPECT_EQ(t.GetSize(), 0);
  for (int i = 0; i < 5; ++i) t.Add(i);
  ASSERT_EQ(t.GetSize(), 5);
  t.Delete(1);
  t.Delete(9);
  ASSERT_EQ(t.GetSize(), 4);
  EXPECT_EQ(t.Get()[0], 0);
  EXPECT_EQ(t.Get()[1], 2);
  EXPECT_EQ(t.Get()[3], 4);
}
