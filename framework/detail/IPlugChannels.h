#pragma once
// Inside the plug-in base: the channel configuration, one record per input
// and output channel with its scratch buffer, the bypass delay line, and the
// steps with which a block of the host's buffers reaches the plug-in. Only
// framework/ and its tests include this header; everyone else goes through
// IPlugBase.
#include <cstdint>

#include "wdl/heap_buf.h"
#include "wdl/ptr_list.h"
#include "wdl/wdl_string.h"

class IPlugBase;

// One legal (inputs, outputs) pair of the channel I/O string.
struct IChannelIO {
  int mIn = 0;
  int mOut = 0;
};

// One input or output channel.
struct IPlugChannel {
  bool mConnected = false;
  // This channel's entry in the pointer array the plug-in's processing gets.
  double** mSlot = nullptr;
  WDL_TypedBuf<double> mScratchBuf{4096};
  WDL_String mLabel;
  // The host's buffer for the current block, in the host's sample type; at
  // most one of the two is set.
  double* mHost64 = nullptr;
  float* mHost32 = nullptr;
};

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

  // Channels outside idx .. idx + n - 1 or beyond the last are left alone.
  void SetConnections(int idx, int n, bool connected);
  bool IsConnected(int idx) const;
  // Connected channels in the range take the next pointer of data, in order.
  template <typename T> void Attach(int idx, int n, T** data);
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
  WDL_PtrList<IPlugChannel> mChannels;
  WDL_TypedBuf<double*> mData;
  WDL_PtrList<WDL_String> mBusLabels;
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

  // With inputsReadOnly, 64-bit inputs are handed through; otherwise every
  // input the plug-in reads is a scratch buffer, so the host's are never written.
  bool NeedsScratch(bool inputsReadOnly) const;
  // The frames every scratch buffer can hold, at most limit.
  int ScratchFrames(int limit) const { return mOut.ScratchFrames(mIn.ScratchFrames(limit)); }
  // Points the plug-in's arrays at frames offset .. offset + nFrames - 1 of the block.
  void PrepareSlice(int offset, int nFrames, bool inputsReadOnly);
  // 32-bit outputs receive the slice from their scratch buffers.
  void WriteFloatOutputs(int offset, int nFrames, bool accumulate);
  // The refusal for a block that needs scratch room there is none of.
  void SilenceHostOutputs(int nFrames, bool floatOutputs);
  void ForgetHostBuffers();

  void CreateDelayLine(int nInputs, int nOutputs);
  IBypassDelayLine* DelayLine() const { return mDelay; }

  IChannelSet mIn;
  IChannelSet mOut;

private:
  void ParseChannelIO(const char* channelIOStr, int* nInMax, int* nOutMax);

  WDL_PtrList<IChannelIO> mChannelIO;
  IBypassDelayLine* mDelay = nullptr;
};

IPlugChannels* ChannelsOf(IPlugBase* plug);
