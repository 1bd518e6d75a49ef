// Component and audio-processor side: buses, setup, activation and process.
// Everything reached from process() is allocation-free; buffers and tables
// are sized at construction and in setupProcessing.
#include <cmath>

#include "detail/HostCall.h"
#include "detail/ListParameter.h"
#include "editor/IGraphics.h"
#include "framework/IMidiMsg.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "vst3/HostText.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using vst3binding::HostCall;

namespace {

int SpeakerCount(SpeakerArrangement arr) {
  return SpeakerArr::getChannelCount(arr);
}

} // namespace

// A throw part-way (a failed allocation, a host context that throws) undoes
// what was built, so that the host may release the object or try again.
tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context) {
  bool finished = false;
  const tresult result = HostCall([&] {
    const tresult built = Initialize(context);
    finished = true;
    return built;
  });
  if (!finished) terminate();
  return result;
}

tresult IPlugVST3::Initialize(FUnknown* context) {
  const tresult result = SingleObjectEffect::initialize(context);
  FUnknownPtr<IHostApplication> app(context);
  if (app) {
    String128 name = {};
    if (app->getName(name) == kResultOk) {
      name[127] = 0;
      char narrow[128];
      NarrowUtf16(name, 128, narrow, sizeof(narrow));
      SetHost(narrow, 0);
    }
  }
  if (result == kResultOk) {
    AddBusesAndBypass();
    ExportParameters();
  }
  OnHostIdentified();
  RestorePreset(0);
  return result;
}

void IPlugVST3::AddBusesAndBypass() {
  String128 name;
  const int nMainIn = NInChannels() - mSideChainChans;
  if (nMainIn >= 1 && nMainIn <= 6) {
    WidenBounded(GetInputBusLabel(0) ? GetInputBusLabel(0)->Get() : "", name);
    addAudioInput(name, getSpeakerArrForChans(nMainIn));
  }
  if (IsInst()) {
    for (int k = 0; 2 * k < NOutChannels(); ++k) {
      WidenBounded(GetOutputBusLabel(k) ? GetOutputBusLabel(k)->Get() : "", name);
      addAudioOutput(name, SpeakerArr::kStereo);
    }
  } else {
    WidenBounded(GetOutputBusLabel(0) ? GetOutputBusLabel(0)->Get() : "", name);
    addAudioOutput(name, getSpeakerArrForChans(NOutChannels()));
  }
  if (mSideChainChans) {
    if (mSideChainChans > 2) mSideChainChans = 2;
    WidenBounded(GetInputBusLabel(1) ? GetInputBusLabel(1)->Get() : "", name);
    addAudioInput(name, getSpeakerArrForChans(mSideChainChans), kAux, 0);
  }
  if (DoesMIDI()) {
    WidenBounded("MIDI Input", name);
    addEventInput(name, 1);
  }
  if (NPresets() > 0) {
    WidenBounded("Preset", name);
    String128 none = {};
    AddParameter(owned(new Parameter(name, kPresetParamId, none, 0, NPresets(),
                                     ParameterInfo::kIsProgramChange, kRootUnitId)));
  }
  if (!IsInst()) {
    WidenBounded("Bypass", name);
    IPtr<StringListParameter> bypass = owned(new vst3binding::ListParameter(
        name, kBypassParamId, nullptr,
        ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass,
        kRootUnitId, 2));
    WidenBounded("off", name);
    bypass->appendString(name);
    WidenBounded("on", name);
    bypass->appendString(name);
    AddParameter(bypass);
  }
}

tresult PLUGIN_API IPlugVST3::terminate() {
  return HostCall([&] {
    mViews.clear();
    return SingleObjectEffect::terminate();
  });
}

// The whole proposal is checked before anything changes, so a refusal leaves
// the buses as they were.
tresult PLUGIN_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                 SpeakerArrangement* outputs, int32 numOuts) {
  return HostCall([&] { return ArrangeBuses(inputs, numIns, outputs, numOuts); });
}

