#include "Target.h"

#include <algorithm>
#include <cmath>

#include "vst3/HostText.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

const EffectModel::Value* EffectModel::Find(ParamID id) const {
  for (const Value& value : values)
    if (value.id == id) return &value;
  return nullptr;
}

Target::Target()
    : context(new vst3host::HostContext("Grittlebox Torture Host")), handler(new CountingHandler) {}

Target::~Target() {
  if (component) {
    component->setActive(false);
    component->terminate();
  }
  if (units) units->release();
  if (controller) controller->release();
  if (processor) processor->release();
  if (component) component->release();
  handler->release();
  context->release();
}

bool Target::Open(const std::string& bundle, std::string* error) {
  if (!mModule.Load(bundle)) {
    *error = mModule.Error();
    return false;
  }
  PClassInfo info;
  void* made = nullptr;
  if (mModule.Factory()->getClassInfo(0, &info) != kResultOk ||
      mModule.Factory()->createInstance(info.cid, IComponent::iid, &made) != kResultOk || !made) {
    *error = "the factory made no effect";
    return false;
  }
  component = static_cast<IComponent*>(made);
  component->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor));
  component->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller));
  component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units));
  if (!processor || !controller || !units) {
    *error = "the effect is not one object with processor, controller and units";
    return false;
  }
  if (component->initialize(context) != kResultOk) {
    *error = "the effect refused initialize";
    return false;
  }
  controller->setComponentHandler(handler);
  return Learn(error);
}

bool Target::Learn(std::string* error) {
  for (int32 i = 0; i < controller->getParameterCount(); ++i) {
    ParameterInfo info = {};
    if (controller->getParameterInfo(i, info) != kResultOk) continue;
    if (info.flags & ParameterInfo::kIsBypass) {
      model.bypassId = info.id;
      model.hasBypass = true;
      continue;
    }
    model.values.push_back({info.id, NarrowString(info.title),
                            controller->normalizedParamToPlain(info.id, 0.0),
                            controller->normalizedParamToPlain(info.id, 1.0)});
  }
  std::sort(model.values.begin(), model.values.end(),
            [](const EffectModel::Value& a, const EffectModel::Value& b) { return a.id < b.id; });
  const EffectModel::Value* out = nullptr;
  for (const EffectModel::Value& value : model.values)
    if (value.title == "Out") out = &value;
  if (model.values.empty() || !out || !model.hasBypass) {
    *error = "the effect does not show the parameters of the clipper (an Out gain and a bypass)";
    return false;
  }
  // The effect's gain convention: 6.014 dB per doubling.
  model.outputBound = std::pow(2.0, out->hi / 6.014);
  return true;
}
