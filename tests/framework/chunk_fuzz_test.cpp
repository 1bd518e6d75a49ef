// Random, truncated and corrupted chunks fed to every chunk reader. Whatever
// the bytes, a read stays inside the chunk, values stay in range and names
// stay terminated. Deterministic: the generator has a fixed seed.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

#include "test_plug.h"

namespace {

constexpr unsigned kSeed = 20261207;

void FillRandom(std::mt19937* random, ByteChunk* chunk, int size) {
  for (int i = 0; i < size; ++i) {
    const unsigned char byte = static_cast<unsigned char>((*random)());
    chunk->Put(&byte);
  }
}

int RandomStart(std::mt19937* random, int size) {
  switch ((*random)() % 8) {
  case 0:
    return -1;
  case 1:
    return INT_MAX - static_cast<int>((*random)() % 16);
  case 2:
    return INT_MIN;
  case 3:
    return size + static_cast<int>((*random)() % 16);
  default:
    return size > 0 ? static_cast<int>((*random)() % static_cast<unsigned>(size)) : 0;
  }
}

void ExpectSane(const PresetPlug& plug) {
  for (int i = 0; i < plug.NParams(); ++i) {
    const IParam* param = plug.GetParam(i);
    ASSERT_TRUE(std::isfinite(param->Value())) << i;
    ASSERT_GE(param->Value(), param->GetMin()) << i;
    ASSERT_LE(param->Value(), param->GetMax()) << i;
  }
  for (int i = 0; i < plug.NPresets(); ++i)
    ASSERT_LT(strnlen(plug.GetPresetName(i), IPreset::kNameLength), size_t(IPreset::kNameLength));
}

// A bank that parses, used as a base for truncation and corruption.
void MakeValidBank(ByteChunk* bank) {
  PresetPlug source(4);
  source.MakePreset("Alpha", 3.0, 0, 8, 1);
  source.MakePreset("Beta", -3.0, 1, 9, 2);
  source.MakePresetFromNamedParams("Gamma", 1, PresetPlug::kGain, 12.0);
  source.SerializePresets(bank);
}

TEST(ChunkFuzz, RandomChunksIntoParamsAndPresets) {
  std::mt19937 random(kSeed);
  PresetPlug plug(4);
  for (int round = 0; round < 3000; ++round) {
    ByteChunk chunk;
    FillRandom(&random, &chunk, static_cast<int>(random() % 120));
    const int start = RandomStart(&random, chunk.Size());
    const int afterParams = plug.UnserializeParams(&chunk, start);
    ASSERT_LE(afterParams, chunk.Size());
    ExpectSane(plug);
    const int afterPresets = plug.UnserializePresets(&chunk, RandomStart(&random, chunk.Size()));
    ASSERT_LE(afterPresets, chunk.Size());
    ExpectSane(plug);
  }
}

TEST(ChunkFuzz, EveryTruncationOfAValidBank) {
  ByteChunk bank;
  MakeValidBank(&bank);
  ASSERT_GT(bank.Size(), 100);
  for (int size = 0; size <= bank.Size(); ++size) {
    ByteChunk cut;
    cut.PutBytes(bank.GetBytes(), size);
    PresetPlug plug(4);
    const int pos = plug.UnserializePresets(&cut, 0);
    ASSERT_TRUE(pos == bank.Size() ? size == bank.Size() : pos < 0) << size;
    ExpectSane(plug);
    PresetPlug paramsOnly(0);
    ASSERT_LE(paramsOnly.UnserializeParams(&cut, size % 9), cut.Size());
  }
}

TEST(ChunkFuzz, CorruptedBanksAndHostileLengths) {
  std::mt19937 random(kSeed + 1);
  ByteChunk bank;
  MakeValidBank(&bank);
  const int32_t hostileLengths[] = {-1, INT32_MIN, INT32_MAX, INT32_MAX - 3, 256, 255, 1 << 20};
  PresetPlug plug(4);
  for (int round = 0; round < 3000; ++round) {
    ByteChunk corrupt;
    corrupt.PutBytes(bank.GetBytes(), bank.Size());
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int f = 0; f < flips; ++f) {
      const int at = static_cast<int>(random() % static_cast<unsigned>(corrupt.Size()));
      if (random() % 3 == 0 && at + 4 <= corrupt.Size()) {
        const int32_t length = hostileLengths[random() % 7];
        memcpy(corrupt.GetBytes() + at, &length, 4);
      } else {
        corrupt.GetBytes()[at] = static_cast<unsigned char>(random());
      }
    }
    ASSERT_LE(plug.UnserializePresets(&corrupt, 0), corrupt.Size());
    ExpectSane(plug);
    ByteChunk again;
    ASSERT_TRUE(plug.SerializePresets(&again));
  }
}

TEST(ChunkFuzz, ByteChunkReadersAtAnyPosition) {
  std::mt19937 random(kSeed + 2);
  for (int round = 0; round < 5000; ++round) {
    ByteChunk chunk;
    FillRandom(&random, &chunk, static_cast<int>(random() % 40));
    const int start = RandomStart(&random, chunk.Size());
    double value = 1.5;
    const int afterDouble = chunk.Get(&value, start);
    ASSERT_TRUE(afterDouble == -1 || (afterDouble == start + 8 && afterDouble <= chunk.Size()));
    if (afterDouble < 0) {
      ASSERT_EQ(value, 1.5);
    }
    WDL_String text("unchanged");
    const int afterString = chunk.GetStr(&text, start);
    ASSERT_LE(afterString, chunk.Size());
    if (afterString < 0) {
      ASSERT_STREQ(text.Get(), "unchanged");
    }
    bool flag = false;
    ASSERT_LE(chunk.GetBool(&flag, start), chunk.Size());
  }
}

} // namespace
