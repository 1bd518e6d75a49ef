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

namespace vst3binding {

class SingleObjectEffect : public ControllerStatePair,
                           public ComponentStatePair,
                           public Steinberg::Vst::IAudioProcessor,
                           public Steinberg::Vst::IProcessContextRequirements {
public:
  SingleObjectEffect();
  ~SingleObjectEffect() override;

  // IPluginBase, reached through both the component and the controller.
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API terminate() override;

  // IComponent
  Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) override;
  Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) override;
  Steinberg::int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type,
                                          Steinberg::Vst::BusDirection dir) override;
  Steinberg::tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type,
                                           Steinberg::Vst::BusDirection dir, Steinberg::int32 index,
                                           Steinberg::Vst::BusInfo& info) override;
  Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                               Steinberg::Vst::RoutingInfo& outInfo) override;
  Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type,
                                            Steinberg::Vst::BusDirection dir,
                                            Steinberg::int32 index,
                                            Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;

  // IEditController: the SDK's container throws on a bad index; refuse it here.
  Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                 Steinberg::Vst::ParameterInfo& info) override;

  // IAudioProcessor
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) override;
  Steinberg::tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir,
                                                  Steinberg::int32 index,
                                                  Steinberg::Vst::SpeakerArrangement& arr) override;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
  Steinberg::uint32 PLUGIN_API getLatencySamples() override { return 0; }
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::uint32 PLUGIN_API getTailSamples() override { return Steinberg::Vst::kNoTail; }

  // IProcessContextRequirements
  Steinberg::uint32 PLUGIN_API getProcessContextRequirements() override { return 0; }

  // FUnknown, one count for the whole object.
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  // Run-time class checks keep answering to the name the single-component
  // base has always reported.
  static Steinberg::FClassID getFClassID() { return "SingleComponentEffect"; }
  Steinberg::FClassID isA() const override { return getFClassID(); }
  bool isA(Steinberg::FClassID name) const override { return isTypeOf(name, false); }
  bool isTypeOf(Steinberg::FClassID name, bool askBaseClass = true) const override {
    return classIDsEqual(name, getFClassID()) ||
           (askBaseClass && Steinberg::Vst::EditController::isTypeOf(name, true));
  }

protected:
  Steinberg::Vst::AudioBus*
  addAudioInput(const Steinberg::Vst::TChar* name, Steinberg::Vst::SpeakerArrangement arr,
                Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::AudioBus*
  addAudioOutput(const Steinberg::Vst::TChar* name, Steinberg::Vst::SpeakerArrangement arr,
                 Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                 Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::EventBus*
  addEventInput(const Steinberg::Vst::TChar* name, Steinberg::int32 channels = 16,
                Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::BusList* getBusList(Steinberg::Vst::MediaType type,
                                      Steinberg::Vst::BusDirection dir);
  // The bus of a list, or null for an index outside it.
  Steinberg::Vst::Bus* getBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                              Steinberg::int32 index);
  void removeAllBusses();

  Steinberg::Vst::BusList audioInputs;
  Steinberg::Vst::BusList audioOutputs;
  Steinberg::Vst::BusList eventInputs;
  Steinberg::Vst::BusList eventOutputs;
  Steinberg::Vst::ProcessSetup processSetup;

private:
  std::atomic<Steinberg::uint32> mRefCount{1};
};

} // namespace vst3binding
