// The user-interface thread's saved-state steps: saves into plain and failing
// streams, restores of saved, made, cut, padded, damaged and random states
// through plain and misbehaving streams.
#include <cmath>
#include <cstring>
#include <limits>

#include "OddValues.h"
#include "UiDriver.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const size_t kSnapshots = 8;

double ValueAt(const std::vector<uint8_t>& bytes, size_t index) {
  double value;
  memcpy(&value, bytes.data() + 8 * index, sizeof value);
  return value;
}

int32_t BypassOf(const std::vector<uint8_t>& bytes) {
  int32_t bypass;
  memcpy(&bypass, bytes.data() + bytes.size() - 4, sizeof bypass);
  return bypass;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < bytes.size() && i < 40; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return bytes.size() > 40 ? text + "..." : text;
}

} // namespace

std::string UiDriver::StateProblem(const std::vector<uint8_t>& bytes) const {
  const EffectModel& model = mTarget->model;
  if (bytes.size() != model.StateSize())
    return std::to_string(bytes.size()) + " bytes, not " + std::to_string(model.StateSize());
  for (size_t i = 0; i < model.values.size(); ++i) {
    const double value = ValueAt(bytes, i);
    if (!(value >= model.values[i].lo && value <= model.values[i].hi))
      return model.values[i].title + " is " + std::to_string(value) + ", outside its range";
  }
  const int32_t bypass = BypassOf(bytes);
  if (bypass != 0 && bypass != 1) return "bypass flag " + std::to_string(bypass);
  return "";
}

bool UiDriver::Save(std::vector<uint8_t>* bytes) {
  OddStream* stream = new OddStream;
  tresult result = kInternalError;
  const bool answered =
      mDriver->Call("getState", [&] { result = mTarget->controller->getState(stream); });
  *bytes = stream->Bytes();
  stream->release();
  if (!answered) return false;
  if (result != kResultOk) {
    mDriver->Fail("state not saved", "getState answered " + std::to_string(result));
    return false;
  }
  const std::string problem = StateProblem(*bytes);
  if (!problem.empty()) {
    mDriver->Fail("saved state invalid", problem + ": " + Hex(*bytes));
    return false;
  }
  return true;
}

// A state any version of the effect could have saved: values in range, edges
// included, and a bypass flag of 0 or 1.
std::vector<uint8_t> UiDriver::CanonicalState() {
  Rng& rng = mDriver->Random();
  const EffectModel& model = mTarget->model;
  std::vector<uint8_t> bytes(model.StateSize());
  for (size_t i = 0; i < model.values.size(); ++i) {
    const EffectModel::Value& param = model.values[i];
    const uint32_t roll = rng.Below(10);
    const double value =
        roll == 0 ? param.lo : (roll == 1 ? param.hi : rng.Uniform(param.lo, param.hi));
    memcpy(bytes.data() + 8 * i, &value, sizeof value);
  }
  const int32_t bypass = static_cast<int32_t>(rng.Below(2));
  memcpy(bytes.data() + bytes.size() - 4, &bypass, sizeof bypass);
  return bytes;
}

// What the controller answers must be what the state holds.
void UiDriver::CheckAgainstController(const std::vector<uint8_t>& bytes) {
  const EffectModel& model = mTarget->model;
  IEditController* controller = mTarget->controller;
  for (size_t i = 0; i < model.values.size(); ++i) {
    double fromState = 0.0, read = 0.0;
    const ParamID id = model.values[i].id;
    if (!mDriver->Call("getParamNormalized", [&] {
          fromState = controller->plainParamToNormalized(id, ValueAt(bytes, i));
          read = controller->getParamNormalized(id);
        }))
      return;
    if (fromState != read)
      mDriver->Fail("saved state disagrees with the controller",
                    model.values[i].title + ": state " + std::to_string(ValueAt(bytes, i)) + " (" +
                        std::to_string(fromState) + "), controller " + std::to_string(read));
  }
  double bypass = 0.0;
  if (!mDriver->Call("getParamNormalized",
                     [&] { bypass = controller->getParamNormalized(model.bypassId); }))
    return;
  if (bypass != static_cast<double>(BypassOf(bytes)))
    mDriver->Fail("saved state disagrees with the controller",
                  "bypass: state " + std::to_string(BypassOf(bytes)) + ", controller " +
                      std::to_string(bypass));
}

void UiDriver::SaveState(const RoundSetup& round) {
  Rng& rng = mDriver->Random();
  const uint32_t roll = rng.Below(100);
  if (roll < 75) {
    std::vector<uint8_t> bytes;
    if (!Save(&bytes)) return;
    if (round.quiet) CheckAgainstController(bytes);
    if (mSnapshots.size() == kSnapshots) mSnapshots.erase(mSnapshots.begin());
    mSnapshots.push_back(bytes);
    return;
  }
  // A stream that cannot take the whole state, throws, or none at all.
  const bool none = roll >= 95;
  const size_t limit = rng.Below(static_cast<uint32_t>(mTarget->model.StateSize()));
  const OddStream::Fault fault =
      roll >= 90 ? OddStream::Fault::kThrows : OddStream::Fault::kRunsOut;
  OddStream* stream = none ? nullptr : new OddStream(fault, limit);
  tresult result = kInternalError;
  mDriver->Call("getState", [&] { result = mTarget->controller->getState(stream); });
  if (stream) stream->release();
  if (result == kResultOk)
    mDriver->Fail("a failed save reported as success",
                  none ? "null stream"
                       : (fault == OddStream::Fault::kThrows
                              ? "a stream that throws"
                              : "stream full after " + std::to_string(limit) + " bytes"));
}

