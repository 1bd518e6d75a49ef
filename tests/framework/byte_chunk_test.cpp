#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "framework/ByteChunk.h"
#include "framework/IPreset.h"

namespace {

TEST(ByteChunkValues, RoundTripInNativeOrderWithoutGaps) {
  ByteChunk chunk;
  const int i = 0x01020304;
  const double d = 50.0;
  EXPECT_EQ(chunk.Put(&i), 4);
  EXPECT_EQ(chunk.Put(&d), 12);
  EXPECT_EQ(chunk.PutBool(true), 13);
  const unsigned char tail[8] = {0, 0, 0, 0, 0, 0, 0x49, 0x40};
  EXPECT_EQ(memcmp(chunk.GetBytes() + 4, tail, 8), 0);
  int i2 = 0;
  double d2 = 0;
  bool b = false;
  EXPECT_EQ(chunk.Get(&i2, 0), 4);
  EXPECT_EQ(chunk.Get(&d2, 4), 12);
  EXPECT_EQ(chunk.GetBool(&b, 12), 13);
  EXPECT_EQ(i2, i);
  EXPECT_EQ(d2, d);
  EXPECT_TRUE(b);
}

TEST(ByteChunkValues, ReadsOutsideTheChunkFailAndLeaveTheTarget) {
  ByteChunk chunk;
  const double d = 1.5;
  chunk.Put(&d);
  double out = 7.0;
  EXPECT_EQ(chunk.Get(&out, 1), -1);
  EXPECT_EQ(chunk.Get(&out, -1), -1);
  EXPECT_EQ(chunk.Get(&out, 8), -1);
  EXPECT_EQ(chunk.Get(&out, INT32_MAX), -1);
  EXPECT_EQ(chunk.Get(&out, INT32_MAX - 4), -1);
  EXPECT_EQ(out, 7.0);
  bool b = false;
  EXPECT_EQ(chunk.GetBool(&b, 8), -1);
}

TEST(ByteChunkValues, AnyNonZeroByteReadsAsTrue) {
  ByteChunk chunk;
  const unsigned char byte = 0x80;
  chunk.Put(&byte);
  bool b = false;
  EXPECT_EQ(chunk.GetBool(&b, 0), 1);
  EXPECT_TRUE(b);
}

TEST(ByteChunkStrings, RoundTripWithLengthPrefix) {
  ByteChunk chunk;
  EXPECT_EQ(chunk.PutStr("abc"), 7);
  int32_t length = 0;
  chunk.Get(&length, 0);
  EXPECT_EQ(length, 3);
  WDL_String s;
  EXPECT_EQ(chunk.GetStr(&s, 0), 7);
  EXPECT_STREQ(s.Get(), "abc");
}

TEST(ByteChunkStrings, ZeroLengthKeepsTheTargetAndStopsAtNul) {
  ByteChunk chunk;
  chunk.PutStr("");
  const int32_t five = 5;
  chunk.Put(&five);
  chunk.PutBytes("ab\0cd", 5);
  WDL_String s("before");
  EXPECT_EQ(chunk.GetStr(&s, 0), 4);
  EXPECT_STREQ(s.Get(), "before");
  EXPECT_EQ(chunk.GetStr(&s, 4), 13);
  EXPECT_STREQ(s.Get(), "ab");
}

TEST(ByteChunkStrings, NegativeOrOversizedLengthFails) {
  const int32_t lengths[] = {-1, INT32_MIN, 4, INT32_MAX, INT32_MAX - 3};
  for (int32_t length : lengths) {
    ByteChunk chunk;
    chunk.Put(&length);
    chunk.PutBytes("abc", 3);
    WDL_String s("kept");
    EXPECT_EQ(chunk.GetStr(&s, 0), -1) << length;
    EXPECT_STREQ(s.Get(), "kept");
  }
  ByteChunk tiny;
  tiny.PutBytes("ab", 2);
  WDL_String s;
  EXPECT_EQ(tiny.GetStr(&s, 0), -1);
  EXPECT_EQ(tiny.GetStr(&s, -5), -1);
}

TEST(ByteChunkWhole, AppendClearResizeCompare) {
  ByteChunk a, b;
  a.PutStr("xy");
  b.PutChunk(&a);
  b.PutChunk(&a);
  EXPECT_EQ(b.Size(), 12);
  EXPECT_FALSE(a.IsEqual(b));
  b.Resize(6);
  EXPECT_TRUE(a.IsEqual(b));
  EXPECT_EQ(b.Resize(10), 10);
  EXPECT_EQ(b.GetBytes()[9], 0);
  b.Clear();
  EXPECT_EQ(b.Size(), 0);
  ByteChunk empty;
  EXPECT_TRUE(b.IsEqual(empty));
}

TEST(Preset, StartsUninitialisedAndEmpty) {
  IPreset preset;
  EXPECT_FALSE(preset.mInitialized);
  EXPECT_STREQ(preset.mName, "empty");
  EXPECT_EQ(preset.mChunk.Size(), 0);
}

} // namespace
