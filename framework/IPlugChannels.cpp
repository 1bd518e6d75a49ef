#include "detail/IPlugChannels.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

#include "framework/Trace.h"

namespace {

// The channels idx .. idx + n - 1 that exist, computed without overflow.
void ClampRange(int idx, int n, int count, int* first, int* end) {
  const int64_t last = static_cast<int64_t>(idx) + n;
  *first = idx < 0 ? 0 : idx;
  *end = static_cast<int>(last < count ? (last < 0 ? 0 : last) : count);
}

template <typename P> void ZeroBuffer(WDL_TypedBuf<P>* buffer, int frames) {
  if (frames > buffer->GetSize()) frames = buffer->GetSize();
  if (frames > 0) memset(buffer->Get(), 0, sizeof(P) * static_cast<size_t>(frames));
}

template <typename T> T*& HostBuffer(IPlugChannel* channel);
template <> double*& HostBuffer<double>(IPlugChannel* channel) {
  return channel->mHost64;
}
template <> float*& HostBuffer<float>(IPlugChannel* channel) {
  return channel->mHost32;
}

// Unconnected channels point at their scratch buffers, which the plug-in may
// read or write without harm.
void Disconnect(IPlugChannel* channel) {
  channel->mHost64 = nullptr;
  channel->mHost32 = nullptr;
  *channel->mSlot = channel->mScratchBuf.Get();
  *channel->mSlot32 = channel->mScratch32.Get();
}

} // namespace

IChannelSet::~IChannelSet() {
  mChannels.Empty(true);
  mBusLabels.Empty(true);
}

void IChannelSet::Create(int nChannels) {
  mAllConnected = nChannels == 0;
  mData.Resize(nChannels);
  mData32.Resize(nChannels);
  for (int i = 0; i < nChannels; ++i) {
    IPlugChannel* channel = mChannels.Add(new IPlugChannel);
    channel->mSlot = mData.Get() + i;
    channel->mSlot32 = mData32.Get() + i;
    *channel->mSlot = nullptr;
    *channel->mSlot32 = nullptr;
  }
}

void IChannelSet::SetConnections(int idx, int n, bool connected) {
  int first, end;
  ClampRange(idx, n, Size(), &first, &end);
  for (int i = first; i < end; ++i) {
    IPlugChannel* channel = Get(i);
    channel->mConnected = connected;
    if (!connected) Disconnect(channel);
  }
  mAllConnected = true;
  for (int i = 0; i < Size(); ++i) mAllConnected = mAllConnected && Get(i)->mConnected;
}

bool IChannelSet::IsConnected(int idx) const {
  const IPlugChannel* channel = Get(idx);
  return channel && channel->mConnected;
}

// 32-bit buffers are converted slice by slice when the block is processed, so
// their channels point at the scratch buffers until then.
template <typename T> void IChannelSet::Attach(int idx, int n, T** data) {
  if (!data) return;
  int first, end;
  ClampRange(idx, n, Size(), &first, &end);
  for (int i = first; i < end; ++i) {
    IPlugChannel* channel = Get(i);
    if (!channel->mConnected) continue;
    channel->mHost64 = nullptr;
    channel->mHost32 = nullptr;
    HostBuffer<T>(channel) = *data++;
    if constexpr (std::is_same<T, double>::value)
      *channel->mSlot = channel->mHost64;
    else
      *channel->mSlot = channel->mScratchBuf.Get();
  }
}
template void IChannelSet::Attach<double>(int, int, double**);
template void IChannelSet::Attach<float>(int, int, float**);

// These run for every block: one pass, no range arithmetic.
template <typename T> void IChannelSet::ConnectAsGiven(T* const* perChannel, bool allGiven) {
  for (int i = 0; i < Size(); ++i) {
    IPlugChannel* channel = Get(i);
    channel->mConnected = perChannel[i] != nullptr;
    if (!channel->mConnected) Disconnect(channel);
  }
  mAllConnected = allGiven;
}

template <typename T> void IChannelSet::AttachEach(T* const* perChannel) {
  bool allGiven = true;
  for (int i = 0; i < Size(); ++i) {
    IPlugChannel* channel = Get(i);
    T* buffer = perChannel[i];
    channel->mConnected = buffer != nullptr;
    Disconnect(channel);
    HostBuffer<T>(channel) = buffer;
    allGiven = allGiven && buffer;
  }
  mAllConnected = allGiven;
}
template void IChannelSet::ConnectAsGiven<double>(double* const*, bool);
template void IChannelSet::ConnectAsGiven<float>(float* const*, bool);
template void IChannelSet::AttachEach<double>(double* const*);
template void IChannelSet::AttachEach<float>(float* const*);

// Forgotten so that a later block without attachments cannot touch freed memory.
void IChannelSet::ForgetHostBuffers() {
  for (int i = 0; i < Size(); ++i) Disconnect(Get(i));
}