void UiDriver::RestoreState(const RoundSetup& round) {
  Rng& rng = mDriver->Random();
  const EffectModel& model = mTarget->model;
  const size_t size = model.StateSize();
  std::vector<uint8_t> before;
  if (round.quiet && !Save(&before)) return;

  std::vector<uint8_t> bytes = !mSnapshots.empty() && rng.Percent(60)
                                   ? mSnapshots[rng.Below(static_cast<uint32_t>(mSnapshots.size()))]
                                   : CanonicalState();
  // Restoring a state the plug-in could have saved must succeed and give it
  // back; the other kinds may be refused, but then must change nothing.
  bool canonical = true, mustTake = true;
  OddStream::Fault fault = OddStream::Fault::kNone;
  size_t limit = 0;
  bool nullStream = false;
  const uint32_t roll = rng.Below(100);
  if (roll < 45) {
  } else if (roll < 55) {
    bytes.resize(rng.Below(static_cast<uint32_t>(size)));
    mustTake = false;
  } else if (roll < 60) {
    for (int i = rng.Between(1, 16); i > 0; --i) bytes.push_back(static_cast<uint8_t>(rng.Next()));
  } else if (roll < 75) {
    canonical = mustTake = false;
    if (rng.Percent(70)) {
      const double odd = OddDouble(rng);
      memcpy(bytes.data() + 8 * rng.Below(static_cast<uint32_t>(model.values.size())), &odd,
             sizeof odd);
    } else {
      const int32_t bypass = rng.Percent(50) ? 7 : static_cast<int32_t>(rng.Next());
      memcpy(bytes.data() + size - 4, &bypass, sizeof bypass);
    }
  } else if (roll < 83) {
    canonical = mustTake = false;
    bytes.resize(rng.Below(64));
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(rng.Next());
  } else if (roll < 97) {
    static const OddStream::Fault kFaults[] = {
        OddStream::Fault::kRunsOut, OddStream::Fault::kPieces, OddStream::Fault::kOverstates,
        OddStream::Fault::kNegative, OddStream::Fault::kThrows};
    fault = rng.Pick(kFaults);
    limit = rng.Below(static_cast<uint32_t>(size + 1));
    mustTake = false;
  } else {
    nullStream = true;
    mustTake = false;
  }

  OddStream* stream = nullStream ? nullptr : new OddStream(bytes, fault, limit);
  tresult result = kInternalError;
  const bool answered =
      mDriver->Call("setState", [&] { result = mTarget->controller->setState(stream); });
  if (stream) stream->release();
  if (!answered) return;
  if (mustTake && result != kResultOk) {
    mDriver->Fail("a saved state refused",
                  "setState answered " + std::to_string(result) + " to " + Hex(bytes));
    return;
  }
  CheckRestored(round, before, canonical ? &bytes : nullptr, result);
}

// After a restore: the state is a valid one; in a quiet round a taken state
// begins with exactly the bytes given and a refused one changed nothing.
void UiDriver::CheckRestored(const RoundSetup& round, const std::vector<uint8_t>& before,
                             const std::vector<uint8_t>* expectPrefix, tresult result) {
  std::vector<uint8_t> after;
  if (!Save(&after) || !round.quiet) return;
  if (result != kResultOk) {
    if (after != before)
      mDriver->Fail("a refused state changed the plug-in",
                    "before " + Hex(before) + ", after " + Hex(after));
    return;
  }
  if (expectPrefix) {
    const size_t n = expectPrefix->size() < after.size() ? expectPrefix->size() : after.size();
    if (memcmp(after.data(), expectPrefix->data(), n) != 0)
      mDriver->Fail("a restore does not give back the saved state",
                    "restored " + Hex(*expectPrefix) + ", saved " + Hex(after));
    return;
  }
  // A taken state that was not canonical must still restore to itself.
  OddStream* again = new OddStream(after);
  tresult second = kInternalError;
  mDriver->Call("setState", [&] { second = mTarget->controller->setState(again); });
  again->release();
  std::vector<uint8_t> third;
  if (second != kResultOk || !Save(&third) || third != after)
    mDriver->Fail("a restore does not give back the saved state",
                  "restoring " + Hex(after) + " answered " + std::to_string(second) +
                      " and saved " + Hex(third));
}

// The component's own pair: whatever it saves it must take back.
void UiDriver::ComponentState(const RoundSetup&) {
  Rng& rng = mDriver->Random();
  IComponent* component = mTarget->component;
  OddStream* saved = new OddStream;
  tresult result = kInternalError;
  if (!mDriver->Call("component getState", [&] { result = component->getState(saved); })) {
    saved->release();
    return;
  }
  std::vector<uint8_t> bytes = saved->Bytes();
  saved->release();
  if (result == kResultOk) {
    OddStream* back = new OddStream(bytes);
    tresult taken = kInternalError;
    mDriver->Call("component setState", [&] { taken = component->setState(back); });
    back->release();
    if (taken != kResultOk)
      mDriver->Fail("a saved state refused", "the component refused its own " + Hex(bytes));
  }
  std::vector<uint8_t> junk(rng.Below(48));
  for (uint8_t& byte : junk) byte = static_cast<uint8_t>(rng.Next());
  OddStream* odd = new OddStream(junk);
  mDriver->Call("component setState", [&] { component->setState(odd); });
  odd->release();
}
