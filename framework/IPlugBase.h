#pragma once
// The format-independent core of a plug-in: parameters, presets, channel
// configuration and buffer plumbing, bypass, the plug-in lock, identity and
// the editor's graphics object. A format binding derives from it and
// implements its pure virtual operations; the plug-in derives from the binding.
#include <cstdint>

#include "framework/ByteChunk.h"
#include "framework/HostInfo.h"
#include "framework/IGraphicsLink.h"
#include "framework/IMidiMsg.h"
#include "framework/IParam.h"
#include "framework/IPreset.h"
#include "framework/ITimeInfo.h"
#include "wdl/heap_buf.h"
#include "wdl/mutex.h"
#include "wdl/ptr_list.h"
#include "wdl/wdl_string.h"

class IPlugBase {
public:
  static const int kNameLength = 128;

  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
            int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst,
            EAPI plugAPI);
  virtual ~IPlugBase();
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- What a plug-in overrides (base behaviour in IPlugBase.cpp) ----
  virtual void Reset();
  virtual void OnParamChange(int paramIdx);
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames);
  virtual void ProcessSingleReplacing(float** inputs, float** outputs, int nFrames);
  virtual void OnGUIOpen() {}
  virtual void OnGUIClose() {}
  virtual void OnIdle() {}
  virtual void OnActivate(bool active);
  virtual void ProcessMidiMsg(IMidiMsg* msg);
  virtual void ProcessSysEx(ISysEx*) {}
  virtual bool MidiNoteName(int noteNumber, char* name);
  virtual bool SerializeState(ByteChunk* chunk) { return SerializeParams(chunk); }
  virtual int UnserializeState(ByteChunk* chunk, int startPos) {
    return UnserializeParams(chunk, startPos);
  }
  virtual bool CompareState(const unsigned char* incomingState, int startPos);
  virtual void OnWindowResize() {}
  virtual bool HostRequestingAboutBox() { return false; }
  virtual void OnHostIdentified() {}
  virtual void PopupHostContextMenuForParam(int, int, int) {}
  virtual void SetParameterFromGUI(int paramIdx, double normalizedValue);

  // ---- What the format binding implements ----
  virtual void BeginInformHostOfParamChange(int paramIdx) = 0;
  virtual void InformHostOfParamChange(int paramIdx, double normalizedValue) = 0;
  virtual void EndInformHostOfParamChange(int paramIdx) = 0;
  virtual void InformHostOfProgramChange() = 0;
  virtual bool IsRenderingOffline() { return false; }
  virtual int GetSamplePos() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSig(int* numerator, int* denominator) = 0;
  virtual void GetTime(ITimeInfo* timeInfo) = 0;
  virtual EHost GetHost() { return mHost; }
  virtual EAPI GetAPI() { return mAPI; }
  virtual void ResizeGraphics(int w, int h) = 0;
  virtual void HostSpecificInit() {}
  virtual void AttachGraphics(IGraphicsLink* graphics);
  virtual void SetLatency(int samples);
  virtual bool SendMidiMsg(IMidiMsg* msg) = 0;
  virtual bool SendSysEx(ISysEx*) { return false; }
  virtual void RedrawParamControls();
  virtual void DirtyPTCompareState() {}
  virtual void PresetsChangedByHost() {}
  virtual void SetBlockSize(int blockSize);

  // ---- Parameters ----
  IParam* GetParam(int idx) const { return mParams.Get(idx); }
  int NParams() const { return mParams.GetSize(); }
  void OnParamReset();
  void DirtyParameters();

  // ---- Identity, host and versions ----
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMfrName() const { return mMfrName; }
  int GetUniqueID() const { return mUniqueID; }
  int GetMfrID() const { return mMfrID; }
  bool DoesStateChunks() const { return mStateChunks; }
  bool IsInst() const { return mIsInst; }
  bool DoesMIDI() const { return mDoesMIDI; }
  int GetEffectVersion(bool decimal) const;
  void GetEffectVersionStr(char* text) const;
  int GetHostVersion(bool decimal);
  void GetHostVersionStr(char* text);
  const char* GetAPIString();
  const char* GetArchString() const;
  void SetHost(const char* host, int version);

  // ---- Audio settings ----
  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  bool GetIsBypassed() const { return mIsBypassed; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  void SetBypassed(bool bypassed) { mIsBypassed = bypassed; }
  double GetSamplesPerBeat();

  // ---- Channels ----
  int NInChannels() const { return mInChannels.GetSize(); }
  int NOutChannels() const { return mOutChannels.GetSize(); }
  int NChannelIO() const { return mChannelIO.GetSize(); }
  bool GetChannelIO(int idx, int* nIn, int* nOut) const;
  bool LegalIO(int nIn, int nOut) const;
  void LimitToStereoIO();
  void SetInputChannelConnections(int idx, int n, bool connected);
  void SetOutputChannelConnections(int idx, int n, bool connected);
  bool IsInChannelConnected(int chIdx) const;
  bool IsOutChannelConnected(int chIdx) const;
  void SetInputLabel(int idx, const char* label);
  void SetOutputLabel(int idx, const char* label);
  const char* GetInputLabel(int idx) const;
  const char* GetOutputLabel(int idx) const;
  void SetInputBusLabel(int idx, const char* label);
  void SetOutputBusLabel(int idx, const char* label);
  const WDL_String* GetInputBusLabel(int idx) const { return mInputBusLabels.Get(idx); }
  const WDL_String* GetOutputBusLabel(int idx) const { return mOutputBusLabels.Get(idx); }

  // ---- Buffer plumbing (IPlugBaseBuffers.cpp) ----
  // The host's buffers for one block; connected channels take them in order.
  void AttachInputBuffers(int idx, int n, double** data, int nFrames);
  void AttachInputBuffers(int idx, int n, float** data, int nFrames);
  void AttachOutputBuffers(int idx, int n, double** data);
  void AttachOutputBuffers(int idx, int n, float** data);
  // A block longer than the scratch buffers is processed in slices of the
  // block size; one that would need scratch buffers before any block size
  // is set comes out as silence.
  void ProcessBuffers(double, int nFrames);
  void ProcessBuffers(float, int nFrames);
  void ProcessBuffersAccumulating(float, int nFrames);
  void PassThroughBuffers(double, int nFrames);
  void PassThroughBuffers(float, int nFrames);
  void ZeroScratchBuffers();
  // Made by the binding before processing; delays the bypassed signal by the latency.
  void CreateBypassDelayLine(int nInputs, int nOutputs);

  // ---- MIDI ----
  bool SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* msgs);

  // ---- State (IPlugBaseState.cpp) ----
  bool SerializeParams(ByteChunk* chunk);
  int UnserializeParams(ByteChunk* chunk, int startPos);
  void InitChunkWithIPlugVer(ByteChunk* chunk);
  int GetIPlugVerFromChunk(ByteChunk* chunk, int* position);

  // ---- Presets ----
  int NPresets() const { return mPresets.GetSize(); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  IPreset* GetPreset(int idx) const { return mPresets.Get(idx); }

  // ---- Preset operations (IPlugBasePresets.cpp) ----
  // The makers fill the next uninitialised preset and return false when none is
  // left or their input is refused. Names longer than 255 bytes are cut.
  static IPreset* GetNextUninitializedPreset(WDL_PtrList<IPreset>* presets);
  // "user preset N", N being 1 + the number of names that contain "user preset";
  // `name` holds IPreset::kNameLength bytes.
  static void MakeDefaultUserPresetName(WDL_PtrList<IPreset>* presets, char* name);
  void MakeDefaultPreset(const char* name = nullptr, int nPresets = 1);
  void EnsureDefaultPreset();
  // One value per parameter in index order: int for bool, int and enum
  // parameters, double for the others.
  bool MakePreset(const char* name, ...);
  // nParamsNamed (int index, value) pairs; unnamed parameters keep their value.
  bool MakePresetFromNamedParams(const char* name, int nParamsNamed, ...);
  bool MakePresetFromChunk(const char* name, ByteChunk* chunk);
  // Base64 text decoded into a zero-filled chunk of sizeOfChunk bytes.
  bool MakePresetFromBlob(const char* name, const char* blob, int sizeOfChunk);
  void PruneUninitializedPresets();
  bool RestorePreset(int idx);
  bool RestorePreset(const char* name);
  const char* GetPresetName(int idx) const;
  void ModifyCurrentPreset(const char* name = nullptr);
  bool SerializePresets(ByteChunk* chunk);
  int UnserializePresets(ByteChunk* chunk, int startPos);
  // Source text that recreates the current state or preset; false when the
  // file cannot be written. paramEnumNames holds one name per parameter; a null
  // entry is written as the parameter's index.
  bool DumpPresetSrcCode(const char* filename, const char* const* paramEnumNames);
  // Needs a valid current preset; chunks of any size are written.
  bool DumpPresetBlob(const char* filename);
  // ---- End of preset operations ----

  // ---- Editor and lock ----
  IGraphicsLink* GetGUI() const { return mGraphics; }
  // The recursive plug-in lock; the binding holds it for a whole processing call.
  WDL_Mutex* GetMutex() { return &mMutex; }

protected:
  struct ChannelIO {
    int mIn = 0;
    int mOut = 0;
  };
  struct InChannel {
    bool mConnected = false;
    double** mSrc = nullptr;
    WDL_TypedBuf<double> mScratchBuf{4096};
    WDL_String mLabel;
    // The host's buffer for the current block, at most one of the two.
    double* mHostSrc = nullptr;
    const float* mHostSrc32 = nullptr;
  };
  struct OutChannel {
    bool mConnected = false;
    double** mDest = nullptr;
    float* mFDest = nullptr;
    WDL_TypedBuf<double> mScratchBuf{4096};
    WDL_String mLabel;
    double* mHostDest = nullptr;
  };
  struct BypassDelayLine {
    WDL_TypedBuf<double> mBuffer{4096};
    uint64_t mWritePos = 0;
    int mNIn = 0;
    int mNOut = 0;
    int64_t mDelay = 0;
  };

  WDL_PtrList<ChannelIO> mChannelIO;
  WDL_Mutex mMutex;
  char mEffectName[kNameLength];
  char mProductName[kNameLength];
  char mMfrName[kNameLength];
  int mUniqueID;
  int mMfrID;
  int mVersion;
  EAPI mAPI;
  EHost mHost = kHostUninit;
  int mHostVersion = 0;
  bool mStateChunks;
  bool mIsInst;
  bool mDoesMIDI;
  bool mIsBypassed = false;
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency;
  WDL_String mPreviousPath;
  BypassDelayLine* mDelay = nullptr;
  WDL_PtrList<const char> mParamGroups;
  IGraphicsLink* mGraphics = nullptr;
  WDL_PtrList<IParam> mParams;
  WDL_PtrList<IPreset> mPresets;
  WDL_TypedBuf<double*> mInData;
  WDL_TypedBuf<double*> mOutData;
  WDL_PtrList<InChannel> mInChannels;
  WDL_PtrList<OutChannel> mOutChannels;
  WDL_PtrList<WDL_String> mInputBusLabels;
  WDL_PtrList<WDL_String> mOutputBusLabels;

private:
  void ParseChannelIO(const char* channelIOStr, int* nInMax, int* nOutMax);
  // Buffer plumbing helpers (IPlugBaseBuffers.cpp).
  int ScratchFrames() const;
  bool NeedsScratch() const;
  enum class FloatOutput { kNone, kReplace, kAccumulate };
  void PrepareSlice(int offset, int nFrames);
  void ProcessSlices(int nFrames, bool bypass, FloatOutput floatOutput);
  void ConvertOutputs(int offset, int nFrames, FloatOutput floatOutput);
  void SilenceHostOutputs(int nFrames, FloatOutput floatOutput);
  void ClearHostBuffers();
  void DelayThrough(int nFrames);
};
