// The plug-in state chunk: the parameters' plain values as little-endian doubles.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "test_plug.h"

namespace {

void Fill(ByteChunk* chunk, const std::vector<double>& values) {
  for (double v : values) chunk->Put(&v);
}

const std::vector<int> kAllThree = {0, 1, 2};

TEST(ParamsChunk, EffectChunkIsTwentyFourExactBytes) {
  EffectLikePlug plug;
  plug.GetParam(2)->Set(50.0);
  ByteChunk chunk;
  ASSERT_TRUE(plug.SerializeParams(&chunk));
  ASSERT_EQ(chunk.Size(), 24);
  // 0.0, 0.0 and 50.0; the last eight bytes are 00 00 00 00 00 00 49 40.
  unsigned char expected[24] = {};
  expected[22] = 0x49;
  expected[23] = 0x40;
  EXPECT_EQ(memcmp(chunk.GetBytes(), expected, sizeof expected), 0);
}

TEST(ParamsChunk, StoresPlainValuesInIndexOrderAndAppends) {
  EffectLikePlug plug;
  plug.GetParam(0)->Set(-3.5);
  plug.GetParam(1)->Set(12.25);
  plug.GetParam(2)->Set(0.01);
  ByteChunk chunk;
  const unsigned char header = 7;
  chunk.Put(&header);
  ASSERT_TRUE(plug.SerializeParams(&chunk));
  ASSERT_EQ(chunk.Size(), 25);
  double stored[3];
  memcpy(stored, chunk.GetBytes() + 1, sizeof stored);
  EXPECT_EQ(stored[0], -3.5);
  EXPECT_EQ(stored[1], 12.25);
  EXPECT_EQ(stored[2], 0.01);
}

TEST(ParamsChunk, RoundTripRestoresEveryValueAndNotifiesAll) {
  EffectLikePlug source;
  source.GetParam(0)->Set(7.77);
  source.GetParam(1)->Set(-19.5);
  source.GetParam(2)->Set(99.0);
  ByteChunk chunk;
  ASSERT_TRUE(source.SerializeParams(&chunk));

  EffectLikePlug target;
  EXPECT_EQ(target.UnserializeParams(&chunk, 0), 24);
  EXPECT_EQ(target.GetParam(0)->Value(), 7.77);
  EXPECT_EQ(target.GetParam(1)->Value(), -19.5);
  EXPECT_EQ(target.GetParam(2)->Value(), 99.0);
  EXPECT_EQ(target.mNotified, kAllThree);
}

TEST(ParamsChunk, ReadsFromTheGivenStartPosition) {
  ByteChunk chunk;
  const int marker = 0x01020304;
  chunk.Put(&marker);
  for (double v : {1.0, 2.0, 3.0}) chunk.Put(&v);
  EffectLikePlug plug;
  EXPECT_EQ(plug.UnserializeParams(&chunk, 4), 28);
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 3.0);
}

TEST(ParamsChunk, OutOfRangeValuesAreClamped) {
  ByteChunk chunk;
  Fill(&chunk, {30.0, -40.0, 1000.0});
  EffectLikePlug plug;
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0), 24);
  EXPECT_EQ(plug.GetParam(0)->Value(), 20.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), -20.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 100.0);
  EXPECT_EQ(plug.mNotified, kAllThree);
}

TEST(ParamsChunkMalformed, NegativeStartReadsNothingButNotifiesAll) {
  ByteChunk chunk;
  Fill(&chunk, {1.0, 2.0, 3.0});
  EffectLikePlug plug;
  plug.GetParam(0)->Set(5.0);
  EXPECT_EQ(plug.UnserializeParams(&chunk, -1), -1);
  EXPECT_EQ(plug.GetParam(0)->Value(), 5.0);
  EXPECT_EQ(plug.mNotified, kAllThree);
}

