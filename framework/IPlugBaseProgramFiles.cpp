// Program and bank files: what the plug-in base writes into them and what a
// loaded one changes, in the order the preset list expects. The byte layouts
// are ProgramFileLayout's, the disk PresetFileIO's.
#include <cmath>
#include <cstdio>
#include <vector>

#include "detail/PresetFileIO.h"
#include "detail/ProgramFileLayout.h"
#include "editor/IGraphics.h"
#include "framework/IPlugBase.h"
#include "framework/Trace.h"

using namespace programfile;

namespace {

const int kSizedChunkHeader = 4;

// Values that cannot be stored as a normalized float (an empty range gives
// 0/0) are written as 0, so that our own files always load again.
float FileValue(double normalized) {
  return std::isfinite(normalized) ? static_cast<float>(normalized) : 0.0f;
}

// Whether a file built in memory came out whole, and fits what a load accepts.
bool Complete(const ByteChunk& file, int64_t expectedSize) {
  return expectedSize <= kMaxPresetFileSize && file.Size() == expectedSize;
}

Expected ExpectedOf(const IPlugBase& plug) {
  return {plug.GetUniqueID(), plug.NParams(), plug.NPresets(), plug.DoesStateChunks()};
}

} // namespace

bool IPlugBase::PromptForPresetFile(WDL_String* file, bool save, const char* extension) {
  if (!mGraphics) return false;
  char extensions[8];
  snprintf(extensions, sizeof extensions, "%s", extension);
  mGraphics->PromptForFile(file, save ? kFileSave : kFileOpen, &mPreviousPath, extensions);
  return file->GetLength() > 0;
}

bool IPlugBase::SaveProgramAsFXP(const char* proposedName) {
  WDL_String file(proposedName ? proposedName : "");
  return PromptForPresetFile(&file, true, "fxp") && SaveProgramToFile(file.Get());
}

bool IPlugBase::SaveBankAsFXB(const char* proposedName) {
  WDL_String file(proposedName ? proposedName : "");
  return PromptForPresetFile(&file, true, "fxb") && SaveBankToFile(file.Get());
}

bool IPlugBase::LoadProgramFromFXP() {
  WDL_String file("");
  return PromptForPresetFile(&file, false, "fxp") && LoadProgramFromFile(file.Get());
}

bool IPlugBase::LoadBankFromFXB() {
  WDL_String file("");
  return PromptForPresetFile(&file, false, "fxb") && LoadBankFromFile(file.Get());
}

bool IPlugBase::SaveProgramToFile(const char* path) {
  ByteChunk file;
  return MakeProgramFile(&file) && WritePresetFile(path, file);
}

bool IPlugBase::SaveBankToFile(const char* path) {
  ByteChunk file;
  return MakeBankFile(&file) && WritePresetFile(path, file);
}

bool IPlugBase::LoadProgramFromFile(const char* path) {
  ByteChunk file;
  if (!ReadPresetFile(path, &file)) {
    Trace("LoadProgramFromFile", __LINE__, "%s: cannot be read", path ? path : "");
    return false;
  }
  return LoadProgramFromBytes(file.GetBytes(), file.Size());
}

bool IPlugBase::LoadBankFromFile(const char* path) {
  ByteChunk file;
  if (!ReadPresetFile(path, &file)) {
    Trace("LoadBankFromFile", __LINE__, "%s: cannot be read", path ? path : "");
    return false;
  }
  return LoadBankFromBytes(file.GetBytes(), file.Size());
}