tresult IPlugVST3::ArrangeBuses(SpeakerArrangement* inputs, int32 numIns,
                                SpeakerArrangement* outputs, int32 numOuts) {
  if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return kInvalidArgument;
  const int nIn = numIns > 0 ? SpeakerCount(inputs[0]) : 0;
  const int nOut = numOuts > 0 ? SpeakerCount(outputs[0]) : 0;
  if (numIns != (mSideChainChans ? 2 : 1)) return kResultFalse;
  // The channel configurations count side-chain inputs with the main ones.
  const int nSideChain = mSideChainChans ? SpeakerCount(inputs[1]) : 0;
  if (!LegalIO(nIn + nSideChain, nOut)) return kResultFalse;
  if (numOuts != static_cast<int32>(audioOutputs.size())) return kResultFalse;

  SetInputChannelConnections(0, NInChannels(), false);
  SetOutputChannelConnections(0, NOutChannels(), false);
  String128 name;
  auto* mainIn = static_cast<AudioBus*>(getBus(kAudio, kInput, 0));
  if (mainIn && SpeakerCount(mainIn->getArrangement()) != nIn) {
    audioInputs.erase(audioInputs.begin());
    WidenBounded("Input", name);
    addAudioInput(name, getSpeakerArrForChans(nIn));
  }
  auto* mainOut = static_cast<AudioBus*>(getBus(kAudio, kOutput, 0));
  if (mainOut && SpeakerCount(mainOut->getArrangement()) != nOut) {
    audioOutputs.erase(audioOutputs.begin());
    WidenBounded("Output", name);
    addAudioOutput(name, getSpeakerArrForChans(nOut));
  }
  if (mSideChainChans) {
    const int nSc = nSideChain;
    auto* sideChain = static_cast<AudioBus*>(getBus(kAudio, kInput, 1));
    if (sideChain && SpeakerCount(sideChain->getArrangement()) != nSc) {
      audioInputs.erase(audioInputs.begin() + 1);
      WidenBounded("Sidechain Input", name);
      addAudioInput(name, getSpeakerArrForChans(nSc), kAux, 0);
    }
  }
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize) {
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultOk
                                                                            : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples() {
  return GetLatency() > 0 ? static_cast<uint32>(GetLatency()) : 0;
}

// The bypass flag is kept: a project may have restored it just before.
tresult PLUGIN_API IPlugVST3::setupProcessing(ProcessSetup& setup) {
  return HostCall([&] {
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultOk) return kResultFalse;
    if (setup.maxSamplesPerBlock <= 0) return kResultFalse;
    if (!(setup.sampleRate > 0.0) || !std::isfinite(setup.sampleRate)) return kResultFalse;
    SetSampleRate(setup.sampleRate);
    SetBlockSize(setup.maxSamplesPerBlock);
    Reset();
    processSetup = setup;
    return kResultOk;
  });
}

tresult PLUGIN_API IPlugVST3::setActive(TBool state) {
  return HostCall([&] {
    OnActivate(state != 0);
    return kResultOk;
  });
}

tresult PLUGIN_API IPlugVST3::process(ProcessData& data) {
  return HostCall([&] { return ProcessBlock(data); });
}

tresult IPlugVST3::ProcessBlock(ProcessData& data) {
  WDL_MutexLock hold(GetMutex());
  if (data.processContext) mProcessContext = *data.processContext;
  ApplyParameterChanges(data.inputParameterChanges);
  if (DoesMIDI()) ApplyEvents(data.inputEvents);

  // The host says with each block which sample size its buffers hold.
  const bool use64 = data.symbolicSampleSize == kSample64;
  if (!use64 && data.symbolicSampleSize != kSample32) return kInvalidArgument;
  const int nFrames = data.numSamples > 0 ? data.numSamples : 0;
  ResolveInputs(data, use64);
  ResolveOutputs(data, use64);
  if (use64)
    RunBlock<double>(nFrames);
  else
    RunBlock<float>(nFrames);
  if (nFrames > 0) SetSilenceFlags(data, use64);
  return kResultOk;
}

void IPlugVST3::ApplyParameterChanges(IParameterChanges* changes) {
  if (!changes) return;
  const int32 count = changes->getParameterCount();
  for (int32 i = 0; i < count; ++i) {
    IParamValueQueue* queue = changes->getParameterData(i);
    if (!queue) continue;
    int32 offset = 0;
    ParamValue value = 0.0;
    // Only the last point counts: a block's changes apply to the whole block.
    if (queue->getPoint(queue->getPointCount() - 1, offset, value) != kResultOk) continue;
    if (!std::isfinite(value)) continue;
    const ParamID id = queue->getParameterId();
    if (id == kBypassParamId) {
      const bool bypassed = value > 0.5;
      if (bypassed != GetIsBypassed()) SetBypassed(bypassed);
    } else if (id == kPresetParamId) {
      // Normalized values outside 0..1 would overflow the conversion to an index.
      const double position = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
      if (NPresets() > 0) RestorePreset(static_cast<int>(NPresets() * position));
    } else if (IsValidParamId(id)) {
      const int idx = static_cast<int>(id);
      GetParam(idx)->SetNormalized(value);
      if (GetGUI()) GetGUI()->SetParameterFromPlug(idx, value, true);
      OnParamChange(idx);
    }
  }
}

namespace {
// The message makers store pitch and channel unmasked; a host's event with
// values outside MIDI's ranges would corrupt the status byte.
bool IsMidiNote(int16 pitch, int16 channel) {
  return pitch >= 0 && pitch <= 127 && channel >= 0 && channel <= 15;
}
} // namespace

