#include "UiDriver.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "OddValues.h"
#include "pluginterfaces/gui/iplugview.h"
#include "vst3/HostText.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool Terminated(const TChar* text) {
  for (int i = 0; i < 128; ++i)
    if (text[i] == 0) return true;
  return false;
}

bool InUnit(double v) {
  return std::isfinite(v) && v >= 0.0 && v <= 1.0;
}

std::string Num(double v) {
  char text[40];
  snprintf(text, sizeof text, "%.17g", v);
  return text;
}

std::string Id(ParamID id) {
  return "id " + std::to_string(id);
}

} // namespace

// The editor steps weigh nothing outside the few rounds that open it.
const UiDriver::Kind UiDriver::kKinds[] = {
    {"setParamNormalized", 20, &UiDriver::SetValue},
    {"getParamNormalized", 8, &UiDriver::GetValue},
    {"conversions", 8, &UiDriver::Convert},
    {"getParamStringByValue", 8, &UiDriver::ValueToText},
    {"getParamValueByString", 10, &UiDriver::TextToValue},
    {"information", 6, &UiDriver::AskInfo},
    {"createView", 2, &UiDriver::CreateView},
    {"getState", 8, &UiDriver::SaveState},
    {"setState", 12, &UiDriver::RestoreState},
    {"component state", 2, &UiDriver::ComponentState},
    {"editor", 30, &UiDriver::EditorStep},
};

void UiDriver::StartRound() {
  mEditorRound = mEditor.StartRound();
}

void UiDriver::EndRound() {
  mEditor.Close();
  mEditorRound = false;
}

int UiDriver::Weight(const Kind& kind) const {
  return kind.run == &UiDriver::EditorStep && !mEditorRound ? 0 : kind.weight;
}

void UiDriver::Step(const RoundSetup& round) {
  mDriver->NextStep();
  const Kind& kind =
      mDriver->Random().PickWeighted(kKinds, [this](const Kind& k) { return Weight(k); });
  (this->*kind.run)(round);
}

void UiDriver::EditorStep(const RoundSetup&) {
  mEditor.Step();
}

bool UiDriver::KnownId(ParamID id) const {
  return mTarget->model.Find(id) || id == mTarget->model.bypassId;
}

void UiDriver::SetValue(const RoundSetup& round) {
  Rng& rng = mDriver->Random();
  IEditController* controller = mTarget->controller;
  const ParamID id = ParamId(rng, mTarget->model);
  const double value = NormalizedValue(rng);
  tresult result = kInternalError;
  double after = 0.0;
  if (!mDriver->Call("setParamNormalized",
                     [&] { result = controller->setParamNormalized(id, value); }))
    return;
  if (!mDriver->Call("getParamNormalized", [&] { after = controller->getParamNormalized(id); }))
    return;
  if (!KnownId(id)) return;
  const bool bypass = id == mTarget->model.bypassId;
  if (!InUnit(after) || (bypass && after != 0.0 && after != 1.0)) {
    mDriver->Fail("controller holds an impossible value", Id(id) + " reads " + Num(after) +
                                                              " after setParamNormalized(" +
                                                              Num(value) + ")");
    return;
  }
  if (!round.quiet || result != kResultOk || !InUnit(value)) return;
  const bool same = bypass ? after == (value > 0.5 ? 1.0 : 0.0) : std::fabs(after - value) <= 1e-9;
  if (!same)
    mDriver->Fail("the value set is not the value read",
                  Id(id) + ": set " + Num(value) + ", read " + Num(after));
}

void UiDriver::GetValue(const RoundSetup&) {
  const ParamID id = ParamId(mDriver->Random(), mTarget->model);
  double value = 0.0;
  if (!mDriver->Call("getParamNormalized",
                     [&] { value = mTarget->controller->getParamNormalized(id); }))
    return;
  if (KnownId(id) ? !InUnit(value) : !std::isfinite(value))
    mDriver->Fail("controller holds an impossible value", Id(id) + " reads " + Num(value));
}

// Plain to normalized and back, for values in range and for odd ones.
void UiDriver::Convert(const RoundSetup&) {
  Rng& rng = mDriver->Random();
  IEditController* controller = mTarget->controller;
  const auto& values = mTarget->model.values;
  const EffectModel::Value& param = values[rng.Below(static_cast<uint32_t>(values.size()))];
  const ParamID id = rng.Percent(85) ? param.id : ParamId(rng, mTarget->model);
  const double plain = rng.Percent(70) ? rng.Uniform(param.lo, param.hi) : OddDouble(rng);
  double normalized = 0.0, back = 0.0;
  if (!mDriver->Call("plainParamToNormalized",
                     [&] { normalized = controller->plainParamToNormalized(id, plain); }))
    return;
  if (id != param.id) return;
  if (std::isfinite(plain) && !InUnit(normalized)) {
    mDriver->Fail("plain value converted outside 0..1",
                  Id(id) + ": " + Num(plain) + " gives " + Num(normalized));
    return;
  }
  if (!InUnit(normalized)) return;
  if (!mDriver->Call("normalizedParamToPlain",
                     [&] { back = controller->normalizedParamToPlain(id, normalized); }))
    return;
  const double slack = 1e-9 * (param.hi - param.lo);
  const bool inRange = plain >= param.lo && plain <= param.hi;
  if (!(back >= param.lo - slack && back <= param.hi + slack) ||
      (inRange && std::fabs(back - plain) > slack))
    mDriver->Fail("plain value does not convert back",
                  Id(id) + ": " + Num(plain) + " -> " + Num(normalized) + " -> " + Num(back));
}

