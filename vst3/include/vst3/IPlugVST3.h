#pragma once
// The VST 3 binding: presents a plug-in built on IPlugBase to a VST 3 host as
// one object that is the component, the audio processor, the edit controller
// and the unit information. It translates host calls into framework calls and
// back; the plug-in's own rules live in framework/.
//
// Processor side: IPlugVST3Processor.cpp. Controller side and units:
// IPlugVST3Controller.cpp. Saved state: IPlugVST3State.cpp.
#include <atomic>
#include <vector>

#include "framework/IPlugBase.h"
#include "framework/IPlugInstanceInfo.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "vst3/SingleObjectEffect.h"

class IPlugVST3View;

class IPlugVST3 : public IPlugBase,
                  public Steinberg::Vst::IUnitInfo,
                  public vst3binding::SingleObjectEffect {
public:
  static constexpr Steinberg::Vst::ParamID kBypassParamId = 0x62706173; // 'bpas'
  static constexpr Steinberg::Vst::ParamID kPresetParamId = 0x70727374; // 'prst'

  IPlugVST3(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
            const char* effectName, const char* productName, const char* mfrName, int vendorVersion,
            int uniqueID, int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks,
            bool plugIsInst, int nSideChainChans = 0);
  ~IPlugVST3() override;

  static Steinberg::Vst::SpeakerArrangement getSpeakerArrForChans(int channels);

  // Component and processor: IPlugVST3Processor.cpp.
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API terminate() override;
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) override;
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type,
                                            Steinberg::Vst::BusDirection dir,
                                            Steinberg::int32 index,
                                            Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
  Steinberg::uint32 PLUGIN_API getLatencySamples() override;
  Steinberg::uint32 PLUGIN_API getProcessContextRequirements() override;

  // Controller: IPlugVST3Controller.cpp.
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID tag) override;
  Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID tag,
                                                   Steinberg::Vst::ParamValue value) override;
  Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(
      Steinberg::Vst::ParamID tag, Steinberg::Vst::ParamValue plainValue) override;
  Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain(
      Steinberg::Vst::ParamID tag, Steinberg::Vst::ParamValue valueNormalized) override;
  Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID tag,
                                                      Steinberg::Vst::ParamValue valueNormalized,
                                                      Steinberg::Vst::String128 string) override;
  Steinberg::tresult PLUGIN_API
  getParamValueByString(Steinberg::Vst::ParamID tag, Steinberg::Vst::TChar* string,
                        Steinberg::Vst::ParamValue& valueNormalized) override;
  // The editor view comes with the editor; until then there is none to give.
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

  // Units and program lists: IPlugVST3Controller.cpp.
  Steinberg::int32 PLUGIN_API getUnitCount() override;
  Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex,
                                            Steinberg::Vst::UnitInfo& info) override;
  Steinberg::int32 PLUGIN_API getProgramListCount() override;
  Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                                   Steinberg::Vst::ProgramListInfo& info) override;
  Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId,
                                               Steinberg::int32 programIndex,
                                               Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId,
                                               Steinberg::int32 programIndex,
                                               Steinberg::Vst::CString attributeId,
                                               Steinberg::Vst::String128 attributeValue) override;
  Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                                     Steinberg::int32 programIndex) override;
  Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId,
                                                    Steinberg::int32 programIndex,
                                                    Steinberg::int16 midiPitch,
                                                    Steinberg::Vst::String128 name) override;
  Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override { return 0; }
  Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID) override {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType,
                                             Steinberg::Vst::BusDirection, Steinberg::int32,
                                             Steinberg::int32, Steinberg::Vst::UnitID&) override {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32, Steinberg::int32,
                                                   Steinberg::IBStream*) override {
    return Steinberg::kNotImplemented;
  }

  // The state: IPlugVST3State.cpp. Both pairs carry the same stream, so
  // hosts and preset files that keep only one of them keep everything.
  Steinberg::tresult PLUGIN_API getEditorState(Steinberg::IBStream* stream) override;
  Steinberg::tresult PLUGIN_API setEditorState(Steinberg::IBStream* stream) override;
  Steinberg::tresult PLUGIN_API getProcessorState(Steinberg::IBStream* stream) override;
  Steinberg::tresult PLUGIN_API setProcessorState(Steinberg::IBStream* stream) override;
  // Processor and controller are one object: the component's state is
  // already restored when the host hands it to the controller.
  Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* stream) override;

  // FUnknown: one object, one count.
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return SingleObjectEffect::addRef(); }
  Steinberg::uint32 PLUGIN_API release() override { return SingleObjectEffect::release(); }

  OBJ_METHODS(IPlugVST3, SingleObjectEffect)

  // IPlugBase operations the binding implements.
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void InformHostOfProgramChange() override {}
  bool IsRenderingOffline() override;
  int GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* timeInfo) override;
  // Asks the host, through the first view, for a new editor size.
  void ResizeGraphics(int w, int h) override;
  void SetLatency(int samples) override;
  bool SendMidiMsg(IMidiMsg*) override { return false; }
  void PopupHostContextMenuForParam(int paramIdx, int x, int y) override;

  // Editor views (IPlugVST3Editor.cpp).
  // The view list, in creation order; the first view takes resize requests
  // and anchors the host's menus. Removing takes the first equal entry, if any.
  void addDependentView(IPlugVST3View* view);
  void removeDependentView(IPlugVST3View* view);