bool IPlugBase::MakeProgramFile(ByteChunk* file) {
  if (!file) return false;
  WDL_MutexLock lock(&mMutex);
  ProgramHeader header;
  header.pluginId = mUniqueID;
  header.pluginVersion = GetEffectVersion(true);
  header.numParams = NParams();
  const IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  SetNameField(header.name, preset ? preset->mName : "");
  file->Clear();
  if (DoesStateChunks()) {
    ByteChunk state;
    InitChunkWithIPlugVer(&state);
    if (!SerializeState(&state) || state.Size() > kMaxPresetFileSize) return false;
    header.fxMagic = kChunkProgramMagic;
    header.byteSize = state.Size() + kProgramHeaderSize + kSizedChunkHeader;
    PutProgramHeader(file, header);
    PutSizedChunk(file, state);
    return Complete(*file, header.byteSize);
  }
  PutProgramHeader(file, header);
  for (int i = 0; i < NParams(); ++i)
    PutBigEndianFloat(file, FileValue(GetParam(i)->GetNormalized()));
  return Complete(*file, kProgramHeaderSize + 4 * static_cast<int64_t>(NParams()));
}

bool IPlugBase::MakeBankFile(ByteChunk* file) {
  if (!file) return false;
  WDL_MutexLock lock(&mMutex);
  BankHeader bank;
  bank.pluginId = mUniqueID;
  bank.pluginVersion = GetEffectVersion(true);
  bank.numPrograms = NPresets();
  bank.currentProgram = mCurrentPresetIdx;
  file->Clear();
  if (DoesStateChunks()) {
    ByteChunk presets;
    InitChunkWithIPlugVer(&presets);
    if (!SerializePresets(&presets) || presets.Size() > kMaxPresetFileSize) return false;
    bank.fxMagic = kChunkBankMagic;
    bank.byteSize = presets.Size() + kBankHeaderSize + kSizedChunkHeader;
    PutBankHeader(file, bank);
    PutSizedChunk(file, presets);
    return Complete(*file, bank.byteSize);
  }
  PutBankHeader(file, bank);
  ProgramHeader program;
  program.pluginId = bank.pluginId;
  program.pluginVersion = bank.pluginVersion;
  program.numParams = NParams();
  for (int k = 0; k < NPresets(); ++k) {
    const IPreset* preset = mPresets.Get(k);
    SetNameField(program.name, preset->mName);
    PutProgramHeader(file, program);
    // The preset's chunk holds one double per parameter; the ones it lacks are 0.
    bool held = true;
    for (int i = 0; i < NParams(); ++i) {
      double plain = 0.0;
      held = held && preset->mChunk.Get(&plain, 8 * i) >= 0;
      PutBigEndianFloat(file, FileValue(GetParam(i)->GetNormalized(held ? plain : 0.0)));
    }
  }
  return Complete(*file, BankProgramOffset(NPresets(), NParams()));
}

// A chunk from a file, and where the plug-in's state starts in it: after the
// framework version header when the chunk begins with one.
bool IPlugBase::CopyFileChunk(const unsigned char* bytes, int length, ByteChunk* chunk,
                              int* start) {
  if (chunk->PutBytes(bytes, length) != length) return false;
  *start = 0;
  GetIPlugVerFromChunk(chunk, start);
  return *start >= 0;
}

// Restores the plug-in's state from a program chunk; a chunk the plug-in
// refuses is undone, so that a refusal changes nothing.
bool IPlugBase::LoadStateChunk(ByteChunk* chunk, int start) {
  ByteChunk before;
  SerializeState(&before);
  if (UnserializeState(chunk, start) >= 0) return true;
  UnserializeState(&before, 0);
  return false;
}

// After a load the plug-in's derived values and the editor follow the
// parameters: through the current preset when there is one, directly when not.
void IPlugBase::SettleOnLoadedState(bool keepPreset) {
  if (keepPreset && RestorePreset(mCurrentPresetIdx)) return;
  OnParamReset();
  RedrawParamControls();
}

