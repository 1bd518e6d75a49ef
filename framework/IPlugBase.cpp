#include "framework/IPlugBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/Trace.h"

namespace {

void CopyName(char* field, const char* text) {
  snprintf(field, IPlugBase::kNameLength, "%s", text ? text : "");
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

  int nIn = 0, nOut = 0;
  ParseChannelIO(channelIOStr, &nIn, &nOut);
  mInData.Resize(nIn);
  mOutData.Resize(nOut);
  for (int i = 0; i < nIn; ++i) {
    InChannel* channel = mInChannels.Add(new InChannel);
    channel->mSrc = mInData.Get() + i;
    *channel->mSrc = nullptr;
  }
  for (int i = 0; i < nOut; ++i) {
    OutChannel* channel = mOutChannels.Add(new OutChannel);
    channel->mDest = mOutData.Get() + i;
    *channel->mDest = nullptr;
  }
}

IPlugBase::~IPlugBase() {
  delete mGraphics;
  mGraphics = nullptr;
  mParams.Empty(true);
  mPresets.Empty(true);
  mInChannels.Empty(true);
  mOutChannels.Empty(true);
  mChannelIO.Empty(true);
  mInputBusLabels.Empty(true);
  mOutputBusLabels.Empty(true);
  delete mDelay;
}

// Tokens such as "2-2" separated by single spaces; an unreadable token counts as 0-0.
void IPlugBase::ParseChannelIO(const char* channelIOStr, int* nInMax, int* nOutMax) {
  for (const char* token = channelIOStr; token;) {
    ChannelIO* io = new ChannelIO;
    (void)sscanf(token, "%d-%d", &io->mIn, &io->mOut);
    if (!mChannelIO.Add(io)) {
      delete io;
      break;
    }
    if (io->mIn > *nInMax) *nInMax = io->mIn;
    if (io->mOut > *nOutMax) *nOutMax = io->mOut;
    token = strchr(token, ' ');
    if (token) ++token;
  }
}

// ---- Base behaviour of the virtual operations ----

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
  if (nFrames <= 0 || !outputs) return;
  const size_t bytes = sizeof(double) * static_cast<size_t>(nFrames);
  for (int i = 0; i < NOutChannels(); ++i) {
    if (i < NInChannels() && inputs && inputs[i]) {
      if (outputs[i] != inputs[i]) memmove(outputs[i], inputs[i], bytes);
    } else if (outputs[i]) {
      memset(outputs[i], 0, bytes);
    }
  }
}

void IPlugBase::ProcessSingleReplacing(float** inputs, float** outputs, int nFrames) {
  if (nFrames <= 0 || !outputs) return;
  const size_t bytes = sizeof(float) * static_cast<size_t>(nFrames);
  for (int i = 0; i < NOutChannels(); ++i) {
    if (i < NInChannels() && inputs && inputs[i]) {
      if (outputs[i] != inputs[i]) memmove(outputs[i], inputs[i], bytes);
    } else if (outputs[i]) {
      memset(outputs[i], 0, bytes);
    }
  }
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

void IPlugBase::AttachGraphics(IGraphicsLink* graphics) {
  if (!graphics) return;
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < NParams(); ++i)
    graphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  graphics->PrepDraw();
  // Attaching a second editor must not leak the first.
  if (mGraphics && mGraphics != graphics) delete mGraphics;
  mGraphics = graphics;
}

void IPlugBase::SetLatency(int samples) {
  mLatency = samples;
  if (!mDelay) return;
  const int64_t delay = samples > 0 ? samples : 0;
  const int64_t total = delay * mDelay->mNIn;
  if (total > INT32_MAX / static_cast<int64_t>(sizeof(double)) ||
      !mDelay->mBuffer.ResizeOK(static_cast<int>(total))) {
    mDelay->mDelay = 0; // no room: bypass falls back to a plain copy
    return;
  }
  mDelay->mDelay = delay;
  mDelay->mWritePos = 0;
  if (total) memset(mDelay->mBuffer.Get(), 0, static_cast<size_t>(total) * sizeof(double));
}

void IPlugBase::RedrawParamControls() {
  if (!mGraphics) return;
  for (int i = 0; i < NParams(); ++i)
    mGraphics->SetParameterFromPlug(i, GetParam(i)->Value(), false);
}

// ---- Parameters ----

void IPlugBase::OnParamReset() {
  for (int i = 0; i < NParams(); ++i) OnParamChange(i);
}

void IPlugBase::DirtyParameters() {
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < NParams(); ++i) InformHostOfParamChange(i, GetParam(i)->GetNormalized());
}

