// The host's saved state, handed back to the controller's setState: whatever
// the bytes, the effect either takes the stored values (held in their ranges)
// or refuses and keeps what it had, and a saved state always restores to
// itself. The component's state pair is driven with the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "FuzzedEffect.h"

using namespace Steinberg;

namespace {

// The saved state is the parameters' plain values as doubles, then the bypass
// flag as a 32-bit integer.
const size_t kBypassBytes = 4;

std::vector<double> ValuesOf(const std::vector<uint8_t>& state, size_t count) {
  std::vector<double> values(count);
  for (size_t i = 0; i < count && 8 * i + 8 <= state.size(); ++i)
    memcpy(&values[i], &state[8 * i], 8);
  return values;
}

int32_t BypassOf(const std::vector<uint8_t>& state, size_t offset) {
  int32_t bypass = 0;
  memcpy(&bypass, &state[offset], 4);
  return bypass;
}

std::vector<uint8_t> StateOf(const std::vector<double>& values, int32_t bypass) {
  std::vector<uint8_t> state(values.size() * 8 + kBypassBytes);
  memcpy(state.data(), values.data(), values.size() * 8);
  memcpy(&state[values.size() * 8], &bypass, 4);
  return state;
}

// Each parameter's range, learnt through the controller by restoring values
// far beyond every range in both directions.
struct Ranges {
  size_t count = 0;
  std::vector<double> lo, hi;
};

const Ranges& EffectRanges() {
  static const Ranges ranges = [] {
    Ranges r;
    FuzzedEffect effect;
    const std::vector<uint8_t> saved = effect.Save();
    FUZZ_CHECK(saved.size() >= kBypassBytes && (saved.size() - kBypassBytes) % 8 == 0);
    r.count = (saved.size() - kBypassBytes) / 8;
    FUZZ_CHECK(effect.Restore(StateOf(std::vector<double>(r.count, -1e300), 0)) == kResultOk);
    r.lo = ValuesOf(effect.Save(), r.count);
    FUZZ_CHECK(effect.Restore(StateOf(std::vector<double>(r.count, 1e300), 0)) == kResultOk);
    r.hi = ValuesOf(effect.Save(), r.count);
    return r;
  }();
  return ranges;
}

void CheckRestored(const std::vector<uint8_t>& input, const std::vector<uint8_t>& before,
                   const std::vector<uint8_t>& after) {
  const Ranges& r = EffectRanges();
  const std::vector<double> stored = ValuesOf(input, r.count);
  const std::vector<double> held = ValuesOf(after, r.count);
  for (size_t i = 0; i < r.count; ++i) {
    FUZZ_CHECK(std::isfinite(stored[i]));
    FUZZ_CHECK(held[i] == std::min(std::max(stored[i], r.lo[i]), r.hi[i]));
  }
  const size_t bypassAt = r.count * 8;
  const int32_t expected = input.size() >= bypassAt + kBypassBytes ? BypassOf(input, bypassAt) != 0
                                                                   : BypassOf(before, bypassAt);
  FUZZ_CHECK(BypassOf(after, bypassAt) == expected);
}

// A state the component saved restores to exactly itself.
void CheckComponentPair(FuzzedEffect& effect, const std::vector<uint8_t>& input) {
  std::vector<uint8_t> before;
  const tresult saved = effect.SaveComponent(&before);
  const tresult restored = effect.RestoreComponent(input);
  std::vector<uint8_t> after;
  FUZZ_CHECK(effect.SaveComponent(&after) == saved);
  if (restored != kResultOk) FUZZ_CHECK(after == before);
  if (saved != kResultOk) return;
  FUZZ_CHECK(effect.RestoreComponent(after) == kResultOk);
  std::vector<uint8_t> again;
  FUZZ_CHECK(effect.SaveComponent(&again) == kResultOk && again == after);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> input(data, data + size);
  EffectRanges();
  FuzzedEffect effect;
  const std::vector<uint8_t> before = effect.Save();
  const tresult result = effect.Restore(input);
  const std::vector<uint8_t> after = effect.Save();
  FUZZ_CHECK(after.size() == before.size());
  if (result == kResultOk)
    CheckRestored(input, before, after);
  else
    FUZZ_CHECK(after == before); // a refused state loses nothing

  FUZZ_CHECK(effect.Restore(after) == kResultOk);
  FUZZ_CHECK(effect.Save() == after);
  CheckComponentPair(effect, input);
  return 0;
}