private:
  // The bodies of host calls that HostCall guards (IPlugVST3Processor.cpp).
  Steinberg::tresult Initialize(Steinberg::FUnknown* context);
  Steinberg::tresult ArrangeBuses(Steinberg::Vst::SpeakerArrangement* inputs,
                                  Steinberg::int32 numIns,
                                  Steinberg::Vst::SpeakerArrangement* outputs,
                                  Steinberg::int32 numOuts);
  Steinberg::tresult ProcessHostBlock(Steinberg::Vst::ProcessData& data);
  bool IsValidParamId(Steinberg::Vst::ParamID id) const {
    return id < static_cast<Steinberg::Vst::ParamID>(NParams());
  }
  // Processor helpers (IPlugVST3Processor.cpp).
  void AddBusesAndBypass();
  void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  void ApplyEvents(Steinberg::Vst::IEventList* events);
  void NoteActiveBuses();
  template <typename T> void RunBlock(Steinberg::Vst::ProcessData& data);
  template <typename T> bool RunMainBuses(Steinberg::Vst::ProcessData& data, int nFrames);
  template <typename T> uint64_t ResolveInputs(const Steinberg::Vst::ProcessData& data, T** in);
  template <typename T> void ResolveOutputs(const Steinberg::Vst::ProcessData& data, T** out);
  template <typename T>
  void SetSilenceFlags(Steinberg::Vst::ProcessData& data, T* const* out, IOutputSilence silence);
  // State helpers (IPlugVST3State.cpp), for both pairs.
  Steinberg::tresult SaveState(Steinberg::IBStream* stream);
  Steinberg::tresult RestoreState(Steinberg::IBStream* stream);
  // Controller helpers (IPlugVST3Controller.cpp).
  void ExportParameters();
  void AddParameter(Steinberg::Vst::Parameter* parameter);
  int UnitOfGroup(const char* group);

  int mSideChainChans;
  bool mSideChainActive = false;
  Steinberg::Vst::ProcessContext mProcessContext = {};
  std::vector<IPlugVST3View*> mViews;
  // Distinct non-empty parameter group names, one unit each, filled when the
  // parameters are exported.
  WDL_PtrList<const char> mParamGroups;
  // Per-block channel tables, sized once at construction: the host's buffer
  // for each plug-in channel (null: disconnected), one pair per sample size.
  template <typename T> struct ChannelTables { WDL_TypedBuf<T*> in, out; };
  ChannelTables<double> mTables64;
  ChannelTables<float> mTables32;
  template <typename T> ChannelTables<T>& TablesFor();
  // Which output buses (bit j for bus j < 64) and whether the side-chain bus
  // are active, kept by the main thread whenever buses change so that
  // process() neither looks buses up nor reads what that thread writes.
  std::atomic<uint64_t> mActiveOutputBuses{0};
  std::atomic<bool> mSideChainBusActive{false};
};
