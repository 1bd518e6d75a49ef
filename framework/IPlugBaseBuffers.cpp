// Audio buffer plumbing: the host's buffers are attached per block, converted
// through the scratch buffers where needed, and handed to the plug-in. Nothing
// here allocates except SetBlockSize and CreateBypassDelayLine, which run
// before processing starts.
#include <cstring>

#include "framework/IPlugBase.h"

namespace {

void ZeroBuffer(WDL_TypedBuf<double>* buffer, int frames) {
  if (frames > buffer->GetSize()) frames = buffer->GetSize();
  if (frames > 0) memset(buffer->Get(), 0, sizeof(double) * static_cast<size_t>(frames));
}

// End of the channel range idx .. idx + n - 1 within count, without overflow.
int RangeEnd(int idx, int n, int count) {
  const int64_t end = static_cast<int64_t>(idx) + n;
  return static_cast<int>(end < count ? end : count);
}

} // namespace

void IPlugBase::SetBlockSize(int blockSize) {
  if (blockSize == mBlockSize) return;
  if (blockSize < 0) blockSize = 0;
  for (int i = 0; i < NInChannels(); ++i) {
    InChannel* channel = mInChannels.Get(i);
    channel->mScratchBuf.Resize(blockSize);
    ZeroBuffer(&channel->mScratchBuf, blockSize);
    if (!channel->mConnected) *channel->mSrc = channel->mScratchBuf.Get();
  }
  for (int i = 0; i < NOutChannels(); ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    channel->mScratchBuf.Resize(blockSize);
    ZeroBuffer(&channel->mScratchBuf, blockSize);
    if (!channel->mConnected) *channel->mDest = channel->mScratchBuf.Get();
  }
  mBlockSize = blockSize;
}

void IPlugBase::ZeroScratchBuffers() {
  for (int i = 0; i < NInChannels(); ++i) ZeroBuffer(&mInChannels.Get(i)->mScratchBuf, mBlockSize);
  for (int i = 0; i < NOutChannels(); ++i)
    ZeroBuffer(&mOutChannels.Get(i)->mScratchBuf, mBlockSize);
}

void IPlugBase::CreateBypassDelayLine(int nInputs, int nOutputs) {
  delete mDelay;
  mDelay = new BypassDelayLine;
  mDelay->mNIn = nInputs > 0 ? nInputs : 0;
  mDelay->mNOut = nOutputs > 0 ? nOutputs : 0;
  SetLatency(mLatency);
}

// ---- Attaching the host's buffers ----

void IPlugBase::AttachInputBuffers(int idx, int n, double** data, int) {
  if (!data) return;
  const int end = RangeEnd(idx, n, NInChannels());
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    InChannel* channel = mInChannels.Get(i);
    if (!channel->mConnected) continue;
    channel->mHostSrc = *data++;
    channel->mHostSrc32 = nullptr;
    *channel->mSrc = channel->mHostSrc;
  }
}

// 32-bit buffers are converted slice by slice when the block is processed, so
// a block longer than the scratch buffers never writes past them.
void IPlugBase::AttachInputBuffers(int idx, int n, float** data, int) {
  if (!data) return;
  const int end = RangeEnd(idx, n, NInChannels());
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    InChannel* channel = mInChannels.Get(i);
    if (!channel->mConnected) continue;
    channel->mHostSrc32 = *data++;
    channel->mHostSrc = nullptr;
    *channel->mSrc = channel->mScratchBuf.Get();
  }
}

void IPlugBase::AttachOutputBuffers(int idx, int n, double** data) {
  if (!data) return;
  const int end = RangeEnd(idx, n, NOutChannels());
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected) continue;
    channel->mHostDest = *data++;
    channel->mFDest = nullptr;
    *channel->mDest = channel->mHostDest;
  }
}

void IPlugBase::AttachOutputBuffers(int idx, int n, float** data) {
  if (!data) return;
  const int end = RangeEnd(idx, n, NOutChannels());
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected) continue;
    channel->mFDest = *data++;
    channel->mHostDest = nullptr;
    *channel->mDest = channel->mScratchBuf.Get();
  }
}

// ---- Processing ----

void IPlugBase::ProcessBuffers(double, int nFrames) {
  ProcessSlices(nFrames, false, FloatOutput::kNone);
}

void IPlugBase::ProcessBuffers(float, int nFrames) {
  ProcessSlices(nFrames, false, FloatOutput::kReplace);
}

void IPlugBase::ProcessBuffersAccumulating(float, int nFrames) {
  ProcessSlices(nFrames, false, FloatOutput::kAccumulate);
}

void IPlugBase::PassThroughBuffers(double, int nFrames) {
  ProcessSlices(nFrames, true, FloatOutput::kNone);
}

void IPlugBase::PassThroughBuffers(float, int nFrames) {
  ProcessSlices(nFrames, true, FloatOutput::kReplace);
}

// Frames every scratch buffer can hold.
int IPlugBase::ScratchFrames() const {
  int frames = mBlockSize;
  for (int i = 0; i < NInChannels(); ++i) {
    const int size = mInChannels.Get(i)->mScratchBuf.GetSize();
    if (size < frames) frames = size;
  }
  for (int i = 0; i < NOutChannels(); ++i) {
    const int size = mOutChannels.Get(i)->mScratchBuf.GetSize();
    if (size < frames) frames = size;
  }
  return frames;
}

