// The per-block steps between the host's buffers and the plug-in: which
// inputs can be handed through, pointing the plug-in's arrays at a slice,
// writing 32-bit outputs back, and passing on a block of silence. Everything
// here runs on the audio thread for every block: no allocation, no lock.
#include <cstring>
#include <type_traits>

#include "detail/IPlugChannels.h"

namespace {

struct ByteRange {
  uintptr_t begin = 0, end = 0;
  bool Overlaps(const ByteRange& other) const { return begin < other.end && other.begin < end; }
};

template <typename T> ByteRange RangeOf(const T* samples, int nFrames) {
  ByteRange range;
  if (samples) {
    range.begin = reinterpret_cast<uintptr_t>(samples);
    range.end = range.begin + static_cast<size_t>(nFrames) * sizeof(T);
  }
  return range;
}

// The channel's host buffer over nFrames samples; empty when it has none.
ByteRange HostRange(const IPlugChannel* channel, int nFrames) {
  if (!channel->mConnected) return ByteRange();
  return channel->mHost64 ? RangeOf(channel->mHost64, nFrames) : RangeOf(channel->mHost32, nFrames);
}

// Whether writing output j could change input i before it is read. The one
// overlap allowed is the very same buffer at the same index, which a plug-in
// that works in place reads before it writes.
bool Conflicts(const ByteRange& input, int i, const ByteRange& output, int j) {
  const bool inPlace = i == j && input.begin == output.begin && input.end == output.end;
  return !inPlace && input.Overlaps(output);
}

// A slice of a host input in the plug-in's sample type: copied, widened or narrowed.
template <typename S, typename P> void ReadIntoScratch(const S* src, P* scratch, int nFrames) {
  if constexpr (std::is_same<S, P>::value)
    memcpy(scratch, src, sizeof(P) * static_cast<size_t>(nFrames));
  else
    for (int s = 0; s < nFrames; ++s) scratch[s] = static_cast<P>(src[s]);
}

template <typename P> bool HandsThrough(const IPlugChannel* input, bool inputsReadOnly) {
  return inputsReadOnly && input->mConnected && HostBufferOf<P>(input) && !input->mSharesOutput;
}

template <typename P> bool WritesInPlace(const IPlugChannel* output) {
  return output->mConnected && HostBufferOf<P>(output);
}

} // namespace

void IPlugChannels::FindSharedBuffers(int nFrames) {
  mOutputsOverlap = false;
  for (int j = 0; j < mOut.Size(); ++j) {
    const ByteRange out = HostRange(mOut.Get(j), nFrames);
    for (int k = j + 1; k < mOut.Size(); ++k)
      if (out.Overlaps(HostRange(mOut.Get(k), nFrames))) mOutputsOverlap = true;
  }
  for (int i = 0; i < mIn.Size(); ++i) {
    IPlugChannel* input = mIn.Get(i);
    const ByteRange in = HostRange(input, nFrames);
    input->mSharesOutput = false;
    for (int j = 0; j < mOut.Size() && !input->mSharesOutput; ++j)
      input->mSharesOutput = Conflicts(in, i, HostRange(mOut.Get(j), nFrames), j);
  }
}

template <typename P> bool IPlugChannels::NeedsScratch(bool inputsReadOnly) const {
  for (int i = 0; i < mIn.Size(); ++i)
    if (!HandsThrough<P>(mIn.Get(i), inputsReadOnly)) return true;
  for (int i = 0; i < mOut.Size(); ++i)
    if (!WritesInPlace<P>(mOut.Get(i))) return true;
  return false;
}

template <typename P>
void IPlugChannels::PrepareSlice(int offset, int nFrames, bool inputsReadOnly) {
  for (int i = 0; i < mIn.Size(); ++i) {
    IPlugChannel* channel = mIn.Get(i);
    if (HandsThrough<P>(channel, inputsReadOnly)) {
      SlotOf<P>(channel) = HostBufferOf<P>(channel) + offset;
      continue;
    }
    P* scratch = ScratchOf<P>(channel);
    if (channel->mConnected && channel->mHost64)
      ReadIntoScratch(channel->mHost64 + offset, scratch, nFrames);
    else if (channel->mConnected && channel->mHost32)
      ReadIntoScratch(channel->mHost32 + offset, scratch, nFrames);
    else // an unconnected input reads silence, even if the plug-in wrote into it
      memset(scratch, 0, sizeof(P) * static_cast<size_t>(nFrames));
    SlotOf<P>(channel) = scratch;
  }
  for (int i = 0; i < mOut.Size(); ++i) {
    IPlugChannel* channel = mOut.Get(i);
    SlotOf<P>(channel) =
        WritesInPlace<P>(channel) ? HostBufferOf<P>(channel) + offset : ScratchOf<P>(channel);
  }
}

template <typename P> uint64_t IPlugChannels::DirectOutputs() const {
  uint64_t direct = 0;
  for (int i = 0; i < mOut.Size() && i < 64; ++i)
    if (WritesInPlace<P>(mOut.Get(i))) direct |= uint64_t{1} << i;
  return direct;
}

