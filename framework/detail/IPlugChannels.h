#pragma once
// Inside the plug-in base: the channel configuration, one record per input
// and output channel with its scratch buffer, the bypass delay line, and the
// steps with which a block of the host's buffers reaches the plug-in. Only
// framework/ and its tests include this header; everyone else goes through
// IPlugBase.
#include <cstdint>
#include <type_traits>

#include "framework/IPlugBase.h"
#include "wdl/heap_buf.h"
#include "wdl/ptr_list.h"
#include "wdl/wdl_string.h"

// One legal (inputs, outputs) pair of the channel I/O string.
struct IChannelIO {
  int mIn = 0;
  int mOut = 0;
};

// One input or output channel.
struct IPlugChannel {
  bool mConnected = false;
  // This channel's entries in the pointer arrays the plug-in's 64-bit and
  // 32-bit processing get.
  double** mSlot = nullptr;
  float** mSlot32 = nullptr;
  WDL_TypedBuf<double> mScratchBuf{4096};
  WDL_TypedBuf<float> mScratch32{4096};
  WDL_String mLabel;
  // The host's buffer for the current block, in the host's sample type; at
  // most one of the two is set.
  double* mHost64 = nullptr;
  float* mHost32 = nullptr;
  // An input whose host buffer overlaps an output other than its own
  // in-place one: writing that output would change what is still to be read.
  bool mSharesOutput = false;
};

// The channel's host buffer when the host's samples are of type T, else null.
template <typename T> T* HostBufferOf(const IPlugChannel* channel);
template <> inline double* HostBufferOf<double>(const IPlugChannel* channel) {
  return channel->mHost64;
}
template <> inline float* HostBufferOf<float>(const IPlugChannel* channel) {
  return channel->mHost32;
}

// The scratch buffer and pointer-array entry for processing of type P.
template <typename P> P* ScratchOf(IPlugChannel* channel);
template <> inline double* ScratchOf<double>(IPlugChannel* channel) {
  return channel->mScratchBuf.Get();
}
template <> inline float* ScratchOf<float>(IPlugChannel* channel) {
  return channel->mScratch32.Get();
}
template <typename P> P*& SlotOf(IPlugChannel* channel);
template <> inline double*& SlotOf<double>(IPlugChannel* channel) {
  return *channel->mSlot;
}
template <> inline float*& SlotOf<float>(IPlugChannel* channel) {
  return *channel->mSlot32;
}

// All channels of one direction, and the pointer array handed to the plug-in.
class IChannelSet {
public:
  IChannelSet() = default;
  ~IChannelSet();
  IChannelSet(const IChannelSet&) = delete;
  IChannelSet& operator=(const IChannelSet&) = delete;

  // Once, at construction: the channels never change in number afterwards.
  void Create(int nChannels);
  int Size() const { return mChannels.GetSize(); }
  IPlugChannel* Get(int idx) const { return mChannels.Get(idx); }
  double** Data() const { return mData.Get(); }
  template <typename P> P** DataFor() const {
    if constexpr (std::is_same<P, float>::value)
      return mData32.Get();
    else
      return mData.Get();
  }

  // Channels outside idx .. idx + n - 1 or beyond the last are left alone.
  void SetConnections(int idx, int n, bool connected);
  bool IsConnected(int idx) const;
  // Connected channels in the range take the next pointer of data, in order.
  template <typename T> void Attach(int idx, int n, T** data);
  // One pointer per channel, null for a channel the host does not connect:
  // connections only, or connections and host buffers. With every channel
  // given a buffer (allGiven) and connected already, nothing is touched.
  template <typename T> void ConnectEach(T* const* perChannel, bool allGiven) {
    if (!allGiven || !mAllConnected) ConnectAsGiven(perChannel, allGiven);
  }
  template <typename T> void AttachEach(T* const* perChannel);
  // Host buffers are valid for one block only.
  void ForgetHostBuffers();

  void ResizeScratch(int frames);
  void ZeroScratch(int frames);
  // The frames every scratch buffer can hold, at most limit.
  int ScratchFrames(int limit) const;

  void SetLabel(int idx, const char* label);
  const char* GetLabel(int idx) const;
  // Replaces the label at idx (0 .. maxIdx); a list shorter than idx takes it at its end.
  void SetBusLabel(int idx, const char* label, int maxIdx);
  const WDL_String* GetBusLabel(int idx) const { return mBusLabels.Get(idx); }

private:
  template <typename T> void ConnectAsGiven(T* const* perChannel, bool allGiven);

  WDL_PtrList<IPlugChannel> mChannels;
  WDL_TypedBuf<double*> mData;
  WDL_TypedBuf<float*> mData32;
  WDL_PtrList<WDL_String> mBusLabels;
  bool mAllConnected = false;
};

// Bypass with latency: one ring of delay-time samples per input channel.
class IBypassDelayLine {
public:
  IBypassDelayLine(int nInputs, int nOutputs);
  // Empties the line at the new delay; false when there is no room for it,
  // and then the line delays by nothing.
  bool SetDelay(int samples);
  bool Delays() const { return mDelay > 0; }
  // Each output that has an input of its index is that input delayed by
  // exactly the delay, across calls; other outputs are left as they are.
  void Run(double** inputs, double** outputs, int nInputs, int nOutputs, int nFrames);

private:
  WDL_TypedBuf<double> mBuffer{4096};
  uint64_t mWritePos = 0;
  int mNIn;
  int mNOut;
  int64_t mDelay = 0;
};

