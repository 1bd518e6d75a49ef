// The preset list: named states in the format of the state chunk, made by the
// plug-in's constructor, restored by hosts, and moved as a bank chunk.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "detail/Base64.h"
#include "framework/IPlugBase.h"
#include "framework/Trace.h"

namespace {

const char kUserPresetName[] = "user preset";

// Stored and given names may be of any length; the field keeps 255 bytes.
void SetPresetName(IPreset* preset, const char* name) {
  snprintf(preset->mName, sizeof preset->mName, "%s", name ? name : "");
}

// Takes the next uninitialised preset for a maker: marked initialised, named,
// chunk emptied so that it holds exactly what the maker appends.
IPreset* TakePreset(WDL_PtrList<IPreset>* presets, const char* name) {
  IPreset* preset = IPlugBase::GetNextUninitializedPreset(presets);
  if (!preset) return nullptr;
  preset->mInitialized = true;
  SetPresetName(preset, name);
  preset->mChunk.Clear();
  return preset;
}

bool AppendDouble(ByteChunk* chunk, double value) {
  const int before = chunk->Size();
  return chunk->Put(&value) == before + static_cast<int>(sizeof value);
}

// Parameters of these kinds take an int argument in the variadic makers.
bool TakesIntArgument(const IParam* param) {
  const IParam::EParamType type = param->Type();
  return type == IParam::kTypeBool || type == IParam::kTypeInt || type == IParam::kTypeEnum;
}

// A file written with printf-style calls; Close reports whether every write
// and the close itself succeeded.
class OutputFile {
public:
  explicit OutputFile(const char* filename)
      : mFile(filename && *filename ? fopen(filename, "w") : nullptr) {}
  ~OutputFile() {
    if (mFile) fclose(mFile);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool IsOpen() const { return mFile != nullptr; }
  void Print(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    if (!mFile) return;
    va_list args;
    va_start(args, format);
    if (vfprintf(mFile, format, args) < 0) mFailed = true;
    va_end(args);
  }
  bool Close() {
    if (!mFile) return false;
    const bool closed = fclose(mFile) == 0;
    mFile = nullptr;
    return closed && !mFailed;
  }

private:
  FILE* mFile;
  bool mFailed = false;
};

} // namespace

IPreset* IPlugBase::GetNextUninitializedPreset(WDL_PtrList<IPreset>* presets) {
  if (!presets) return nullptr;
  for (int i = 0; i < presets->GetSize(); ++i) {
    IPreset* preset = presets->Get(i);
    if (preset && !preset->mInitialized) return preset;
  }
  return nullptr;
}

void IPlugBase::MakeDefaultUserPresetName(WDL_PtrList<IPreset>* presets, char* name) {
  if (!name) return;
  int count = 0;
  for (int i = 0; presets && i < presets->GetSize(); ++i) {
    const IPreset* preset = presets->Get(i);
    if (preset && strstr(preset->mName, kUserPresetName)) ++count;
  }
  snprintf(name, IPreset::kNameLength, "%s %d", kUserPresetName, count + 1);
}

void IPlugBase::MakeDefaultPreset(const char* name, int nPresets) {
  for (int i = 0; i < nPresets; ++i) {
    IPreset* preset = TakePreset(&mPresets, name ? name : "Empty");
    if (!preset) return;
    SerializeState(&preset->mChunk);
  }
}

void IPlugBase::EnsureDefaultPreset() {
  MakeDefaultPreset("Empty", NPresets());
}

bool IPlugBase::MakePreset(const char* name, ...) {
  IPreset* preset = TakePreset(&mPresets, name);
  if (!preset) return false;
  va_list args;
  va_start(args, name);
  bool complete = true;
  for (int i = 0; i < NParams(); ++i) {
    const double value = TakesIntArgument(GetParam(i)) ? static_cast<double>(va_arg(args, int))
                                                       : va_arg(args, double);
    complete = AppendDouble(&preset->mChunk, value) && complete;
  }
  va_end(args);
  return complete;
}

// Which parameters were named is kept apart from the values, so that any
// value, however unusual, can be given.
bool IPlugBase::MakePresetFromNamedParams(const char* name, int nParamsNamed, ...) {
  const int n = NParams();
  std::unique_ptr<double[]> values(new double[n > 0 ? n : 1]);
  std::unique_ptr<bool[]> named(new bool[n > 0 ? n : 1]());
  va_list args;
  va_start(args, nParamsNamed);
  bool valid = true;
  for (int i = 0; i < nParamsNamed && valid; ++i) {
    const int paramIdx = va_arg(args, int);
    // The type of the value that follows an unknown index is unknown too, so
    // nothing after it can be read.
    if (paramIdx < 0 || paramIdx >= n) {
      valid = false;
      break;
    }
    values[paramIdx] = TakesIntArgument(GetParam(paramIdx)) ? static_cast<double>(va_arg(args, int))
                                                            : va_arg(args, double);
    named[paramIdx] = true;
  }
  va_end(args);
  if (!valid) return false;

  IPreset* preset = TakePreset(&mPresets, name);
  if (!preset) return false;
  bool complete = true;
  for (int i = 0; i < n; ++i)
    complete =
        AppendDouble(&preset->mChunk, named[i] ? values[i] : GetParam(i)->Value()) && complete;
  return complete;
}

bool IPlugBase::MakePresetFromChunk(const char* name, ByteChunk* chunk) {
  if (!chunk) return false;
  IPreset* preset = TakePreset(&mPresets, name);
  if (!preset) return false;
  return preset->mChunk.PutChunk(chunk) == chunk->Size();
}

bool IPlugBase::MakePresetFromBlob(const char* name, const char* blob, int sizeOfChunk) {
  if (sizeOfChunk < 0) return false;
  ByteChunk decoded;
  if (decoded.Resize(sizeOfChunk) != sizeOfChunk) return false;
  Base64Decode(blob, decoded.GetBytes(), sizeOfChunk);
  return MakePresetFromChunk(name, &decoded);
}

void IPlugBase::PruneUninitializedPresets() {
  for (int i = mPresets.GetSize() - 1; i >= 0; --i) {
    IPreset* preset = mPresets.Get(i);
    if (preset && !preset->mInitialized) mPresets.Delete(i, true);
  }
}

bool IPlugBase::RestorePreset(int idx) {
  IPreset* preset = mPresets.Get(idx);
  if (!preset) return false;
  if (!preset->mInitialized) {
    // Selecting an empty slot captures the current state as a new user preset.
    preset->mInitialized = true;
    MakeDefaultUserPresetName(&mPresets, preset->mName);
    preset->mChunk.Clear();
    if (!SerializeState(&preset->mChunk)) return false;
  } else if (UnserializeState(&preset->mChunk, 0) <= 0) {
    return false;
  }
  mCurrentPresetIdx = idx;
  PresetsChangedByHost();
  RedrawParamControls();
  return true;
}

bool IPlugBase::RestorePreset(const char* name) {
  if (!name || !*name) return false;
  for (int i = 0; i < mPresets.GetSize(); ++i) {
    if (!strcmp(mPresets.Get(i)->mName, name)) return RestorePreset(i);
  }
  return false;
}

const char* IPlugBase::GetPresetName(int idx) const {
  const IPreset* preset = mPresets.Get(idx);
  return preset ? preset->mName : "";
}

void IPlugBase::ModifyCurrentPreset(const char* name) {
  IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!preset) return;
  Trace("ModifyCurrentPreset", __LINE__, "%d %s", mCurrentPresetIdx, preset->mName);
  preset->mChunk.Clear();
  SerializeState(&preset->mChunk);
  if (name && *name) SetPresetName(preset, name);
}

