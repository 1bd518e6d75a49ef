// The plug-in state chunk between instances, and reads that start outside it.
// (Exact bytes, clamping, short and non-finite chunks: plug_base_state_test.cpp.)
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

} // namespace
