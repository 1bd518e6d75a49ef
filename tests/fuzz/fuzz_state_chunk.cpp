// A plug-in state chunk read back with UnserializeParams from any start
// position: every value that fits and is finite is taken (held in its range),
// a chunk that ends early or holds a NaN or infinity makes the result
// negative, every parameter is notified either way, and what the plug-in then
// serializes restores to itself.
//
// Input: one byte gives the start position (-1 .. 15), the rest is the chunk.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "tests/framework/test_plug.h"

namespace {

void CheckValues(const PresetPlug& plug, const ByteChunk& chunk, int startPos, int pos) {
  const int n = plug.NParams();
  bool allTaken = startPos >= 0;
  for (int i = 0; i < n; ++i) {
    const IParam* param = plug.GetParam(i);
    FUZZ_CHECK(std::isfinite(param->Value()));
    FUZZ_CHECK(param->Value() >= param->GetMin() && param->Value() <= param->GetMax());
    double stored = 0.0;
    const int at = startPos + 8 * i;
    if (!allTaken || chunk.Get(&stored, at) < 0 || !std::isfinite(stored)) {
      allTaken = false;
      continue;
    }
    FUZZ_CHECK(param->Value() == std::min(std::max(stored, param->GetMin()), param->GetMax()));
  }
  FUZZ_CHECK(allTaken ? pos == startPos + 8 * n : pos < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const int startPos = in.Byte() % 17 - 1;
  const std::vector<uint8_t> bytes = in.Rest();
  ByteChunk chunk;
  chunk.PutBytes(bytes.data(), static_cast<int>(bytes.size()));

  PresetPlug plug;
  const int pos = plug.UnserializeParams(&chunk, startPos);
  CheckValues(plug, chunk, startPos, pos);
  std::vector<int> everyParam(plug.NParams());
  for (int i = 0; i < plug.NParams(); ++i) everyParam[i] = i;
  FUZZ_CHECK(plug.mNotified == everyParam);

  ByteChunk saved;
  FUZZ_CHECK(plug.SerializeParams(&saved) && saved.Size() == 8 * plug.NParams());
  PresetPlug other;
  FUZZ_CHECK(other.UnserializeParams(&saved, 0) == saved.Size());
  ByteChunk again;
  FUZZ_CHECK(other.SerializeParams(&again) && again.IsEqual(saved));
  return 0;
}