// With every channel on a 64-bit host buffer the block passes straight through.
bool IPlugBase::NeedsScratch() const {
  for (int i = 0; i < NInChannels(); ++i) {
    const InChannel* channel = mInChannels.Get(i);
    if (!channel->mConnected || !channel->mHostSrc) return true;
  }
  for (int i = 0; i < NOutChannels(); ++i) {
    const OutChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected || !channel->mHostDest) return true;
  }
  return false;
}

void IPlugBase::PrepareSlice(int offset, int nFrames) {
  for (int i = 0; i < NInChannels(); ++i) {
    InChannel* channel = mInChannels.Get(i);
    if (channel->mConnected && channel->mHostSrc) {
      *channel->mSrc = channel->mHostSrc + offset;
      continue;
    }
    double* scratch = channel->mScratchBuf.Get();
    if (channel->mConnected && channel->mHostSrc32) {
      const float* src = channel->mHostSrc32 + offset;
      for (int s = 0; s < nFrames; ++s) scratch[s] = src[s];
    } else {
      // An unconnected input reads silence, even if the plug-in wrote into it.
      memset(scratch, 0, sizeof(double) * static_cast<size_t>(nFrames));
    }
    *channel->mSrc = scratch;
  }
  for (int i = 0; i < NOutChannels(); ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    const bool direct = channel->mConnected && channel->mHostDest;
    *channel->mDest = direct ? channel->mHostDest + offset : channel->mScratchBuf.Get();
  }
}

void IPlugBase::ConvertOutputs(int offset, int nFrames, FloatOutput floatOutput) {
  if (floatOutput == FloatOutput::kNone) return;
  for (int i = 0; i < NOutChannels(); ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected || !channel->mFDest) continue;
    const double* src = channel->mScratchBuf.Get();
    float* dest = channel->mFDest + offset;
    if (floatOutput == FloatOutput::kAccumulate)
      for (int s = 0; s < nFrames; ++s) dest[s] += static_cast<float>(src[s]);
    else
      for (int s = 0; s < nFrames; ++s) dest[s] = static_cast<float>(src[s]);
  }
}

// The refusal for a block that needs scratch room before any block size is set.
void IPlugBase::SilenceHostOutputs(int nFrames, FloatOutput floatOutput) {
  for (int i = 0; i < NOutChannels(); ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected) continue;
    if (channel->mHostDest)
      memset(channel->mHostDest, 0, sizeof(double) * static_cast<size_t>(nFrames));
    else if (channel->mFDest && floatOutput == FloatOutput::kReplace)
      memset(channel->mFDest, 0, sizeof(float) * static_cast<size_t>(nFrames));
  }
}

// Host buffers are valid for one block only; forget them so that a later
// block without attachments cannot touch freed memory.
void IPlugBase::ClearHostBuffers() {
  for (int i = 0; i < NInChannels(); ++i) {
    InChannel* channel = mInChannels.Get(i);
    channel->mHostSrc = nullptr;
    channel->mHostSrc32 = nullptr;
    *channel->mSrc = channel->mScratchBuf.Get();
  }
  for (int i = 0; i < NOutChannels(); ++i) {
    OutChannel* channel = mOutChannels.Get(i);
    channel->mHostDest = nullptr;
    channel->mFDest = nullptr;
    *channel->mDest = channel->mScratchBuf.Get();
  }
}

void IPlugBase::ProcessSlices(int nFrames, bool bypass, FloatOutput floatOutput) {
  if (nFrames > 0) {
    const int slice = NeedsScratch() ? ScratchFrames() : nFrames;
    if (slice <= 0) {
      SilenceHostOutputs(nFrames, floatOutput);
    } else {
      for (int offset = 0; offset < nFrames; offset += slice) {
        const int frames = nFrames - offset < slice ? nFrames - offset : slice;
        PrepareSlice(offset, frames);
        if (!bypass)
          ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), frames);
        else if (mLatency != 0 && mDelay && mDelay->mDelay > 0)
          DelayThrough(frames);
        else
          IPlugBase::ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), frames);
        ConvertOutputs(offset, frames, floatOutput);
      }
    }
  }
  ClearHostBuffers();
}

// Bypass with latency: each output is its input delayed by exactly the latency.
void IPlugBase::DelayThrough(int nFrames) {
  const int64_t delay = mDelay->mDelay;
  int channels = mDelay->mNIn < mDelay->mNOut ? mDelay->mNIn : mDelay->mNOut;
  if (channels > NInChannels()) channels = NInChannels();
  if (channels > NOutChannels()) channels = NOutChannels();
  double* ring = mDelay->mBuffer.Get();
  double** inputs = mInData.Get();
  double** outputs = mOutData.Get();
  uint64_t pos = mDelay->mWritePos;
  for (int s = 0; s < nFrames; ++s) {
    for (int c = 0; c < channels; ++c) {
      double* slot = ring + c * delay + static_cast<int64_t>(pos);
      const double in = inputs[c][s]; // read first: input and output may be one buffer
      outputs[c][s] = *slot;
      *slot = in;
    }
    if (++pos >= static_cast<uint64_t>(delay)) pos = 0;
  }
  mDelay->mWritePos = pos;
}
