#include "framework/IPlugBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "detail/IPlugChannels.h"
#include "editor/IGraphics.h"
#include "framework/Trace.h"

namespace {

template <size_t N> void CopyName(char (&field)[N], const char* text) {
  snprintf(field, N, "%s", text ? text : "");
}

// Input i to output i where both exist, the other outputs zeroed.
template <typename T>
void CopyMatchingChannels(T** inputs, T** outputs, int nFrames, int nInputs, int nOutputs) {
  if (nFrames <= 0 || !outputs) return;
  const size_t bytes = sizeof(T) * static_cast<size_t>(nFrames);
  for (int i = 0; i < nOutputs; ++i) {
    if (i < nInputs && inputs && inputs[i]) {
      if (outputs[i] != inputs[i]) memmove(outputs[i], inputs[i], bytes);
    } else if (outputs[i]) {
      memset(outputs[i], 0, bytes);
    }
  }
}

} // namespace

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
                     int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks,
                     bool plugIsInst, EAPI plugAPI)
    : mUniqueID(uniqueID), mMfrID(mfrID), mVersion(vendorVersion), mAPI(plugAPI),
      mStateChunks(plugDoesChunks), mIsInst(plugIsInst), mDoesMIDI(plugDoesMidi),
      mLatency(latency) {
  Trace("IPlugBase", __LINE__, "%s:%s", effectName ? effectName : "", CurrentTime());
  mPreviousPath.Set("");
  for (int i = 0; i < nParams; ++i) mParams.Add(new IParam);
  for (int i = 0; i < nPresets; ++i) mPresets.Add(new IPreset);
  CopyName(mEffectName, effectName);
  CopyName(mProductName, productName);
  CopyName(mMfrName, mfrName);
  mChannels = new IPlugChannels(channelIOStr);
  mNInChannels = mChannels->mIn.Size();
  mNOutChannels = mChannels->mOut.Size();
}

IPlugBase::~IPlugBase() {
  delete mGraphics;
  mGraphics = nullptr;
  mParams.Empty(true);
  mPresets.Empty(true);
  delete mChannels;
}

void IPlugBase::Reset() {
  WDL_MutexLock lock(&mMutex);
}

void IPlugBase::OnParamChange(int) {
  WDL_MutexLock lock(&mMutex);
}

void IPlugBase::OnActivate(bool) {
  WDL_MutexLock lock(&mMutex);
}

void IPlugBase::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) {
  CopyMatchingChannels(inputs, outputs, nFrames, NInChannels(), NOutChannels());
}

void IPlugBase::ProcessSingleReplacing(float** inputs, float** outputs, int nFrames) {
  CopyMatchingChannels(inputs, outputs, nFrames, NInChannels(), NOutChannels());
}

void IPlugBase::ProcessMidiMsg(IMidiMsg* msg) {
  SendMidiMsg(msg);
}

bool IPlugBase::MidiNoteName(int, char* name) {
  if (name) name[0] = 0;
  return false;
}

bool IPlugBase::CompareState(const unsigned char* incomingState, int startPos) {
  if (!incomingState || startPos < 0) return false;
  for (int i = 0; i < NParams(); ++i) {
    double stored;
    memcpy(&stored, incomingState + (static_cast<size_t>(startPos) + i) * sizeof(double),
           sizeof stored);
    const float difference = static_cast<float>(stored) - static_cast<float>(GetParam(i)->Value());
    if (!(std::fabs(difference) < 1e-5f)) return false;
  }
  return true;
}

void IPlugBase::SetParameterFromGUI(int paramIdx, double normalizedValue) {
  Trace("SetParameterFromGUI", __LINE__, "%d:%f", paramIdx, normalizedValue);
  WDL_MutexLock lock(&mMutex);
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  param->SetNormalized(normalizedValue);
  InformHostOfParamChange(paramIdx, normalizedValue);
  OnParamChange(paramIdx);
}

// As a block's parameter changes are applied: inside the lock, so that the
// value, the editor, the plug-in's derived values and the saved state change
// together and never in the middle of a block.
void IPlugBase::SetParameterFromHost(int paramIdx, double normalizedValue) {
  WDL_MutexLock lock(&mMutex);
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  param->SetNormalized(normalizedValue);
  if (mGraphics) mGraphics->SetParameterFromPlug(paramIdx, param->GetNormalized(), true);
  OnParamChange(paramIdx);
}

void IPlugBase::SetBypassed(bool bypassed) {
  WDL_MutexLock lock(&mMutex);
  mIsBypassed.store(bypassed, std::memory_order_relaxed);
}

void IPlugBase::AttachGraphics(IGraphics* graphics) {
  if (!graphics) return;
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < NParams(); ++i)
    graphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  graphics->PrepDraw();
  // Attaching a second editor must not leak the first.
  if (mGraphics && mGraphics != graphics) delete mGraphics;
  mGraphics = graphics;
}

// Without room for the new delay, bypass falls back to a plain copy.
void IPlugBase::SetLatency(int samples) {
  mLatency = samples;
  if (IBypassDelayLine* delay = mChannels->DelayLine()) delay->SetDelay(samples);
}

void IPlugBase::RedrawParamControls() {
  if (!mGraphics) return;
  for (int i = 0; i < NParams(); ++i)
    mGraphics->SetParameterFromPlug(i, GetParam(i)->Value(), false);
}

void IPlugBase::OnParamReset() {
  for (int i = 0; i < NParams(); ++i) OnParamChange(i);
}

void IPlugBase::DirtyParameters() {
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < NParams(); ++i) InformHostOfParamChange(i, GetParam(i)->GetNormalized());
}

int IPlugBase::GetEffectVersion(bool decimal) const {
  return decimal ? GetDecimalVersion(mVersion) : mVersion;
}

void IPlugBase::GetEffectVersionStr(char* text) const {
  GetVersionStr(mVersion, text);
}

int IPlugBase::GetHostVersion(bool decimal) {
  GetHost();
  return decimal ? GetDecimalVersion(mHostVersion) : mHostVersion;
}

void IPlugBase::GetHostVersionStr(char* text) {
  GetHost();
  GetVersionStr(mHostVersion, text);
}

const char* IPlugBase::GetAPIString() {
  return ::GetAPIString(GetAPI());
}

const char* IPlugBase::GetArchString() const {
  return ::GetArchString();
}

void IPlugBase::SetHost(const char* host, int version) {
  mHost = LookUpHost(host);
  mHostVersion = version;
  char name[32], versionText[32];
  GetHostNameStr(mHost, name);
  GetVersionStr(version, versionText);
  Trace("SetHost", __LINE__, "host_%sknown:%s:%s", mHost == kHostUnknown ? "un" : "", name,
        versionText);
}

double IPlugBase::GetSamplesPerBeat() {
  const double tempo = GetTempo();
  return tempo > 0.0 ? mSampleRate * 60.0 / tempo : 0.0;
}

bool IPlugBase::SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* msgs) {
  bool ok = true;
  if (!msgs) return ok;
  IMidiMsg* list = msgs->Get();
  for (int i = 0; i < msgs->GetSize(); ++i) ok &= SendMidiMsg(&list[i]);
  return ok;
}