// A block as a binding hands it over, for the decisions made before any
// channel record is touched: one host buffer per plug-in channel, null for a
// channel the host does not connect (IPlugBlock.cpp).
template <typename T> struct IHostBlock {
  T* const* mInputs;
  int mNIn;
  T* const* mOutputs;
  int mNOut;
  int mFrames;

  bool AllConnected() const {
    for (int i = 0; i < mNIn; ++i)
      if (!mInputs[i]) return false;
    for (int j = 0; j < mNOut; ++j)
      if (!mOutputs[j]) return false;
    return true;
  }
  // Some input overlaps an output other than its own in-place buffer, or two
  // outputs overlap: writing an output could change what is still to be read.
  bool SharesMemory() const;
  // Every connected input is flagged silent (bit c for input c); unconnected
  // ones read zeroed scratch. A host's flag is its word that every sample of
  // the buffer is 0, of either sign.
  bool InputsSilent(uint64_t silentInputs) const {
    for (int i = 0; i < mNIn; ++i)
      if (mInputs[i] && (i >= 64 || !(silentInputs >> i & 1))) return false;
    return true;
  }
  // Writes what a plug-in that passes silence would: each output a copy of
  // its same-index input (zeros keep their sign), +0 where that input is
  // missing. For buffers that share no memory.
  void PassSilence(IOutputSilence* silence) const;
};

// The channel configuration and buffer plumbing the plug-in base owns.
class IPlugChannels {
public:
  // Tokens such as "2-2" separated by single spaces; an unreadable token
  // counts as 0-0, a null string gives no configuration and no channels.
  explicit IPlugChannels(const char* channelIOStr);
  ~IPlugChannels();
  IPlugChannels(const IPlugChannels&) = delete;
  IPlugChannels& operator=(const IPlugChannels&) = delete;

  int NChannelIO() const { return mChannelIO.GetSize(); }
  const IChannelIO* GetChannelIO(int idx) const { return mChannelIO.Get(idx); }
  bool LegalIO(int nIn, int nOut) const;

  // Once a block, after the host's buffers are attached: marks the inputs
  // that share memory with another channel's output (IPlugBlock.cpp).
  void FindSharedBuffers(int nFrames);
  // Whether two connected outputs share memory, as FindSharedBuffers found.
  bool OutputsOverlap() const { return mOutputsOverlap; }

  // The plug-in processes samples of type P. With inputsReadOnly, host inputs
  // of that type are handed through unless they share an output's memory;
  // otherwise every input the plug-in reads is a scratch buffer, so the
  // host's are never written. Outputs of type P are written in place.
  template <typename P> bool NeedsScratch(bool inputsReadOnly) const;
  // The frames every scratch buffer can hold, at most limit.
  int ScratchFrames(int limit) const { return mOut.ScratchFrames(mIn.ScratchFrames(limit)); }
  // Points the plug-in's arrays at frames offset .. offset + nFrames - 1 of the block.
  template <typename P> void PrepareSlice(int offset, int nFrames, bool inputsReadOnly);
  // Outputs c < 64 that the plug-in writes straight into a host buffer of type P.
  template <typename P> uint64_t DirectOutputs() const;
  // 32-bit outputs receive the slice from their 64-bit scratch buffers.
  void WriteFloatOutputs(int offset, int nFrames, bool accumulate);
  // The refusal for a block that needs scratch room there is none of: its
  // 64-bit outputs, and its 32-bit ones when floatOutputs, become silence.
  void SilenceHostOutputs(int nFrames, bool floatOutputs);
  void ForgetHostBuffers();

  // Whether a block's buffers are all connected and share no memory, worked
  // out again only when the host hands over other buffers than the block
  // before: hosts mostly reuse theirs, and comparing costs less than looking.
  struct IBlockLayout {
    bool mAllConnected = false;
    bool mSharesMemory = false;
  };
  template <typename T> IBlockLayout LayoutOf(const IHostBlock<T>& block) {
    const uintptr_t* seen = mLayoutBuffers.Get();
    uintptr_t differs = static_cast<uintptr_t>(mLayoutFrames ^ block.mFrames) |
                        (mLayoutSampleSize ^ sizeof(T)) | !mRemembersLayout;
    for (int i = 0; i < block.mNIn; ++i)
      differs |= seen[i] ^ reinterpret_cast<uintptr_t>(block.mInputs[i]);
    for (int j = 0; j < block.mNOut; ++j)
      differs |= seen[block.mNIn + j] ^ reinterpret_cast<uintptr_t>(block.mOutputs[j]);
    if (differs) RememberLayout(block);
    return mLayout;
  }

  void CreateDelayLine(int nInputs, int nOutputs);
  IBypassDelayLine* DelayLine() const { return mDelay; }

  IChannelSet mIn;
  IChannelSet mOut;

private:
  void ParseChannelIO(const char* channelIOStr, int* nInMax, int* nOutMax);
  template <typename T> void RememberLayout(const IHostBlock<T>& block);

  WDL_PtrList<IChannelIO> mChannelIO;
  IBypassDelayLine* mDelay = nullptr;
  bool mOutputsOverlap = false;
  // The buffers (inputs, then outputs), frames and sample size of the last
  // block LayoutOf saw, and what it found; nothing is remembered when the
  // room for them could not be had.
  WDL_TypedBuf<uintptr_t> mLayoutBuffers;
  bool mRemembersLayout = false;
  int mLayoutFrames = -1;
  size_t mLayoutSampleSize = 0;
  IBlockLayout mLayout;
};

IPlugChannels* ChannelsOf(IPlugBase* plug);