bool IPlugBase::LoadProgramFromBytes(const unsigned char* bytes, int size) {
  if (!bytes || size < 0) return false;
  const Expected expected = ExpectedOf(*this);
  ProgramHeader header;
  ChunkExtent chunk;
  std::vector<float> values(static_cast<size_t>(NParams()));
  if (const char* refusal =
          DecodeProgram(bytes, size, 0, expected, false, &header, values.data(), &chunk)) {
    Trace("LoadProgramFromFXP", __LINE__, "refused: %s", refusal);
    return false;
  }
  ByteChunk state;
  int start = 0;
  if (header.fxMagic == kChunkProgramMagic &&
      !CopyFileChunk(bytes + chunk.offset, chunk.length, &state, &start)) {
    Trace("LoadProgramFromFXP", __LINE__, "refused: the version header is cut short");
    return false;
  }
  {
    WDL_MutexLock lock(&mMutex);
    if (header.fxMagic == kChunkProgramMagic) {
      if (!LoadStateChunk(&state, start)) {
        Trace("LoadProgramFromFXP", __LINE__, "refused: the plug-in cannot restore the chunk");
        return false;
      }
    } else {
      for (int i = 0; i < NParams(); ++i) GetParam(i)->SetNormalized(values[i]);
    }
    // The current preset keeps the program under the file's name; marked as
    // initialised, so that restoring it does not rename it as a user preset.
    IPreset* current = mPresets.Get(mCurrentPresetIdx);
    if (current) {
      ModifyCurrentPreset(header.name);
      current->mInitialized = true;
    }
    SettleOnLoadedState(current != nullptr);
  }
  InformHostOfProgramChange();
  return true;
}

// Program k goes into preset k: selected (an empty slot becomes a user
// preset), given the file's values, then stored with the file's name. Returns
// how many programs were loaded before the end or the first refusal.
int IPlugBase::LoadBankPrograms(const unsigned char* bytes, int size, int numPrograms) {
  const Expected expected = ExpectedOf(*this);
  std::vector<float> values(static_cast<size_t>(NParams()));
  for (int k = 0; k < numPrograms; ++k) {
    ProgramHeader header;
    ChunkExtent unused;
    const int offset = static_cast<int>(BankProgramOffset(k, NParams()));
    if (const char* refusal =
            DecodeProgram(bytes, size, offset, expected, true, &header, values.data(), &unused)) {
      Trace("LoadBankFromFXB", __LINE__,
            "program %d refused (%s); programs 0 to %d keep what they loaded", k, refusal, k - 1);
      if (k > 0) SettleOnLoadedState(true);
      return k;
    }
    // A preset whose stored state cannot be restored is still the one to fill.
    if (!RestorePreset(k)) mCurrentPresetIdx = k;
    for (int i = 0; i < NParams(); ++i) GetParam(i)->SetNormalized(values[i]);
    ModifyCurrentPreset(header.name);
  }
  return numPrograms;
}

bool IPlugBase::LoadBankFromBytes(const unsigned char* bytes, int size) {
  if (!bytes || size < 0) return false;
  const Expected expected = ExpectedOf(*this);
  BankHeader bank;
  ChunkExtent chunk;
  if (const char* refusal = DecodeBank(bytes, size, expected, &bank, &chunk)) {
    Trace("LoadBankFromFXB", __LINE__, "refused: %s", refusal);
    return false;
  }
  ByteChunk presets;
  int start = 0;
  if (bank.fxMagic == kChunkBankMagic &&
      !CopyFileChunk(bytes + chunk.offset, chunk.length, &presets, &start)) {
    Trace("LoadBankFromFXB", __LINE__, "refused: the version header is cut short");
    return false;
  }
  bool loaded = false;
  bool changed = true;
  {
    WDL_MutexLock lock(&mMutex);
    if (bank.fxMagic == kChunkBankMagic) {
      loaded = UnserializePresets(&presets, start) >= 0;
      if (!loaded)
        Trace("LoadBankFromFXB", __LINE__,
              "the bank chunk is damaged; presets read before the damage keep what they loaded");
    } else {
      const int programs = LoadBankPrograms(bytes, size, bank.numPrograms);
      loaded = programs == bank.numPrograms;
      changed = programs > 0 || loaded;
      // The loop leaves the last program current; the bank names its own.
      if (loaded && !RestorePreset(bank.currentProgram) && programs > 0) SettleOnLoadedState(true);
    }
  }
  if (changed) InformHostOfProgramChange();
  return loaded;
}
