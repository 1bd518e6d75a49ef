// Construction, interface queries and the host-time queries of the binding.
#include "vst3/IPlugVST3.h"

#include "detail/HostCall.h"
#include "framework/Trace.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using vst3binding::HostCall;

IPlugVST3::IPlugVST3(IPlugInstanceInfo, int nParams, const char* channelIOStr, int nPresets,
                     const char* effectName, const char* productName, const char* mfrName,
                     int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
                     bool plugDoesChunks, bool plugIsInst, int nSideChainChans)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion,
                uniqueID, mfrID, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPIVST3),
      mSideChainChans(nSideChainChans) {
  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  if (NInChannels() >= 1) CreateBypassDelayLine(NInChannels(), NOutChannels());

  SetInputBusLabel(0, "Main Input");
  if (mSideChainChans) SetInputBusLabel(1, "Aux Input");
  if (IsInst()) {
    for (int k = 1; 2 * (k - 1) < NOutChannels(); ++k) {
      WDL_String label;
      label.SetFormatted(32, "Output %i", k);
      SetOutputBusLabel(k - 1, label.Get());
    }
  } else {
    SetOutputBusLabel(0, "Output");
  }

  mTables64.in.Resize(NInChannels());
  mTables64.out.Resize(NOutChannels());
  mTables32.in.Resize(NInChannels());
  mTables32.out.Resize(NOutChannels());
}

IPlugVST3::~IPlugVST3() {
  mViews.clear();
}

SpeakerArrangement IPlugVST3::getSpeakerArrForChans(int channels) {
  switch (channels) {
  case 1:
    return SpeakerArr::kMono;
  case 2:
    return SpeakerArr::kStereo;
  case 3:
    return SpeakerArr::k30Music;
  case 4:
    return SpeakerArr::kAmbi1stOrderACN;
  case 5:
    return SpeakerArr::k50;
  case 6:
    return SpeakerArr::k51;
  default:
    return SpeakerArr::kEmpty;
  }
}

tresult PLUGIN_API IPlugVST3::queryInterface(const TUID iid, void** obj) {
  return HostCall([&]() -> tresult {
    if (!obj) return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IUnitInfo::iid)) {
      addRef();
      *obj = static_cast<IUnitInfo*>(this);
      return kResultOk;
    }
    return SingleObjectEffect::queryInterface(iid, obj);
  });
}

void IPlugVST3::SetLatency(int samples) {
  IPlugBase::SetLatency(samples);
  if (componentHandler) componentHandler->restartComponent(kLatencyChanged);
}

bool IPlugVST3::IsRenderingOffline() {
  return processSetup.processMode == kOffline;
}

int IPlugVST3::GetSamplePos() {
  return static_cast<int>(mProcessContext.projectTimeSamples);
}

double IPlugVST3::GetTempo() {
  return mProcessContext.tempo;
}

void IPlugVST3::GetTimeSig(int* numerator, int* denominator) {
  if (numerator) *numerator = mProcessContext.timeSigNumerator;
  if (denominator) *denominator = mProcessContext.timeSigDenominator;
}

void IPlugVST3::GetTime(ITimeInfo* timeInfo) {
  if (!timeInfo) return;
  const ProcessContext& context = mProcessContext;
  timeInfo->mTempo = context.tempo;
  timeInfo->mSamplePos = static_cast<double>(context.projectTimeSamples);
  timeInfo->mPPQPos = context.projectTimeMusic;
  timeInfo->mLastBar = context.barPositionMusic;
  timeInfo->mCycleStart = context.cycleStartMusic;
  timeInfo->mCycleEnd = context.cycleEndMusic;
  timeInfo->mNumerator = context.timeSigNumerator;
  timeInfo->mDenominator = context.timeSigDenominator;
  timeInfo->mTransportIsRunning = (context.state & ProcessContext::kPlaying) != 0;
  timeInfo->mTransportLoopEnabled = (context.state & ProcessContext::kCycleActive) != 0;
}

// The host-time queries read exactly these fields.
uint32 PLUGIN_API IPlugVST3::getProcessContextRequirements() {
  using Need = IProcessContextRequirements::Flags;
  return Need::kNeedProjectTimeMusic | Need::kNeedBarPositionMusic | Need::kNeedCycleMusic |
         Need::kNeedTempo | Need::kNeedTimeSignature | Need::kNeedTransportState;
}