// ---- Identity, host and versions ----

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

// ---- Channels ----

bool IPlugBase::GetChannelIO(int idx, int* nIn, int* nOut) const {
  const ChannelIO* io = mChannelIO.Get(idx);
  if (!io) return false;
  *nIn = io->mIn;
  *nOut = io->mOut;
  return true;
}

bool IPlugBase::LegalIO(int nIn, int nOut) const {
  bool legal = false;
  for (int i = 0; i < NChannelIO() && !legal; ++i) {
    const ChannelIO* io = mChannelIO.Get(i);
    legal = (nIn < 0 || nIn == io->mIn) && (nOut < 0 || nOut == io->mOut);
  }
  Trace("LegalIO", __LINE__, "%d:%d:%s", nIn, nOut, legal ? "legal" : "illegal");
  return legal;
}

void IPlugBase::LimitToStereoIO() {
  if (NInChannels() > 2) SetInputChannelConnections(2, NInChannels() - 2, false);
  if (NOutChannels() > 2) SetOutputChannelConnections(2, NOutChannels() - 2, true);
}

namespace {
// The channels idx .. idx + n - 1 that exist, computed without overflow.
void ClampRange(int idx, int n, int count, int* first, int* end) {
  const int64_t last = static_cast<int64_t>(idx) + n;
  *first = idx < 0 ? 0 : idx;
  *end = static_cast<int>(last < count ? (last < 0 ? 0 : last) : count);
}
} // namespace

void IPlugBase::SetInputChannelConnections(int idx, int n, bool connected) {
  int first, end;
  ClampRange(idx, n, NInChannels(), &first, &end);
  for (int i = first; i < end; ++i) {
    InChannel* channel = mInChannels.Get(i);
    channel->mConnected = connected;
    if (!connected) {
      channel->mHostSrc = nullptr;
      channel->mHostSrc32 = nullptr;
      *channel->mSrc = channel->mScratchBuf.Get();
    }
  }
}

void IPlugBase::SetOutputChannelConnections(int idx, int n, bool connected) {
  int first, end;
  ClampRange(idx, n, NOutChannels(), &first, &end);
  for (int i = first; i < end; ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    channel->mConnected = connected;
    if (!connected) {
      channel->mHostDest = nullptr;
      channel->mFDest = nullptr;
      *channel->mDest = channel->mScratchBuf.Get();
    }
  }
}

bool IPlugBase::IsInChannelConnected(int chIdx) const {
  const InChannel* channel = mInChannels.Get(chIdx);
  return channel && channel->mConnected;
}

bool IPlugBase::IsOutChannelConnected(int chIdx) const {
  const OutChannel* channel = mOutChannels.Get(chIdx);
  return channel && channel->mConnected;
}

void IPlugBase::SetInputLabel(int idx, const char* label) {
  if (InChannel* channel = mInChannels.Get(idx)) channel->mLabel.Set(label);
}

void IPlugBase::SetOutputLabel(int idx, const char* label) {
  if (OutChannel* channel = mOutChannels.Get(idx)) channel->mLabel.Set(label);
}

const char* IPlugBase::GetInputLabel(int idx) const {
  const InChannel* channel = mInChannels.Get(idx);
  return channel ? channel->mLabel.Get() : "";
}

const char* IPlugBase::GetOutputLabel(int idx) const {
  const OutChannel* channel = mOutChannels.Get(idx);
  return channel ? channel->mLabel.Get() : "";
}

void IPlugBase::SetInputBusLabel(int idx, const char* label) {
  if (idx < 0 || idx > 1) return;
  mInputBusLabels.Delete(idx, true);
  const int at = idx < mInputBusLabels.GetSize() ? idx : mInputBusLabels.GetSize();
  WDL_String* text = new WDL_String(label);
  if (!mInputBusLabels.Insert(at, text)) delete text;
}

void IPlugBase::SetOutputBusLabel(int idx, const char* label) {
  if (idx < 0) return;
  mOutputBusLabels.Delete(idx, true);
  const int at = idx < mOutputBusLabels.GetSize() ? idx : mOutputBusLabels.GetSize();
  WDL_String* text = new WDL_String(label);
  if (!mOutputBusLabels.Insert(at, text)) delete text;
}

// ---- MIDI ----

bool IPlugBase::SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* msgs) {
  bool ok = true;
  if (!msgs) return ok;
  IMidiMsg* list = msgs->Get();
  for (int i = 0; i < msgs->GetSize(); ++i) ok &= SendMidiMsg(&list[i]);
  return ok;
}
