// Parameter texts through the controller, as a host's text field hands them
// over: any UTF-16 text for any id. A text is either refused or read as a
// normalized value in 0..1; every value's display text reads back as a value
// whose display text reads back as that value again.
//
// Input: one byte picks the parameter id, eight bytes are a raw normalized
// value for getParamStringByValue, the rest is the text as UTF-16 units
// (little-endian), NUL-terminated by the target.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "FuzzedEffect.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const ParamID kIds[] = {0, 1, 2, 0x62706173 /* bpas */, 0x70727374 /* prst */, 3, 0xFFFFFFFF};
const char16 kUntouched = 0xABCD;

bool Terminated(const String128 text) {
  for (int i = 0; i < 128; ++i)
    if (text[i] == 0) return true;
  return false;
}

// Display text of a value; a refusal leaves the host's buffer as it was.
tresult TextOf(IEditController* controller, ParamID id, ParamValue value, String128 text) {
  for (int i = 0; i < 128; ++i) text[i] = kUntouched;
  const tresult result = controller->getParamStringByValue(id, value, text);
  if (result == kResultOk)
    FUZZ_CHECK(Terminated(text));
  else
    for (int i = 0; i < 128; ++i) FUZZ_CHECK(text[i] == kUntouched);
  return result;
}

tresult ValueOf(IEditController* controller, ParamID id, const char16* text, ParamValue* value) {
  ParamValue read = -1.0;
  const tresult result = controller->getParamValueByString(id, const_cast<char16*>(text), read);
  if (result == kResultOk) FUZZ_CHECK(std::isfinite(read) && read >= 0.0 && read <= 1.0);
  *value = read;
  return result;
}

// A value's text must read back, and the value read must show a text that
// reads back as the same value ("-0.00" and "0.00" both stand for zero).
void CheckDisplayReadsBack(IEditController* controller, ParamID id, ParamValue value) {
  String128 shown, again;
  if (TextOf(controller, id, value, shown) != kResultOk) return;
  ParamValue read = 0.0, readAgain = 0.0;
  FUZZ_CHECK(ValueOf(controller, id, shown, &read) == kResultOk);
  FUZZ_CHECK(TextOf(controller, id, read, again) == kResultOk);
  FUZZ_CHECK(ValueOf(controller, id, again, &readAgain) == kResultOk);
  FUZZ_CHECK(readAgain == read);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzedEffect effect;
  IEditController* controller = effect.Controller();
  FuzzInput in(data, size);
  const ParamID id = kIds[in.Byte() % (sizeof kIds / sizeof kIds[0])];
  const double raw = in.Take<double>();
  const std::vector<uint8_t> rest = in.Rest();
  // Exactly the units given and their terminator: a read past it is an overrun.
  std::vector<char16> text(rest.size() / 2 + 1, 0);
  if (rest.size() >= 2) memcpy(text.data(), rest.data(), rest.size() / 2 * 2);

  String128 shown;
  TextOf(controller, id, raw, shown);
  ParamValue read = 0.0;
  if (ValueOf(controller, id, text.data(), &read) == kResultOk)
    CheckDisplayReadsBack(controller, id, read);
  if (std::isfinite(raw) && raw >= 0.0 && raw <= 1.0) CheckDisplayReadsBack(controller, id, raw);
  return 0;
}
