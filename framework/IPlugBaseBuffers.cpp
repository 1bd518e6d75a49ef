// Channels and audio buffer plumbing: the host's buffers are attached per
// block, copied or converted through the scratch buffers where needed, and
// handed to the plug-in. Nothing here allocates except SetBlockSize and
// CreateBypassDelayLine, which run before processing starts.
#include <climits>
#include <type_traits>

#include "detail/IPlugChannels.h"
#include "framework/IPlugBase.h"

IPlugChannels* ChannelsOf(IPlugBase* plug) {
  return plug->mChannels;
}

int IPlugBase::NChannelIO() const {
  return mChannels->NChannelIO();
}

bool IPlugBase::GetChannelIO(int idx, int* nIn, int* nOut) const {
  const IChannelIO* io = mChannels->GetChannelIO(idx);
  if (!io) return false;
  *nIn = io->mIn;
  *nOut = io->mOut;
  return true;
}

bool IPlugBase::LegalIO(int nIn, int nOut) const {
  return mChannels->LegalIO(nIn, nOut);
}

void IPlugBase::LimitToStereoIO() {
  if (NInChannels() > 2) SetInputChannelConnections(2, NInChannels() - 2, false);
  if (NOutChannels() > 2) SetOutputChannelConnections(2, NOutChannels() - 2, true);
}

void IPlugBase::SetInputChannelConnections(int idx, int n, bool connected) {
  mChannels->mIn.SetConnections(idx, n, connected);
}

void IPlugBase::SetOutputChannelConnections(int idx, int n, bool connected) {
  mChannels->mOut.SetConnections(idx, n, connected);
}

bool IPlugBase::IsInChannelConnected(int chIdx) const {
  return mChannels->mIn.IsConnected(chIdx);
}

bool IPlugBase::IsOutChannelConnected(int chIdx) const {
  return mChannels->mOut.IsConnected(chIdx);
}

void IPlugBase::SetInputLabel(int idx, const char* label) {
  mChannels->mIn.SetLabel(idx, label);
}

void IPlugBase::SetOutputLabel(int idx, const char* label) {
  mChannels->mOut.SetLabel(idx, label);
}

const char* IPlugBase::GetInputLabel(int idx) const {
  return mChannels->mIn.GetLabel(idx);
}

const char* IPlugBase::GetOutputLabel(int idx) const {
  return mChannels->mOut.GetLabel(idx);
}

// A main and a side-chain input bus at most; any number of output buses.
void IPlugBase::SetInputBusLabel(int idx, const char* label) {
  mChannels->mIn.SetBusLabel(idx, label, 1);
}

void IPlugBase::SetOutputBusLabel(int idx, const char* label) {
  mChannels->mOut.SetBusLabel(idx, label, INT_MAX);
}

const WDL_String* IPlugBase::GetInputBusLabel(int idx) const {
  return mChannels->mIn.GetBusLabel(idx);
}

const WDL_String* IPlugBase::GetOutputBusLabel(int idx) const {
  return mChannels->mOut.GetBusLabel(idx);
}

void IPlugBase::SetBlockSize(int blockSize) {
  if (blockSize == mBlockSize) return;
  if (blockSize < 0) blockSize = 0;
  mChannels->mIn.ResizeScratch(blockSize);
  mChannels->mOut.ResizeScratch(blockSize);
  mBlockSize = blockSize;
}

void IPlugBase::ZeroScratchBuffers() {
  mChannels->mIn.ZeroScratch(mBlockSize);
  mChannels->mOut.ZeroScratch(mBlockSize);
}

void IPlugBase::CreateBypassDelayLine(int nInputs, int nOutputs) {
  mChannels->CreateDelayLine(nInputs, nOutputs);
  SetLatency(mLatency);
}

template <typename T> void IPlugBase::AttachInputBuffers(int idx, int n, T** data, int) {
  mChannels->mIn.Attach(idx, n, data);
}

template <typename T> void IPlugBase::AttachOutputBuffers(int idx, int n, T** data) {
  mChannels->mOut.Attach(idx, n, data);
}

template <typename T> void IPlugBase::ProcessBuffers(T, int nFrames) {
  ProcessSlices<T>(nFrames, false, false);
}

void IPlugBase::ProcessBuffersAccumulating(float, int nFrames) {
  ProcessSlices<float>(nFrames, false, true);
}

template <typename T> void IPlugBase::PassThroughBuffers(T, int nFrames) {
  ProcessSlices<T>(nFrames, true, false);
}

// The one place where a block meets the plug-in, for both sample types: the
// inputs it reads are the host's only when it promised to leave them alone,
// and a block that needs more scratch room than there is runs in slices.
// 32-bit outputs are written back from scratch after each slice.
template <typename T> void IPlugBase::ProcessSlices(int nFrames, bool bypass, bool accumulate) {
  constexpr bool kFloatOutputs = std::is_same<T, float>::value;
  IPlugChannels& channels = *mChannels;
  if (nFrames > 0) {
    const int slice =
        channels.NeedsScratch(mInputsReadOnly) ? channels.ScratchFrames(mBlockSize) : nFrames;
    if (slice <= 0) {
      channels.SilenceHostOutputs(nFrames, kFloatOutputs && !accumulate);
    } else {
      double** inputs = channels.mIn.Data();
      double** outputs = channels.mOut.Data();
      IBypassDelayLine* delay = channels.DelayLine();
      for (int offset = 0; offset < nFrames; offset += slice) {
        const int frames = nFrames - offset < slice ? nFrames - offset : slice;
        channels.PrepareSlice(offset, frames, mInputsReadOnly);
        if (!bypass)
          ProcessDoubleReplacing(inputs, outputs, frames);
        else if (mLatency != 0 && delay && delay->Delays())
          delay->Run(inputs, outputs, NInChannels(), NOutChannels(), frames);
        else
          IPlugBase::ProcessDoubleReplacing(inputs, outputs, frames);
        if (kFloatOutputs) channels.WriteFloatOutputs(offset, frames, accumulate);
      }
    }
  }
  channels.ForgetHostBuffers();
}

template void IPlugBase::AttachInputBuffers<double>(int, int, double**, int);
template void IPlugBase::AttachInputBuffers<float>(int, int, float**, int);
template void IPlugBase::AttachOutputBuffers<double>(int, int, double**);
template void IPlugBase::AttachOutputBuffers<float>(int, int, float**);
template void IPlugBase::ProcessBuffers<double>(double, int);
template void IPlugBase::ProcessBuffers<float>(float, int);
template void IPlugBase::PassThroughBuffers<double>(double, int);
template void IPlugBase::PassThroughBuffers<float>(float, int);