void IChannelSet::ResizeScratch(int frames) {
  for (int i = 0; i < Size(); ++i) {
    IPlugChannel* channel = Get(i);
    channel->mScratchBuf.Resize(frames);
    channel->mScratch32.Resize(frames);
    ZeroBuffer(&channel->mScratchBuf, frames);
    ZeroBuffer(&channel->mScratch32, frames);
    if (!channel->mConnected) Disconnect(channel);
  }
}

void IChannelSet::ZeroScratch(int frames) {
  for (int i = 0; i < Size(); ++i) {
    ZeroBuffer(&Get(i)->mScratchBuf, frames);
    ZeroBuffer(&Get(i)->mScratch32, frames);
  }
}

// Both sample types count: either may be the one a block runs in.
int IChannelSet::ScratchFrames(int limit) const {
  for (int i = 0; i < Size(); ++i) {
    const IPlugChannel* channel = Get(i);
    if (channel->mScratchBuf.GetSize() < limit) limit = channel->mScratchBuf.GetSize();
    if (channel->mScratch32.GetSize() < limit) limit = channel->mScratch32.GetSize();
  }
  return limit;
}

void IChannelSet::SetLabel(int idx, const char* label) {
  if (IPlugChannel* channel = Get(idx)) channel->mLabel.Set(label);
}

const char* IChannelSet::GetLabel(int idx) const {
  const IPlugChannel* channel = Get(idx);
  return channel ? channel->mLabel.Get() : "";
}

void IChannelSet::SetBusLabel(int idx, const char* label, int maxIdx) {
  if (idx < 0 || idx > maxIdx) return;
  mBusLabels.Delete(idx, true);
  const int at = idx < mBusLabels.GetSize() ? idx : mBusLabels.GetSize();
  WDL_String* text = new WDL_String(label);
  if (!mBusLabels.Insert(at, text)) delete text;
}

IBypassDelayLine::IBypassDelayLine(int nInputs, int nOutputs)
    : mNIn(nInputs > 0 ? nInputs : 0), mNOut(nOutputs > 0 ? nOutputs : 0) {}

bool IBypassDelayLine::SetDelay(int samples) {
  const int64_t delay = samples > 0 ? samples : 0;
  const int64_t total = delay * mNIn;
  if (total > INT32_MAX / static_cast<int64_t>(sizeof(double)) ||
      !mBuffer.ResizeOK(static_cast<int>(total))) {
    mDelay = 0;
    return false;
  }
  mDelay = delay;
  mWritePos = 0;
  if (total) memset(mBuffer.Get(), 0, static_cast<size_t>(total) * sizeof(double));
  return true;
}

void IBypassDelayLine::Run(double** inputs, double** outputs, int nInputs, int nOutputs,
                           int nFrames) {
  int channels = mNIn < mNOut ? mNIn : mNOut;
  if (channels > nInputs) channels = nInputs;
  if (channels > nOutputs) channels = nOutputs;
  double* ring = mBuffer.Get();
  uint64_t pos = mWritePos;
  for (int s = 0; s < nFrames; ++s) {
    for (int c = 0; c < channels; ++c) {
      double* slot = ring + c * mDelay + static_cast<int64_t>(pos);
      const double in = inputs[c][s]; // read first: input and output may be one buffer
      outputs[c][s] = *slot;
      *slot = in;
    }
    if (++pos >= static_cast<uint64_t>(mDelay)) pos = 0;
  }
  mWritePos = pos;
}

IPlugChannels::IPlugChannels(const char* channelIOStr) {
  int nIn = 0, nOut = 0;
  ParseChannelIO(channelIOStr, &nIn, &nOut);
  mIn.Create(nIn);
  mOut.Create(nOut);
  mRemembersLayout = mLayoutBuffers.ResizeOK(nIn + nOut) && nIn + nOut > 0;
}

IPlugChannels::~IPlugChannels() {
  mChannelIO.Empty(true);
  delete mDelay;
}

void IPlugChannels::ParseChannelIO(const char* channelIOStr, int* nInMax, int* nOutMax) {
  for (const char* token = channelIOStr; token;) {
    IChannelIO* io = new IChannelIO;
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

bool IPlugChannels::LegalIO(int nIn, int nOut) const {
  bool legal = false;
  for (int i = 0; i < NChannelIO() && !legal; ++i) {
    const IChannelIO* io = mChannelIO.Get(i);
    legal = (nIn < 0 || nIn == io->mIn) && (nOut < 0 || nOut == io->mOut);
  }
  Trace("LegalIO", __LINE__, "%d:%d:%s", nIn, nOut, legal ? "legal" : "illegal");
  return legal;
}

void IPlugChannels::ForgetHostBuffers() {
  mIn.ForgetHostBuffers();
  mOut.ForgetHostBuffers();
}

void IPlugChannels::CreateDelayLine(int nInputs, int nOutputs) {
  delete mDelay;
  mDelay = new IBypassDelayLine(nInputs, nOutputs);
}
