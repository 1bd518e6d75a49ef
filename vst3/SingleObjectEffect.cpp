#include "vst3/SingleObjectEffect.h"

#include "detail/HostCall.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace vst3binding {

SingleObjectEffect::SingleObjectEffect()
    : audioInputs(kAudio, kInput), audioOutputs(kAudio, kOutput), eventInputs(kEvent, kInput),
      eventOutputs(kEvent, kOutput) {
  processSetup.processMode = kRealtime;
  processSetup.symbolicSampleSize = kSample32;
  processSetup.maxSamplesPerBlock = 1024;
  processSetup.sampleRate = 44100.0;
}

SingleObjectEffect::~SingleObjectEffect() = default;

tresult PLUGIN_API SingleObjectEffect::initialize(FUnknown* context) {
  return HostCall([&] { return EditController::initialize(context); });
}

tresult PLUGIN_API SingleObjectEffect::terminate() {
  return HostCall([&] {
    removeAllBusses();
    return EditController::terminate();
  });
}

// A single component has no separate controller class to name.
tresult PLUGIN_API SingleObjectEffect::getControllerClassId(TUID) {
  return kNotImplemented;
}
tresult PLUGIN_API SingleObjectEffect::setIoMode(IoMode) {
  return kNotImplemented;
}
tresult PLUGIN_API SingleObjectEffect::getRoutingInfo(RoutingInfo&, RoutingInfo&) {
  return kNotImplemented;
}
tresult PLUGIN_API SingleObjectEffect::setActive(TBool) {
  return kResultOk;
}
tresult PLUGIN_API SingleObjectEffect::setProcessing(TBool) {
  return kNotImplemented;
}
tresult PLUGIN_API SingleObjectEffect::process(ProcessData&) {
  return kResultOk;
}

tresult PLUGIN_API SingleObjectEffect::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
  return HostCall([&]() -> tresult {
    if (paramIndex < 0 || paramIndex >= parameters.getParameterCount()) return kInvalidArgument;
    return EditController::getParameterInfo(paramIndex, info);
  });
}

BusList* SingleObjectEffect::getBusList(MediaType type, BusDirection dir) {
  if (type == kAudio) return dir == kInput ? &audioInputs : &audioOutputs;
  if (type == kEvent) return dir == kInput ? &eventInputs : &eventOutputs;
  return nullptr;
}

Bus* SingleObjectEffect::getBus(MediaType type, BusDirection dir, int32 index) {
  BusList* list = getBusList(type, dir);
  if (!list || index < 0 || index >= static_cast<int32>(list->size())) return nullptr;
  return list->at(index);
}

void SingleObjectEffect::removeAllBusses() {
  audioInputs.clear();
  audioOutputs.clear();
  eventInputs.clear();
  eventOutputs.clear();
}

AudioBus* SingleObjectEffect::addAudioInput(const TChar* name, SpeakerArrangement arr,
                                            BusType busType, int32 flags) {
  IPtr<AudioBus> bus = owned(new AudioBus(name, busType, flags, arr));
  audioInputs.push_back(IPtr<Bus>(bus));
  return bus;
}

AudioBus* SingleObjectEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr,
                                             BusType busType, int32 flags) {
  IPtr<AudioBus> bus = owned(new AudioBus(name, busType, flags, arr));
  audioOutputs.push_back(IPtr<Bus>(bus));
  return bus;
}

EventBus* SingleObjectEffect::addEventInput(const TChar* name, int32 channels, BusType busType,
                                            int32 flags) {
  IPtr<EventBus> bus = owned(new EventBus(name, busType, flags, channels));
  eventInputs.push_back(IPtr<Bus>(bus));
  return bus;
}

int32 PLUGIN_API SingleObjectEffect::getBusCount(MediaType type, BusDirection dir) {
  return HostCall(0, [&] {
    BusList* list = getBusList(type, dir);
    return list ? static_cast<int32>(list->size()) : 0;
  });
}

tresult PLUGIN_API SingleObjectEffect::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                                  BusInfo& info) {
  return HostCall([&] {
    Bus* bus = getBus(type, dir, index);
    if (!bus) return kInvalidArgument;
    info.mediaType = type;
    info.direction = dir;
    return bus->getInfo(info) ? kResultTrue : kResultFalse;
  });
}

tresult PLUGIN_API SingleObjectEffect::activateBus(MediaType type, BusDirection dir, int32 index,
                                                   TBool state) {
  return HostCall([&] {
    Bus* bus = getBus(type, dir, index);
    if (!bus) return kInvalidArgument;
    bus->setActive(state);
    return kResultTrue;
  });
}

tresult PLUGIN_API SingleObjectEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                          SpeakerArrangement* outputs,
                                                          int32 numOuts) {
  return HostCall([&] {
    if (numIns < 0 || numOuts < 0) return kInvalidArgument;
    if (numIns != static_cast<int32>(audioInputs.size()) ||
        numOuts != static_cast<int32>(audioOutputs.size()))
      return kResultFalse;
    if ((numIns && !inputs) || (numOuts && !outputs)) return kInvalidArgument;
    for (int32 i = 0; i < numIns; ++i)
      static_cast<AudioBus*>(audioInputs.at(i).get())->setArrangement(inputs[i]);
    for (int32 i = 0; i < numOuts; ++i)
      static_cast<AudioBus*>(audioOutputs.at(i).get())->setArrangement(outputs[i]);
    return kResultTrue;
  });
}

tresult PLUGIN_API SingleObjectEffect::getBusArrangement(BusDirection dir, int32 index,
                                                         SpeakerArrangement& arr) {
  return HostCall([&] {
    auto* bus = static_cast<AudioBus*>(getBus(kAudio, dir, index));
    if (!bus) return kInvalidArgument;
    arr = bus->getArrangement();
    return kResultTrue;
  });
}

tresult PLUGIN_API SingleObjectEffect::canProcessSampleSize(int32 symbolicSampleSize) {
  return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleObjectEffect::setupProcessing(ProcessSetup& setup) {
  return HostCall([&] {
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
    processSetup = setup;
    return kResultOk;
  });
}

tresult PLUGIN_API SingleObjectEffect::queryInterface(const TUID iid, void** obj) {
  return HostCall([&]() -> tresult {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    // Component and controller live in one object: there is no peer to connect.
    if (FUnknownPrivate::iidEqual(iid, IConnectionPoint::iid)) return kNoInterface;
    if (FUnknownPrivate::iidEqual(iid, IComponent::iid)) {
      *obj = static_cast<IComponent*>(this);
    } else if (FUnknownPrivate::iidEqual(iid, IAudioProcessor::iid)) {
      *obj = static_cast<IAudioProcessor*>(this);
    } else if (FUnknownPrivate::iidEqual(iid, IProcessContextRequirements::iid)) {
      *obj = static_cast<IProcessContextRequirements*>(this);
    } else {
      return EditController::queryInterface(iid, obj);
    }
    addRef();
    return kResultOk;
  });
}

uint32 PLUGIN_API SingleObjectEffect::addRef() {
  return ++mRefCount;
}

uint32 PLUGIN_API SingleObjectEffect::release() {
  // fetch_sub hands each releasing thread its own result, so exactly one sees zero.
  const uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

} // namespace vst3binding
