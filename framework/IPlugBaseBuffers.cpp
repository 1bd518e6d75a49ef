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

// A block straight from a binding: silence passed on, or the host's own
// buffers handed to a plug-in that takes them, without touching a channel
// record; everything else goes the general way below.
template <typename T>
IOutputSilence IPlugBase::ProcessBlock(T* const* inputs, T* const* outputs, int nFrames,
                                       uint64_t silentInputs) {
  IPlugChannels& channels = *mChannels;
  const IHostBlock<T> block{inputs, NInChannels(), outputs, NOutChannels(), nFrames};
  const IPlugChannels::IBlockLayout layout = channels.LayoutOf(block);
  const bool allConnected = layout.mAllConnected;
  const bool takesHostBuffers =
      mInputsReadOnly && (std::is_same<T, double>::value || mProcessesSingle);
  if (nFrames > 0 && !mIsBypassed && !layout.mSharesMemory) {
    const bool passesSilence = block.InputsSilent(silentInputs) && PassesSilence();
    if (passesSilence || (allConnected && takesHostBuffers)) {
      channels.mIn.ConnectEach(inputs, allConnected);
      channels.mOut.ConnectEach(outputs, allConnected);
      IOutputSilence silence;
      if (passesSilence)
        block.PassSilence(&silence);
      else
        silence = ProcessHostBuffers(block);
      return silence;
    }
  }
  channels.mIn.AttachEach(inputs);
  channels.mOut.AttachEach(outputs);
  return ProcessSlices<T>(nFrames, mIsBypassed, false);
}

// Every channel connected, no buffer shared: the plug-in gets the host's
// pointers, in its own arrays so that it cannot change the binding's.
template <typename T> IOutputSilence IPlugBase::ProcessHostBuffers(const IHostBlock<T>& block) {
  IPlugChannels& channels = *mChannels;
  T** inputs = channels.mIn.DataFor<T>();
  T** outputs = channels.mOut.DataFor<T>();
  for (int i = 0; i < block.mNIn; ++i) inputs[i] = block.mInputs[i];
  for (int j = 0; j < block.mNOut; ++j) outputs[j] = block.mOutputs[j];
  mSliceReported = mSliceSilent = 0;
  ProcessSlice<T>(block.mFrames, false);
  const uint64_t all = block.mNOut >= 64 ? ~uint64_t{0} : (uint64_t{1} << block.mNOut) - 1;
  IOutputSilence silence;
  silence.mKnown = mSliceReported & all;
  silence.mSilent = mSliceSilent & silence.mKnown;
  return silence;
}

// The one place where a block meets the plug-in, for both sample types: the
// inputs it reads are the host's only when it promised to leave them alone,
// 32-bit blocks reach its own 32-bit processing when it has one, and a block
// that needs more scratch room than there is runs in slices.
template <typename T>
IOutputSilence IPlugBase::ProcessSlices(int nFrames, bool bypass, bool accumulate) {
  IOutputSilence silence;
  if (nFrames > 0) {
    if (std::is_same<T, float>::value && mProcessesSingle && !bypass && !accumulate)
      silence = RunSlices<float, float>(nFrames, false, false);
    else
      silence = RunSlices<T, double>(nFrames, bypass, accumulate);
  }
  mChannels->ForgetHostBuffers();
  return silence;
}

// 32-bit outputs of 64-bit processing are written back from scratch after
// each slice; their silence is the binding's to find, since rounding to float
// can silence what was not.
template <typename T, typename P>
IOutputSilence IPlugBase::RunSlices(int nFrames, bool bypass, bool accumulate) {
  constexpr bool kConverts = !std::is_same<T, P>::value;
  IPlugChannels& channels = *mChannels;
  channels.FindSharedBuffers(nFrames);
  const int slice =
      channels.NeedsScratch<P>(mInputsReadOnly) ? channels.ScratchFrames(mBlockSize) : nFrames;
  if (slice <= 0) {
    // 32-bit outputs too, whether or not they would have been converted,
    // unless the block was to add to them.
    channels.SilenceHostOutputs(nFrames, !accumulate);
    return IOutputSilence();
  }
  uint64_t known = bypass || channels.OutputsOverlap() ? 0 : channels.DirectOutputs<P>();
  uint64_t silent = known;
  for (int offset = 0; offset < nFrames; offset += slice) {
    const int frames = nFrames - offset < slice ? nFrames - offset : slice;
    channels.PrepareSlice<P>(offset, frames, mInputsReadOnly);
    mSliceReported = mSliceSilent = 0;
    ProcessSlice<P>(frames, bypass);
    if (kConverts) channels.WriteFloatOutputs(offset, frames, accumulate);
    known &= mSliceReported;
    silent &= mSliceSilent;
  }
  IOutputSilence silence;
  silence.mKnown = known;
  silence.mSilent = silent & known;
  return silence;
}

template <typename P> void IPlugBase::ProcessSlice(int nFrames, bool bypass) {
  IPlugChannels& channels = *mChannels;
  P** inputs = channels.mIn.DataFor<P>();
  P** outputs = channels.mOut.DataFor<P>();
  if constexpr (std::is_same<P, float>::value) {
    ProcessSingleReplacing(inputs, outputs, nFrames);
  } else {
    IBypassDelayLine* delay = channels.DelayLine();
    if (!bypass)
      ProcessDoubleReplacing(inputs, outputs, nFrames);
    else if (mLatency != 0 && delay && delay->Delays())
      delay->Run(inputs, outputs, NInChannels(), NOutChannels(), nFrames);
    else
      IPlugBase::ProcessDoubleReplacing(inputs, outputs, nFrames);
  }
}

template void IPlugBase::AttachInputBuffers<double>(int, int, double**, int);
template void IPlugBase::AttachInputBuffers<float>(int, int, float**, int);
template void IPlugBase::AttachOutputBuffers<double>(int, int, double**);
template void IPlugBase::AttachOutputBuffers<float>(int, int, float**);
template void IPlugBase::ProcessBuffers<double>(double, int);
template void IPlugBase::ProcessBuffers<float>(float, int);
template void IPlugBase::PassThroughBuffers<double>(double, int);
template void IPlugBase::PassThroughBuffers<float>(float, int);
template IOutputSilence IPlugBase::ProcessBlock<double>(double* const*, double* const*, int,
                                                        uint64_t);
template IOutputSilence IPlugBase::ProcessBlock<float>(float* const*, float* const*, int, uint64_t);