void IPlugVST3::ApplyEvents(IEventList* events) {
  if (!events) return;
  const int32 count = events->getEventCount();
  for (int32 i = 0; i < count; ++i) {
    Event event = {};
    if (events->getEvent(i, event) != kResultOk) continue;
    IMidiMsg msg;
    if (event.type == Event::kNoteOffEvent) {
      if (!IsMidiNote(event.noteOff.pitch, event.noteOff.channel)) continue;
      msg.MakeNoteOffMsg(event.noteOff.pitch, event.sampleOffset, event.noteOff.channel);
    } else if (event.type == Event::kNoteOnEvent) {
      if (!IsMidiNote(event.noteOn.pitch, event.noteOn.channel)) continue;
      // A velocity outside 0..1 (or NaN) would overflow the conversion.
      const float v = event.noteOn.velocity;
      const int velocity = static_cast<int>((v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f) * 127.0);
      msg.MakeNoteOnMsg(event.noteOn.pitch, velocity, event.sampleOffset, event.noteOn.channel);
    } else {
      continue;
    }
    ProcessMidiMsg(&msg);
  }
}

// A missing bus, a null channel list or a null channel is a disconnected channel.
void IPlugVST3::ResolveInputs(const ProcessData& data, bool use64) {
  void** in = mInPtr.Get();
  const int nIn = NInChannels();
  for (int c = 0; c < nIn; ++c) in[c] = nullptr;
  const int nMain = nIn - mSideChainChans;
  auto take = [&](int bus, int firstChannel, int count) {
    if (bus >= data.numInputs || !data.inputs) return;
    const AudioBusBuffers& buffers = data.inputs[bus];
    void** channels = use64 ? reinterpret_cast<void**>(buffers.channelBuffers64)
                            : reinterpret_cast<void**>(buffers.channelBuffers32);
    if (!channels) return;
    for (int k = 0; k < count && k < buffers.numChannels; ++k) in[firstChannel + k] = channels[k];
  };
  take(0, 0, nMain);
  if (mSideChainChans) {
    Bus* sideChain = getBus(kAudio, kInput, 1);
    mSideChainActive = sideChain && sideChain->isActive() && data.numInputs > 1;
    if (mSideChainActive) take(1, nMain, mSideChainChans);
  }
  for (int c = 0; c < nIn; ++c) SetInputChannelConnections(c, 1, in[c] != nullptr);
}

void IPlugVST3::ResolveOutputs(const ProcessData& data, bool use64) {
  void** out = mOutPtr.Get();
  const int nOut = NOutChannels();
  for (int c = 0; c < nOut; ++c) out[c] = nullptr;
  int c = 0;
  for (int32 j = 0; data.outputs && j < data.numOutputs && c < nOut; ++j) {
    const AudioBusBuffers& buffers = data.outputs[j];
    void** channels = use64 ? reinterpret_cast<void**>(buffers.channelBuffers64)
                            : reinterpret_cast<void**>(buffers.channelBuffers32);
    Bus* bus = getBus(kAudio, kOutput, j);
    const bool active = bus && bus->isActive() && channels;
    for (int k = 0; k < buffers.numChannels && c + k < nOut; ++k)
      if (active) out[c + k] = channels[k];
    c += buffers.numChannels > 0 ? buffers.numChannels : 0;
  }
  for (int k = 0; k < nOut; ++k) SetOutputChannelConnections(k, 1, out[k] != nullptr);
}

namespace {
// The connected channels' buffers in channel order, as the base takes them.
void PackConnected(const WDL_TypedBuf<void*>& channels, WDL_TypedBuf<void*>* packed) {
  int n = 0;
  for (int c = 0; c < channels.GetSize(); ++c)
    if (channels.Get()[c]) packed->Get()[n++] = channels.Get()[c];
}
} // namespace

// The host's buffers are handed to the base as they are; copying, converting
// and slicing are its business.
template <typename T> void IPlugVST3::RunBlock(int nFrames) {
  PackConnected(mInPtr, &mPackedIn);
  PackConnected(mOutPtr, &mPackedOut);
  AttachInputBuffers(0, NInChannels(), reinterpret_cast<T**>(mPackedIn.Get()), nFrames);
  AttachOutputBuffers(0, NOutChannels(), reinterpret_cast<T**>(mPackedOut.Get()));
  if (GetIsBypassed())
    PassThroughBuffers(T(0), nFrames);
  else
    ProcessBuffers(T(0), nFrames);
}

// A channel whose whole block is zero is flagged silent, so hosts can skip it.
void IPlugVST3::SetSilenceFlags(ProcessData& data, bool use64) {
  if (!data.outputs) return;
  for (int32 j = 0; j < data.numOutputs; ++j) {
    AudioBusBuffers& buffers = data.outputs[j];
    void** channels = use64 ? reinterpret_cast<void**>(buffers.channelBuffers64)
                            : reinterpret_cast<void**>(buffers.channelBuffers32);
    if (!channels) continue;
    uint64 flags = 0;
    for (int32 k = 0; k < buffers.numChannels && k < 64; ++k) {
      if (!channels[k]) continue;
      bool silent = true;
      for (int32 s = 0; s < data.numSamples && silent; ++s)
        silent = use64 ? static_cast<const double*>(channels[k])[s] == 0.0
                       : static_cast<const float*>(channels[k])[s] == 0.0f;
      if (silent) flags |= uint64(1) << k;
    }
    buffers.silenceFlags = flags;
  }
}
