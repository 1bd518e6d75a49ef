#pragma once
// The format-independent core of a plug-in: parameters, presets, channel
// configuration and buffer plumbing, bypass, the plug-in lock, identity and
// the editor's graphics object. A format binding derives from it and
// implements its pure virtual operations; the plug-in derives from the binding.
//
// Base behaviour: IPlugBase.cpp. Buffers and processing: IPlugBaseBuffers.cpp.
// State chunks: IPlugBaseState.cpp. Presets: IPlugBasePresets.cpp. Program
// and bank files: IPlugBaseProgramFiles.cpp.
#include <atomic>
#include <cstdint>

#include "framework/ByteChunk.h"
#include "framework/HostInfo.h"
#include "framework/IMidiMsg.h"
#include "framework/IParam.h"
#include "framework/IPreset.h"
#include "framework/ITimeInfo.h"
#include "wdl/heap_buf.h"
#include "wdl/mutex.h"
#include "wdl/ptr_list.h"
#include "wdl/wdl_string.h"

class IGraphics;
class IPlugChannels;
template <typename T> struct IHostBlock;

// What a block's processing says about its outputs, bit c for output c < 64:
// known outputs were written straight into the host's buffers and their
// silence told, silent ones (a subset) hold only zeros of either sign. A
// binding looks at the other outputs itself.
struct IOutputSilence {
  uint64_t mKnown = 0;
  uint64_t mSilent = 0;
};

