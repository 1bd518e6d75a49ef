// The saved state a binding stores: the parameter chunk, then the bypass word.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "framework/IPlugStateStream.h"
#include "test_plug.h"

namespace {

std::vector<double> Values(const IPlugBase& plug) {
  return {plug.GetParam(0)->Value(), plug.GetParam(1)->Value(), plug.GetParam(2)->Value()};
}

struct MemoryWriter : IStateWriter {
  explicit MemoryWriter(size_t capacity = 1024) : capacity(capacity) {}
  bool Write(const void* data, int size) override {
    if (bytes.size() + static_cast<size_t>(size) > capacity) return false;
    const auto* p = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), p, p + size);
    return true;
  }
  size_t capacity;
  std::vector<unsigned char> bytes;
};

struct MemoryReader : IStateReader {
  explicit MemoryReader(std::vector<unsigned char> data) : bytes(std::move(data)) {}
  int Read(void* data, int size) override {
    const size_t n = std::min(static_cast<size_t>(size), bytes.size() - pos);
    if (n) memcpy(data, bytes.data() + pos, n);
    pos += n;
    return static_cast<int>(n);
  }
  std::vector<unsigned char> bytes;
  size_t pos = 0;
};

std::vector<unsigned char> Stream(double in, double out, double distort, int32_t bypass,
                                  size_t keep = 28) {
  std::vector<unsigned char> bytes(28);
  const double values[3] = {in, out, distort};
  memcpy(bytes.data(), values, 24);
  for (int i = 0; i < 4; ++i) bytes[24 + i] = static_cast<unsigned char>(bypass >> (8 * i));
  bytes.resize(keep);
  return bytes;
}

TEST(StateStream, SavesTheChunkThenALittleEndianBypassWord) {
  EffectLikePlug plug;
  plug.GetParam(0)->Set(3.5);
  plug.SetBypassed(true);
  MemoryWriter writer;
  ASSERT_TRUE(SaveStateStream(&plug, &writer));
  EXPECT_EQ(writer.bytes, Stream(3.5, 0.0, 50.0, 1));
  for (size_t capacity : {0u, 24u, 27u}) {
    MemoryWriter small(capacity);
    EXPECT_FALSE(SaveStateStream(&plug, &small)) << capacity;
  }
}

TEST(StateStream, RestoresCompleteAndOlderStreamsAndRefusesTheRest) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    std::vector<unsigned char> bytes;
    bool restored;
    bool bypassAfter; // the plug-in starts bypassed
  } cases[] = {
      {Stream(1.0, 2.0, 3.0, 0), true, false},
      {Stream(1.0, 2.0, 3.0, 7), true, true},
      {Stream(1.0, 2.0, 3.0, 0, 24), true, true}, // older save: bypass kept
      {Stream(1.0, 2.0, 3.0, 0, 0), false, true},
      {Stream(1.0, 2.0, 3.0, 0, 16), false, true},
      {Stream(1.0, 2.0, 3.0, 0, 26), false, true},
      {Stream(nan, 2.0, 3.0, 0), false, true},
      {Stream(1.0, 2.0, std::numeric_limits<double>::infinity(), 0), false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bytes.size() << " bytes");
    EffectLikePlug plug;
    plug.GetParam(1)->Set(-4.0);
    plug.SetBypassed(true);
    MemoryReader reader(c.bytes);
    EXPECT_EQ(RestoreStateStream(&plug, &reader), c.restored);
    const std::vector<double> restored = {1.0, 2.0, 3.0}, kept = {0.0, -4.0, 50.0};
    EXPECT_EQ(Values(plug), c.restored ? restored : kept);
    EXPECT_EQ(plug.mNotified.size(), c.restored ? 3u : 0u);
    EXPECT_EQ(plug.GetIsBypassed(), c.bypassAfter);
  }
}

TEST(StateStream, ReadsNoFurtherThanTheState) {
  EffectLikePlug plug;
  std::vector<unsigned char> bytes = Stream(1.0, 2.0, 3.0, 0);
  bytes.insert(bytes.end(), {9, 9, 9, 9});
  MemoryReader reader(bytes);
  EXPECT_TRUE(RestoreStateStream(&plug, &reader));
  EXPECT_EQ(reader.pos, 28u);
}

} // namespace
