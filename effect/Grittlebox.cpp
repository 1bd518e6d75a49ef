#include "effect/Grittlebox.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "editor/IGraphics.h"
#include "effect/ClipKernel.h"
#include "effect/GrittleboxEditor.h"
#include "wdl/mutex.h"

using namespace grittlebox;

namespace {
std::atomic<int> sLiveInstances{0};
}

Grittlebox::Grittlebox(IPlugInstanceInfo instanceInfo)
    : GrittleboxBinding(instanceInfo, kNumParams, kChannelIO, kNumPresets, kEffectName,
                        kProductName, kMfrName, kVendorVersion, kUniqueID, kMfrID, kLatency,
                        kDoesMidi, kDoesStateChunks, kIsInstrument, kSideChainChannels) {
  ++sLiveInstances;
  for (int i = 0; i < kNumParams; ++i) {
    const ParamSpec& spec = kParamSpecs[i];
    GetParam(i)->InitDouble(spec.name, spec.defaultValue, spec.minValue, spec.maxValue, spec.step,
                            spec.label, "", 1.0);
    GetParam(i)->SetShape(1.0);
  }
  SetInputsReadOnly(true);
  SetProcessesSingleReplacing(true);
  // A fresh instance sounds and reads as its parameters say (threshold 0.4 at
  // the Distort default, not 1.0), before any host notification.
  OnParamReset();
  // The editor comes last: it reads the parameters' values as its defaults.
  AttachGraphics(BuildEditor(MakeGraphics(this, kEditorWidth, kEditorHeight, 0), this));
}

Grittlebox::~Grittlebox() {
  --sLiveInstances;
}

int Grittlebox::LiveInstances() {
  return sLiveInstances.load();
}

void Grittlebox::OnParamChange(int paramIdx) {
  WDL_MutexLock lock(GetMutex());
  switch (paramIdx) {
  case kIn:
    mInDB = GetParam(kIn)->Value();
    mGainIn = GainFromDB(mInDB);
    SetParamText(kIn, mInReadout);
    break;
  case kOut:
    mOutDB = GetParam(kOut)->Value();
    mGainOut = GainFromDB(mOutDB);
    SetParamText(kOut, mOutReadout);
    break;
  case kDistort:
    mThreshold = ThresholdFromDistort(GetParam(kDistort)->Value());
    SetParamText(kDistort, mDistortReadout);
    break;
  default:
    break;
  }
}

void Grittlebox::Reset() {
  WDL_MutexLock lock(GetMutex());
}

// "-3.46 dB" for the gains; Distort shows whole percent, the digits before the
// point of its two-decimal text ("89 %" at 89.99).
void Grittlebox::SetParamText(int paramIdx, Readout* readout) {
  IParam* param = GetParam(paramIdx);
  if (!param || !readout) return;
  char value[IParam::kTextLength];
  param->GetDisplayForHost(param->Value(), false, value, true);
  if (paramIdx == kDistort) snprintf(value, sizeof value, "%d", atoi(value));
  char text[IParam::kTextLength * 2 + 2];
  snprintf(text, sizeof text, "%s %s", value, param->GetLabelForHost());
  readout->SetTextFromPlug(text);
}

void Grittlebox::SetReadouts(Readout* in, Readout* out, Readout* distort) {
  WDL_MutexLock lock(GetMutex());
  mInReadout = in;
  mOutReadout = out;
  mDistortReadout = distort;
}

// The gains are the same for every sample of a block (the plug-in lock keeps
// parameters still during it), so they are computed when a parameter changes;
// the result is bit-identical to computing them per sample. The kernel says
// whether it wrote silence, which spares the host's silence flags a scan.
template <typename Sample> void Grittlebox::Clip(Sample** inputs, Sample** outputs, int nFrames) {
  if (nFrames <= 0) return;
  for (int c = 0; c < 2; ++c)
    ReportOutputSilence(c,
                        ClipBlock(inputs[c], outputs[c], nFrames, mGainIn, mThreshold, mGainOut));
}

void Grittlebox::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) {
  Clip(inputs, outputs, nFrames);
}

void Grittlebox::ProcessSingleReplacing(float** inputs, float** outputs, int nFrames) {
  Clip(inputs, outputs, nFrames);
}

bool Grittlebox::PassesSilence() {
  return KeepsZeros(mGainIn, mThreshold, mGainOut);
}

Grittlebox* MakePlug() {
  static WDL_Mutex sMakeLock;
  WDL_MutexLock lock(&sMakeLock);
  try {
    return new Grittlebox(IPlugInstanceInfo());
  } catch (...) {
    return nullptr; // no exception may reach the host
  }
}