void IPlugChannels::WriteFloatOutputs(int offset, int nFrames, bool accumulate) {
  for (int i = 0; i < mOut.Size(); ++i) {
    IPlugChannel* channel = mOut.Get(i);
    if (!channel->mConnected || !channel->mHost32) continue;
    const double* src = channel->mScratchBuf.Get();
    float* dest = channel->mHost32 + offset;
    if (accumulate)
      for (int s = 0; s < nFrames; ++s) dest[s] += static_cast<float>(src[s]);
    else
      for (int s = 0; s < nFrames; ++s) dest[s] = static_cast<float>(src[s]);
  }
}

void IPlugChannels::SilenceHostOutputs(int nFrames, bool floatOutputs) {
  for (int i = 0; i < mOut.Size(); ++i) {
    IPlugChannel* channel = mOut.Get(i);
    if (!channel->mConnected) continue;
    if (channel->mHost64)
      memset(channel->mHost64, 0, sizeof(double) * static_cast<size_t>(nFrames));
    else if (channel->mHost32 && floatOutputs)
      memset(channel->mHost32, 0, sizeof(float) * static_cast<size_t>(nFrames));
  }
}

// FindSharedBuffers' rule on the host's own tables. Every buffer of the block
// spans the same number of bytes, so two of them overlap exactly when their
// starts are less than that apart: a - b lies in -(span - 1) .. span - 1.
template <typename T> bool IHostBlock<T>::SharesMemory() const {
  const uintptr_t span = static_cast<uintptr_t>(mFrames) * sizeof(T);
  if (span == 0) return false;
  const uintptr_t shift = span - 1, width = 2 * span - 1;
  for (int j = 0; j < mNOut; ++j) {
    const uintptr_t out = reinterpret_cast<uintptr_t>(mOutputs[j]);
    if (!out) continue;
    for (int k = j + 1; k < mNOut; ++k) {
      const uintptr_t other = reinterpret_cast<uintptr_t>(mOutputs[k]);
      if (other && other - out + shift < width) return true;
    }
    for (int i = 0; i < mNIn; ++i) {
      const uintptr_t in = reinterpret_cast<uintptr_t>(mInputs[i]);
      if (in && in - out + shift < width && !(i == j && in == out)) return true;
    }
  }
  return false;
}

namespace {

// Each input zero with its sign, which is what the plug-in's processing would
// have written; a sample the host flagged silent wrongly still comes out as a
// zero, never as the unprocessed input.
template <typename T, typename Bits> void CopySignedZeros(const T* in, T* out, int frames) {
  static_assert(sizeof(T) == sizeof(Bits), "one word per sample");
  constexpr Bits kSign = Bits{1} << (8 * sizeof(Bits) - 1);
  for (int i = 0; i < frames; ++i) {
    Bits word;
    memcpy(&word, in + i, sizeof word);
    word &= kSign;
    memcpy(out + i, &word, sizeof word);
  }
}

void CopySignedZeros(const double* in, double* out, int frames) {
  CopySignedZeros<double, uint64_t>(in, out, frames);
}

void CopySignedZeros(const float* in, float* out, int frames) {
  CopySignedZeros<float, uint32_t>(in, out, frames);
}

} // namespace

// In place there is nothing to write at all.
template <typename T> void IHostBlock<T>::PassSilence(IOutputSilence* silence) const {
  const size_t bytes = sizeof(T) * static_cast<size_t>(mFrames);
  *silence = IOutputSilence();
  for (int j = 0; j < mNOut; ++j) {
    T* out = mOutputs[j];
    if (!out) continue;
    const T* in = j < mNIn ? mInputs[j] : nullptr;
    if (!in)
      memset(out, 0, bytes);
    else if (in != out)
      CopySignedZeros(in, out, mFrames);
    if (j < 64) silence->mKnown |= uint64_t{1} << j;
  }
  silence->mSilent = silence->mKnown;
}

template <typename T> void IPlugChannels::RememberLayout(const IHostBlock<T>& block) {
  mLayout.mAllConnected = block.AllConnected();
  mLayout.mSharesMemory = block.SharesMemory();
  if (!mRemembersLayout) return;
  uintptr_t* seen = mLayoutBuffers.Get();
  for (int i = 0; i < block.mNIn; ++i) seen[i] = reinterpret_cast<uintptr_t>(block.mInputs[i]);
  for (int j = 0; j < block.mNOut; ++j)
    seen[block.mNIn + j] = reinterpret_cast<uintptr_t>(block.mOutputs[j]);
  mLayoutFrames = block.mFrames;
  mLayoutSampleSize = sizeof(T);
}

template void IPlugChannels::RememberLayout(const IHostBlock<double>&);
template void IPlugChannels::RememberLayout(const IHostBlock<float>&);
template struct IHostBlock<double>;
template struct IHostBlock<float>;
template bool IPlugChannels::NeedsScratch<double>(bool) const;
template bool IPlugChannels::NeedsScratch<float>(bool) const;
template void IPlugChannels::PrepareSlice<double>(int, int, bool);
template void IPlugChannels::PrepareSlice<float>(int, int, bool);
template uint64_t IPlugChannels::DirectOutputs<double>() const;
template uint64_t IPlugChannels::DirectOutputs<float>() const;