void UiDriver::ValueToText(const RoundSetup&) {
  Rng& rng = mDriver->Random();
  IEditController* controller = mTarget->controller;
  const ParamID id = ParamId(rng, mTarget->model);
  const double value = NormalizedValue(rng);
  String128 text;
  for (TChar& unit : text) unit = 0xABCD;
  tresult result = kInternalError;
  if (!mDriver->Call("getParamStringByValue",
                     [&] { result = controller->getParamStringByValue(id, value, text); }))
    return;
  if (result != kResultOk) return;
  if (!Terminated(text)) {
    mDriver->Fail("text not terminated", Id(id) + " value " + Num(value));
    return;
  }
  if (!KnownId(id) || !InUnit(value)) return;
  // What the plug-in shows, the plug-in must read.
  double read = -1.0;
  tresult readResult = kInternalError;
  if (!mDriver->Call("getParamValueByString",
                     [&] { readResult = controller->getParamValueByString(id, text, read); }))
    return;
  if (readResult != kResultOk || !InUnit(read))
    mDriver->Fail("a shown text does not read back",
                  Id(id) + " value " + Num(value) + " shown as '" + NarrowString(text) + "'");
}

void UiDriver::TextToValue(const RoundSetup&) {
  Rng& rng = mDriver->Random();
  const ParamID id = ParamId(rng, mTarget->model);
  std::vector<TChar> text = HostText(rng, mTarget->model);
  double value = -7.0;
  tresult result = kInternalError;
  if (!mDriver->Call("getParamValueByString", [&] {
        result = mTarget->controller->getParamValueByString(id, text.data(), value);
      }))
    return;
  if (result == kResultOk && !InUnit(value))
    mDriver->Fail("a text read as an impossible value", Id(id) + " '" +
                                                            NarrowString(text.data(), text.size()) +
                                                            "' read as " + Num(value));
}

void UiDriver::AskInfo(const RoundSetup&) {
  Rng& rng = mDriver->Random();
  IEditController* controller = mTarget->controller;
  IComponent* component = mTarget->component;
  const int32 oddIndex[] = {-1, 0, 1, 2, 3, 4, 5, 1000, std::numeric_limits<int32>::min()};
  const int32 index = rng.Pick(oddIndex);
  tresult result = kInternalError;
  switch (rng.Below(5)) {
  case 0: {
    ParameterInfo info = {};
    int32 count = 0;
    if (!mDriver->Call("getParameterInfo", [&] {
          count = controller->getParameterCount();
          result = controller->getParameterInfo(index, info);
        }))
      return;
    const bool exists = index >= 0 && index < count;
    if ((result == kResultOk) != exists ||
        (exists && (!Terminated(info.title) || !Terminated(info.units))))
      mDriver->Fail("parameter information wrong", "index " + std::to_string(index) + " of " +
                                                       std::to_string(count) + " answered " +
                                                       std::to_string(result));
    break;
  }
  case 1: {
    UnitInfo info = {};
    if (!mDriver->Call("getUnitInfo", [&] { result = mTarget->units->getUnitInfo(index, info); }))
      return;
    if (result == kResultOk && !Terminated(info.name))
      mDriver->Fail("text not terminated", "unit " + std::to_string(index));
    break;
  }
  case 2: {
    ProgramListInfo list = {};
    String128 name;
    const ProgramListID listId = rng.Percent(50) ? 0x70727374 : index;
    if (!mDriver->Call("program lists", [&] {
          mTarget->units->getProgramListCount();
          mTarget->units->getProgramListInfo(index, list);
          result = mTarget->units->getProgramName(listId, index, name);
        }))
      return;
    if (result == kResultOk && !Terminated(name))
      mDriver->Fail("text not terminated", "program " + std::to_string(index));
    break;
  }
  case 3: {
    BusInfo info = {};
    const MediaType type = rng.Percent(80) ? kAudio : rng.Between(-1, 3);
    const BusDirection direction = rng.Percent(90) ? rng.Between(0, 1) : rng.Between(-1, 3);
    if (!mDriver->Call("getBusInfo", [&] {
          component->getBusCount(type, direction);
          result = component->getBusInfo(type, direction, index, info);
        }))
      return;
    if (result == kResultOk && !Terminated(info.name))
      mDriver->Fail("text not terminated", "bus " + std::to_string(index));
    break;
  }
  default: {
    const int32 size = rng.Between(-2, 3);
    mDriver->Call("processor information", [&] {
      mTarget->processor->getLatencySamples();
      mTarget->processor->getTailSamples();
      mTarget->processor->canProcessSampleSize(size);
      RoutingInfo in = {}, out = {};
      component->getRoutingInfo(in, out);
    });
    break;
  }
  }
}

// Asks for the editor under names hosts use and some they should not.
void UiDriver::CreateView(const RoundSetup&) {
  static const char* const kNames[] = {ViewType::kEditor, "", "nonsense", nullptr};
  const char* name = mDriver->Random().Pick(kNames);
  IPlugView* view = nullptr;
  if (!mDriver->Call("createView", [&] { view = mTarget->controller->createView(name); })) return;
  if (!view) return;
  if (!name || strcmp(name, ViewType::kEditor) != 0)
    mDriver->Fail("a view for an unknown name", name ? name : "(null)");
  mDriver->Call("view", [&] {
    view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID);
    view->release();
  });
}
