#pragma once
// One object that is the component, the audio processor and the edit
// controller at once. The distribution's SDK copy has no such class; this one
// keeps to what the binding needs: bus lists from the SDK's bus classes, the
// stored process setup, and one thread-safe reference count for every
// interface of the object.
#include <atomic>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "public.sdk/source/vst/vstbus.h"
#include "vst3/StatePairs.h"

namespace Steinberg {
namespace Vst {

class SingleComponentEffect : public ControllerStatePair,
                              public ComponentStatePair,
                              public IAudioProcessor,
                              public IProcessContextRequirements {
public:
  SingleComponentEffect();
  ~SingleComponentEffect() override;

  // IPluginBase, reached through both the component and the controller.
  tresult PLUGIN_API initialize(FUnknown* context) override;
  tresult PLUGIN_API terminate() override;

  // IComponent
  tresult PLUGIN_API getControllerClassId(TUID classId) override;
  tresult PLUGIN_API setIoMode(IoMode mode) override;
  int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) override;
  tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                BusInfo& info) override;
  tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
  tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index,
                                 TBool state) override;
  tresult PLUGIN_API setActive(TBool state) override;

  // IEditController: the SDK's container throws on a bad index; refuse it here.
  tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override;

  // IAudioProcessor
  tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                        SpeakerArrangement* outputs, int32 numOuts) override;
  tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index,
                                       SpeakerArrangement& arr) override;
  tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
  uint32 PLUGIN_API getLatencySamples() override { return 0; }
  tresult PLUGIN_API setupProcessing(ProcessSetup& setup) override;
  tresult PLUGIN_API setProcessing(TBool state) override;
  tresult PLUGIN_API process(ProcessData& data) override;
  uint32 PLUGIN_API getTailSamples() override { return kNoTail; }

  // IProcessContextRequirements
  uint32 PLUGIN_API getProcessContextRequirements() override { return 0; }

  // FUnknown, one count for the whole object.
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;

  OBJ_METHODS(SingleComponentEffect, EditController)

protected:
  AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  BusList* getBusList(MediaType type, BusDirection dir);
  // The bus of a list, or null for an index outside it.
  Bus* getBus(MediaType type, BusDirection dir, int32 index);
  void removeAllBusses();

  BusList audioInputs;
  BusList audioOutputs;
  BusList eventInputs;
  BusList eventOutputs;
  ProcessSetup processSetup;

private:
  std::atomic<uint32> mRefCount{1};
};

} // namespace Vst
} // namespace Steinberg
