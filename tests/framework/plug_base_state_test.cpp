#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "plug_base_test_plug.h"

namespace {

// Three parameters shaped like the effect's: In, Out (dB) and Distort (%).
struct StatePlug : PlugBaseTestPlug {
  StatePlug() {
    GetParam(0)->InitDouble("In", 0, -20, 20, 0.01, "dB");
    GetParam(1)->InitDouble("Out", 0, -20, 20, 0.01, "dB");
    GetParam(2)->InitDouble("Distort", 50, 0.01, 100, 0.01, "%");
  }
};

void PutDoubles(ByteChunk* chunk, std::initializer_list<double> values) {
  for (double v : values) chunk->Put(&v);
}

TEST(StateChunk, ThreeValuesAreTwentyFourLittleEndianBytes) {
  StatePlug plug;
  ByteChunk chunk;
  EXPECT_TRUE(plug.SerializeParams(&chunk));
  ASSERT_EQ(chunk.Size(), 24);
  unsigned char full[24] = {}; // 0.0, 0.0, then 50.0 = 0x4049000000000000
  full[22] = 0x49;
  full[23] = 0x40;
  EXPECT_EQ(memcmp(chunk.GetBytes(), full, 24), 0);
  EXPECT_TRUE(plug.SerializeState(&chunk));
  EXPECT_EQ(chunk.Size(), 48);
}

TEST(StateChunk, FullChunkRestoresClampsAndNotifiesAll) {
  StatePlug plug;
  ByteChunk chunk;
  PutDoubles(&chunk, {30.0, -3.5, 75.0});
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0), 24);
  EXPECT_EQ(plug.GetParam(0)->Value(), 20.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), -3.5);
  EXPECT_EQ(plug.GetParam(2)->Value(), 75.0);
  EXPECT_EQ(plug.mNotified, (std::vector<int>{0, 1, 2}));
}

TEST(StateChunk, ShortChunkChangesOnlyTheValuesItHolds) {
  StatePlug plug;
  plug.GetParam(2)->Set(42.0);
  ByteChunk chunk;
  PutDoubles(&chunk, {1.0, 2.0});
  chunk.PutBytes("abc", 3); // a torn third value
  EXPECT_LT(plug.UnserializeState(&chunk, 0), 0);
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 2.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 42.0); // not reset to its minimum
  EXPECT_EQ(plug.mNotified, (std::vector<int>{0, 1, 2}));
}

TEST(StateChunk, EmptyChunkAndNegativeStartKeepEverythingAndNotify) {
  StatePlug plug;
  plug.GetParam(0)->Set(5.0);
  ByteChunk empty;
  EXPECT_LT(plug.UnserializeParams(&empty, 0), 0);
  EXPECT_EQ(plug.GetParam(0)->Value(), 5.0);
  ByteChunk chunk;
  PutDoubles(&chunk, {1.0, 2.0, 3.0});
  EXPECT_EQ(plug.UnserializeParams(&chunk, -1), -1);
  EXPECT_EQ(plug.GetParam(0)->Value(), 5.0);
  EXPECT_EQ(plug.UnserializeParams(nullptr, 0), -1);
  EXPECT_EQ(plug.mNotified.size(), 9u);
}

TEST(StateChunk, NonFiniteValuesAreRefusedOthersApplied) {
  StatePlug plug;
  ByteChunk chunk;
  PutDoubles(&chunk, {std::numeric_limits<double>::quiet_NaN(), 4.0,
                      -std::numeric_limits<double>::infinity()});
  EXPECT_LT(plug.UnserializeParams(&chunk, 0), 0);
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 4.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 50.0);
  EXPECT_EQ(plug.mNotified.size(), 3u);
}

TEST(StateChunk, StartPositionOffsetsTheRead) {
  StatePlug plug;
  ByteChunk chunk;
  const int header = 7;
  chunk.Put(&header);
  PutDoubles(&chunk, {-1.0, 1.0, 10.0});
  EXPECT_EQ(plug.UnserializeParams(&chunk, 4), 28);
  EXPECT_EQ(plug.GetParam(2)->Value(), 10.0);
}

TEST(StateChunk, RandomAndTruncatedChunksNeverEscapeTheRange) {
  std::mt19937 rng(1234);
  StatePlug plug;
  for (int round = 0; round < 3000; ++round) {
    ByteChunk chunk;
    const int size = static_cast<int>(rng() % 40);
    for (int i = 0; i < size; ++i) {
      const unsigned char byte = static_cast<unsigned char>(rng());
      chunk.Put(&byte);
    }
    const int start = static_cast<int>(rng() % 48) - 8;
    const int pos = plug.UnserializeParams(&chunk, start);
    EXPECT_LE(pos, chunk.Size());
    for (int p = 0; p < 3; ++p) {
      const double v = plug.GetParam(p)->Value();
      ASSERT_TRUE(std::isfinite(v));
      ASSERT_GE(v, plug.GetParam(p)->GetMin());
      ASSERT_LE(v, plug.GetParam(p)->GetMax());
    }
  }
}

TEST(VersionHeader, WrittenAndReadBack) {
  StatePlug plug;
  ByteChunk chunk;
  chunk.PutStr("junk");
  plug.InitChunkWithIPlugVer(&chunk);
  ASSERT_EQ(chunk.Size(), 8);
  const unsigned char bytes[8] = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0};
  EXPECT_EQ(memcmp(chunk.GetBytes(), bytes, 8), 0);
  int pos = 0;
  EXPECT_EQ(plug.GetIPlugVerFromChunk(&chunk, &pos), 0x10000);
  EXPECT_EQ(pos, 8);
}

TEST(VersionHeader, MissingOrCutHeader) {
  StatePlug plug;
  ByteChunk other;
  other.PutStr("abcdef");
  int pos = 0;
  EXPECT_EQ(plug.GetIPlugVerFromChunk(&other, &pos), 0);
  EXPECT_EQ(pos, 0);
  ByteChunk cut;
  const unsigned char magic[6] = {0x74, 0x66, 0x66, 0x70, 0, 0};
  cut.PutBytes(magic, 6);
  EXPECT_EQ(plug.GetIPlugVerFromChunk(&cut, &pos), 0);
  EXPECT_EQ(pos, -1);
  pos = -3;
  EXPECT_EQ(plug.GetIPlugVerFromChunk(&cut, &pos), 0);
  EXPECT_EQ(pos, -3);
}

} // namespace