// Each append is checked by the growth it should cause, so that a failed
// growth is reported rather than leaving a bank that cannot be read back.
bool IPlugBase::SerializePresets(ByteChunk* chunk) {
  if (!chunk) return false;
  for (int i = 0; i < mPresets.GetSize(); ++i) {
    const IPreset* preset = mPresets.Get(i);
    Trace("SerializePresets", __LINE__, "%d %s", i, preset->mName);
    const int before = chunk->Size();
    const int nameLength = static_cast<int>(strlen(preset->mName));
    if (chunk->PutStr(preset->mName) != before + 4 + nameLength) return false;
    if (chunk->PutBool(preset->mInitialized) != before + 5 + nameLength) return false;
    if (preset->mInitialized &&
        chunk->PutChunk(&preset->mChunk) != before + 5 + nameLength + preset->mChunk.Size())
      return false;
  }
  return true;
}

// Only presets whose record is read completely change: a bank that ends early
// or holds a state that cannot be restored leaves the remaining presets as
// they were, and the result is negative.
int IPlugBase::UnserializePresets(ByteChunk* chunk, int startPos) {
  int pos = chunk ? startPos : -1;
  for (int i = 0; i < mPresets.GetSize() && pos >= 0; ++i) {
    IPreset* preset = mPresets.Get(i);
    WDL_String name;
    bool initialized = false;
    pos = chunk->GetStr(&name, pos);
    if (pos >= 0) pos = chunk->GetBool(&initialized, pos);
    if (pos < 0) break;
    Trace("UnserializePresets", __LINE__, "%d %s", i, name.Get());
    if (initialized) {
      pos = UnserializeState(chunk, pos);
      if (pos <= 0) break;
      preset->mChunk.Clear();
      SerializeState(&preset->mChunk);
    }
    SetPresetName(preset, name.Get());
    preset->mInitialized = initialized;
  }
  RestorePreset(mCurrentPresetIdx);
  return pos;
}

bool IPlugBase::DumpPresetSrcCode(const char* filename, const char* const* paramEnumNames) {
  if (!paramEnumNames) return false;
  OutputFile file(filename);
  if (!file.IsOpen()) return false;
  const int n = NParams();
  file.Print("  MakePresetFromNamedParams(\"name\", %d", n);
  for (int i = 0; i < n; ++i) {
    const IParam* param = GetParam(i);
    if (paramEnumNames[i])
      file.Print(",\n    %s, ", paramEnumNames[i]);
    else
      file.Print(",\n    %d, ", i);
    switch (param->Type()) {
    case IParam::kTypeBool:
      file.Print("%s", param->Bool() ? "true" : "false");
      break;
    case IParam::kTypeInt:
    case IParam::kTypeEnum:
      file.Print("%d", param->Int());
      break;
    default:
      file.Print("%.6f", param->Value());
      break;
    }
  }
  file.Print(");\n");
  return file.Close();
}

bool IPlugBase::DumpPresetBlob(const char* filename) {
  const IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!preset) return false;
  OutputFile file(filename);
  if (!file.IsOpen()) return false;
  WDL_String blob;
  Base64Encode(preset->mChunk.GetBytes(), preset->mChunk.Size(), &blob);
  file.Print("MakePresetFromBlob(\"name\", \"%s\", %d);\n", blob.Get(), preset->mChunk.Size());
  return file.Close();
}
