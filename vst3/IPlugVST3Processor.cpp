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
  NoteActiveBuses();
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
    const tresult result = SingleObjectEffect::terminate();
    NoteActiveBuses();
    return result;
  });
}

tresult PLUGIN_API IPlugVST3::activateBus(MediaType type, BusDirection dir, int32 index,
                                          TBool state) {
  return HostCall([&] {
    const tresult result = SingleObjectEffect::activateBus(type, dir, index, state);
    NoteActiveBuses();
    return result;
  });
}

void IPlugVST3::NoteActiveBuses() {
  uint64_t outputs = 0;
  for (int32 j = 0; j < 64; ++j) {
    Bus* bus = getBus(kAudio, kOutput, j);
    if (!bus) break;
    if (bus->isActive()) outputs |= uint64_t{1} << j;
  }
  mActiveOutputBuses.store(outputs, std::memory_order_relaxed);
  Bus* sideChain = getBus(kAudio, kInput, 1);
  mSideChainBusActive.store(sideChain && sideChain->isActive(), std::memory_order_relaxed);
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
  NoteActiveBuses();
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
  return HostCall([&] { return ProcessHostBlock(data); });
}

tresult IPlugVST3::ProcessHostBlock(ProcessData& data) {
  WDL_MutexLock hold(GetMutex());
  if (data.processContext) mProcessContext = *data.processContext;
  ApplyParameterChanges(data.inputParameterChanges);
  if (DoesMIDI()) ApplyEvents(data.inputEvents);

  // The host says with each block which sample size its buffers hold.
  if (data.symbolicSampleSize == kSample64)
    RunBlock<double>(data);
  else if (data.symbolicSampleSize == kSample32)
    RunBlock<float>(data);
  else
    return kInvalidArgument;
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

namespace {

template <typename T> T** HostChannels(const AudioBusBuffers& buffers);
template <> double** HostChannels<double>(const AudioBusBuffers& buffers) {
  return buffers.channelBuffers64;
}
template <> float** HostChannels<float>(const AudioBusBuffers& buffers) {
  return buffers.channelBuffers32;
}

// Every sample a zero of either sign: what a host's silence flag says.
template <typename T> bool IsSilent(const T* samples, int32 nFrames) {
  for (int32 s = 0; s < nFrames; ++s)
    if (samples[s] != T(0)) return false;
  return true;
}

} // namespace

template <> IPlugVST3::ChannelTables<double>& IPlugVST3::TablesFor<double>() {
  return mTables64;
}
template <> IPlugVST3::ChannelTables<float>& IPlugVST3::TablesFor<float>() {
  return mTables32;
}

// The host's buffers are handed to the base as they are; copying, converting,
// slicing and passing silence are its business.
template <typename T> void IPlugVST3::RunBlock(ProcessData& data) {
  const int nFrames = data.numSamples > 0 ? data.numSamples : 0;
  if (RunMainBuses<T>(data, nFrames)) return;
  ChannelTables<T>& tables = TablesFor<T>();
  const uint64_t silentInputs = ResolveInputs(data, tables.in.Get());
  ResolveOutputs(data, tables.out.Get());
  const IOutputSilence silence =
      ProcessBlock<T>(tables.in.Get(), tables.out.Get(), nFrames, silentInputs);
  if (nFrames > 0) SetSilenceFlags(data, tables.out.Get(), silence);
}

namespace {

// Host bus channels first .. first + count - 1 into the table from channel
// `to` on, null where the bus has no channel or no list; returns the bus's
// silence flags moved to the table's channel numbers.
template <typename T>
uint64_t TakeChannels(const AudioBusBuffers* bus, T** table, int to, int count) {
  T** channels = bus ? HostChannels<T>(*bus) : nullptr;
  const int given = channels ? (bus->numChannels < count ? bus->numChannels : count) : 0;
  for (int k = 0; k < count; ++k) table[to + k] = k < given ? channels[k] : nullptr;
  if (given <= 0 || to >= 64) return 0;
  const uint64_t mine = given >= 64 ? ~uint64_t{0} : (uint64_t{1} << given) - 1;
  return (bus->silenceFlags & mine) << to;
}

} // namespace

// What most hosts pass: one bus each way with the plug-in's own channel
// counts, the output bus active. The host's channel lists are then the
// plug-in's channel tables as they stand, and when the base tells the silence
// of every output, the flags need no further look.
template <typename T> bool IPlugVST3::RunMainBuses(ProcessData& data, int nFrames) {
  if (mSideChainChans || data.numInputs != 1 || data.numOutputs != 1 || !data.inputs ||
      !data.outputs)
    return false;
  const AudioBusBuffers& in = data.inputs[0];
  AudioBusBuffers& out = data.outputs[0];
  T** ins = HostChannels<T>(in);
  T** outs = HostChannels<T>(out);
  const int nOut = NOutChannels();
  if (!ins || !outs || in.numChannels != NInChannels() || out.numChannels != nOut || nOut > 64 ||
      !(mActiveOutputBuses.load(std::memory_order_relaxed) & 1))
    return false;
  const IOutputSilence silence = ProcessBlock<T>(ins, outs, nFrames, in.silenceFlags);
  if (nFrames <= 0) return true;
  const uint64_t all = nOut == 64 ? ~uint64_t{0} : (uint64_t{1} << nOut) - 1;
  if ((silence.mKnown & all) == all)
    out.silenceFlags = silence.mSilent & all;
  else
    SetSilenceFlags(data, outs, silence);
  return true;
}

// A missing bus, a null channel list or a null channel is a disconnected
// channel. Returns the host's silence flags of the inputs, bit c for channel c.
template <typename T> uint64_t IPlugVST3::ResolveInputs(const ProcessData& data, T** in) {
  const int nMain = NInChannels() - mSideChainChans;
  const AudioBusBuffers* buses = data.inputs;
  uint64_t silent = TakeChannels(buses && data.numInputs > 0 ? &buses[0] : nullptr, in, 0, nMain);
  if (mSideChainChans) {
    mSideChainActive = mSideChainBusActive.load(std::memory_order_relaxed) && data.numInputs > 1;
    silent |=
        TakeChannels(mSideChainActive && buses ? &buses[1] : nullptr, in, nMain, mSideChainChans);
  }
  return silent;
}

template <typename T> void IPlugVST3::ResolveOutputs(const ProcessData& data, T** out) {
  const int nOut = NOutChannels();
  const uint64_t activeBuses = mActiveOutputBuses.load(std::memory_order_relaxed);
  int c = 0;
  for (int32 j = 0; data.outputs && j < data.numOutputs && c < nOut; ++j) {
    const AudioBusBuffers& buffers = data.outputs[j];
    const Bus* bus = j < 64 ? nullptr : getBus(kAudio, kOutput, j);
    const bool active = j < 64 ? (activeBuses >> j & 1) != 0 : bus && bus->isActive();
    const int count = buffers.numChannels < nOut - c ? buffers.numChannels : nOut - c;
    if (count > 0) TakeChannels(active ? &buffers : nullptr, out, c, count);
    c += buffers.numChannels > 0 ? buffers.numChannels : 0;
  }
  for (; c < nOut; ++c) out[c] = nullptr;
}

// A channel whose whole block is zero is flagged silent, so hosts can skip
// it. The base's word is taken for the outputs it wrote itself and told of;
// every other channel the host passed is looked at.
template <typename T>
void IPlugVST3::SetSilenceFlags(ProcessData& data, T* const* out, IOutputSilence silence) {
  if (!data.outputs) return;
  const int nOut = NOutChannels();
  int c = 0;
  for (int32 j = 0; j < data.numOutputs; ++j) {
    AudioBusBuffers& buffers = data.outputs[j];
    T** channels = HostChannels<T>(buffers);
    const int first = c;
    c += buffers.numChannels > 0 ? buffers.numChannels : 0;
    if (!channels) continue;
    uint64 flags = 0;
    for (int32 k = 0; k < buffers.numChannels && k < 64; ++k) {
      if (!channels[k]) continue;
      const int channel = first + k;
      const bool told = channel < nOut && channel < 64 && out[channel] == channels[k] &&
                        (silence.mKnown >> channel & 1);
      const bool silentChannel =
          told ? (silence.mSilent >> channel & 1) != 0 : IsSilent(channels[k], data.numSamples);
      if (silentChannel) flags |= uint64(1) << k;
    }
    buffers.silenceFlags = flags;
  }
}