class IPlugBase {
public:
  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
            int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst,
            EAPI plugAPI);
  virtual ~IPlugBase();
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // What a plug-in overrides; the base behaviour is in IPlugBase.cpp.
  virtual void Reset();
  virtual void OnParamChange(int paramIdx);
  // The base copies input i to output i where both exist and zeroes the other outputs.
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames);
  // Called for 32-bit blocks only in plug-ins that ask for it (SetProcessesSingleReplacing).
  virtual void ProcessSingleReplacing(float** inputs, float** outputs, int nFrames);
  // True when, as the plug-in stands, a block whose inputs are all zeros would
  // come out with each output an exact copy of its same-index input (every
  // zero keeping its sign) and +0 in outputs without one. The base then writes
  // that itself instead of calling the processing.
  virtual bool PassesSilence() { return false; }
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
  // A value the host sets outside a block (its controller): applied as a
  // block's changes are, under the lock, with the editor's update and
  // OnParamChange. Unknown indexes change nothing.
  void SetParameterFromHost(int paramIdx, double normalizedValue);

  // What the format binding implements.
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
  // The base owns the graphics object from here on.
  virtual void AttachGraphics(IGraphics* graphics);
  virtual void SetLatency(int samples);
  virtual bool SendMidiMsg(IMidiMsg* msg) = 0;
  virtual bool SendSysEx(ISysEx*) { return false; }
  virtual void RedrawParamControls();
  virtual void DirtyPTCompareState() {}
  virtual void PresetsChangedByHost() {}
  virtual void SetBlockSize(int blockSize);

  IParam* GetParam(int idx) const { return mParams.Get(idx); }
  int NParams() const { return mParams.GetSize(); }
  void OnParamReset();
  void DirtyParameters();

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

  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  // Read without the lock (the controller, the state); written under it, so
  // a block never sees it change.
  bool GetIsBypassed() const { return mIsBypassed.load(std::memory_order_relaxed); }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  void SetBypassed(bool bypassed);
  double GetSamplesPerBeat();

  // Channels: ranges are clamped to the channels that exist.
  int NInChannels() const { return mNInChannels; }
  int NOutChannels() const { return mNOutChannels; }
  int NChannelIO() const;
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
  const WDL_String* GetInputBusLabel(int idx) const;
  const WDL_String* GetOutputBusLabel(int idx) const;

  // One block of the host's buffers, T being double or float. Connected
  // channels take the pointers in order. The plug-in never writes the host's
  // inputs (see SetInputsReadOnly); a block longer than the scratch buffers
  // runs in slices of the block size; one that needs scratch buffers before
  // any block size is set comes out as silence.
  template <typename T> void AttachInputBuffers(int idx, int n, T** data, int nFrames);
  template <typename T> void AttachOutputBuffers(int idx, int n, T** data);
  template <typename T> void ProcessBuffers(T, int nFrames);
  void ProcessBuffersAccumulating(float, int nFrames);
  template <typename T> void PassThroughBuffers(T, int nFrames);
  // A whole block straight from a binding, in place of the connection, attach
  // and process calls above, bypass included: one buffer per plug-in channel,
  // null for one the host does not connect; bit c of silentInputs says the
  // host holds input c to be all zeros.
  template <typename T>
  IOutputSilence ProcessBlock(T* const* inputs, T* const* outputs, int nFrames,
                              uint64_t silentInputs);
  void ZeroScratchBuffers();
  // Made by the binding before processing; delays the bypassed signal by the latency.
  void CreateBypassDelayLine(int nInputs, int nOutputs);

  bool SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* msgs);

  bool SerializeParams(ByteChunk* chunk);
  int UnserializeParams(ByteChunk* chunk, int startPos);
  void InitChunkWithIPlugVer(ByteChunk* chunk);
  int GetIPlugVerFromChunk(ByteChunk* chunk, int* position);

  int NPresets() const { return mPresets.GetSize(); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  IPreset* GetPreset(int idx) const { return mPresets.Get(idx); }
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

  // Program ("fxp") and bank ("fxb") files: the chunk forms when the plug-in
  // keeps state chunks, the parameter forms otherwise. The prompting forms ask
  // through the editor's file prompt, starting in the folder of the previous
  // preset file, and return false without an editor or when nothing is
  // chosen; the path forms are for tools and tests; the byte forms do the
  // work. True when a file was written or accepted. A refused file changes
  // nothing, except that a bank refused part-way keeps the programs (or, in
  // the chunk form, the presets) it loaded before the refusal.
  bool SaveProgramAsFXP(const char* proposedName = nullptr);
  bool SaveBankAsFXB(const char* proposedName = nullptr);
  bool LoadProgramFromFXP();
  bool LoadBankFromFXB();
  bool SaveProgramToFile(const char* path);
  bool SaveBankToFile(const char* path);
  bool LoadProgramFromFile(const char* path);
  bool LoadBankFromFile(const char* path);
  bool MakeProgramFile(ByteChunk* file);
  bool MakeBankFile(ByteChunk* file);
  bool LoadProgramFromBytes(const unsigned char* bytes, int size);
  bool LoadBankFromBytes(const unsigned char* bytes, int size);

  IGraphics* GetGUI() const { return mGraphics; }
  // The recursive plug-in lock; the binding holds it for a whole processing call.
  WDL_Mutex* GetMutex() { return &mMutex; }

protected:
  // A plug-in whose processing never writes its input buffers, and that gives
  // the same result when output c is input c's own buffer (as in-place hosts
  // pass them), says so here; host inputs of the sample type it processes are
  // then handed to it directly instead of as copies.
  void SetInputsReadOnly(bool readOnly) { mInputsReadOnly = readOnly; }
  // A plug-in whose ProcessSingleReplacing gives exactly what its 64-bit
  // processing rounded to float would says so here; 32-bit blocks then go to
  // it without conversion.
  void SetProcessesSingleReplacing(bool processesSingle) { mProcessesSingle = processesSingle; }
  // Processing may tell, for each output it has just written, whether every
  // sample is a zero of either sign; bindings then need not look.
  void ReportOutputSilence(int chIdx, bool silent) {
    if (chIdx < 0 || chIdx >= 64) return;
    const uint64_t bit = uint64_t{1} << chIdx;
    mSliceReported |= bit;
    mSliceSilent = silent ? mSliceSilent | bit : mSliceSilent & ~bit;
  }

private:
  // The framework's own files and tests reach the channel records through this.
  friend IPlugChannels* ChannelsOf(IPlugBase* plug);

  static const int kNameLength = 128;

  template <typename T> IOutputSilence ProcessSlices(int nFrames, bool bypass, bool accumulate);
  // T is the host's sample type, P the one the plug-in processes.
  template <typename T, typename P>
  IOutputSilence RunSlices(int nFrames, bool bypass, bool accumulate);
  template <typename P> void ProcessSlice(int nFrames, bool bypass);
  template <typename T> IOutputSilence ProcessHostBuffers(const IHostBlock<T>& block);
  // Program and bank file helpers (IPlugBaseProgramFiles.cpp).
  bool PromptForPresetFile(WDL_String* file, bool save, const char* extension);
  bool CopyFileChunk(const unsigned char* bytes, int length, ByteChunk* chunk, int* start);
  bool LoadStateChunk(ByteChunk* chunk, int start);
  int LoadBankPrograms(const unsigned char* bytes, int size, int numPrograms);
  void SettleOnLoadedState(bool keepPreset);

  IPlugChannels* mChannels = nullptr; // channel records, scratch buffers, delay line
  int mNInChannels = 0;
  int mNOutChannels = 0;
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
  std::atomic<bool> mIsBypassed{false};
  bool mInputsReadOnly = false;
  bool mProcessesSingle = false;
  // What processing told of the outputs of the slice it ran. Kept apart:
  // loaded together as one vector they would wait for its separate stores.
  uint64_t mSliceReported = 0;
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  uint64_t mSliceSilent = 0;
  int mBlockSize = 0;
  int mLatency;
  WDL_String mPreviousPath;
  IGraphics* mGraphics = nullptr;
  WDL_PtrList<IParam> mParams;
  WDL_PtrList<IPreset> mPresets;
};