TEST(ParamsChunkMalformed, ShortChunkChangesOnlyTheValuesItHolds) {
  ByteChunk chunk;
  Fill(&chunk, {4.0, -4.0});
  EffectLikePlug plug;
  plug.GetParam(2)->Set(75.0);
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0), -1);
  EXPECT_EQ(plug.GetParam(0)->Value(), 4.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), -4.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 75.0) << "the value at which the chunk ends is kept";
  EXPECT_EQ(plug.mNotified, kAllThree);
}

TEST(ParamsChunkMalformed, EmptyAndPartialValueChunksKeepEverything) {
  for (int size : {0, 1, 7}) {
    ByteChunk chunk;
    chunk.Resize(size);
    EffectLikePlug plug;
    plug.GetParam(0)->Set(-6.0);
    EXPECT_EQ(plug.UnserializeParams(&chunk, 0), -1) << size;
    EXPECT_EQ(plug.GetParam(0)->Value(), -6.0) << size;
    EXPECT_EQ(plug.GetParam(2)->Value(), 50.0) << size;
    EXPECT_EQ(plug.mNotified, kAllThree) << size;
  }
}

TEST(ParamsChunkMalformed, NonFiniteValuesAreRefused) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  ByteChunk chunk;
  Fill(&chunk, {nan, 3.0, -inf});
  EffectLikePlug plug;
  plug.GetParam(0)->Set(1.5);
  plug.GetParam(2)->Set(20.0);
  EXPECT_LT(plug.UnserializeParams(&chunk, 0), 0);
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.5);
  EXPECT_EQ(plug.GetParam(1)->Value(), 3.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 20.0);
  EXPECT_EQ(plug.mNotified, kAllThree);
}

TEST(ParamsChunkMalformed, StartPositionsBeyondTheChunkFailWithoutOverflow) {
  ByteChunk chunk;
  Fill(&chunk, {1.0, 2.0, 3.0});
  for (int start : {24, 25, INT_MAX - 4, INT_MAX, INT_MIN}) {
    EffectLikePlug plug;
    EXPECT_LT(plug.UnserializeParams(&chunk, start), 0) << start;
    EXPECT_EQ(plug.GetParam(0)->Value(), 0.0) << start;
  }
}

TEST(ParamsChunkMalformed, NullChunkIsRefused) {
  EffectLikePlug plug;
  EXPECT_FALSE(plug.SerializeParams(nullptr));
  EXPECT_EQ(plug.UnserializeParams(nullptr, 0), -1);
  EXPECT_EQ(plug.mNotified, kAllThree);
}

TEST(FrameworkVersionHeader, WritesMagicAndVersion) {
  EffectLikePlug plug;
  ByteChunk chunk;
  Fill(&chunk, {1.0});
  plug.InitChunkWithIPlugVer(&chunk);
  const unsigned char expected[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  ASSERT_EQ(chunk.Size(), 8);
  EXPECT_EQ(memcmp(chunk.GetBytes(), expected, 8), 0);
}

TEST(FrameworkVersionHeader, ReadsVersionAndAdvances) {
  EffectLikePlug plug;
  ByteChunk chunk;
  const unsigned char header[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  chunk.PutBytes(header, 8);
  int pos = 0;
  EXPECT_EQ(plug.GetIPlugVerFromChunk(&chunk, &pos), 0x10000);
  EXPECT_EQ(pos, 8);
}

TEST(FrameworkVersionHeader, MissingMagicOrVersion) {
  EffectLikePlug plug;
  ByteChunk noMagic;
  Fill(&noMagic, {2.0});
  int pos = 0;
  EXPECT_EQ(plug.GetIPlugVerFromChunk(&noMagic, &pos), 0);
  EXPECT_EQ(pos, 0) << "a chunk without the header is read from where it was";

  ByteChunk magicOnly;
  const unsigned char magic[6] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00};
  magicOnly.PutBytes(magic, 6);
  EXPECT_EQ(plug.GetIPlugVerFromChunk(&magicOnly, &pos), 0);
  EXPECT_EQ(pos, -1);

  pos = -1;
  EXPECT_EQ(plug.GetIPlugVerFromChunk(&magicOnly, &pos), 0);
  EXPECT_EQ(pos, -1);
}

} // namespace
