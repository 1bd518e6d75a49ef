// The plug-in state chunk (the parameters' plain values as doubles, in index
// order, with no header), the framework version header, and the state stream
// that a binding stores with the host's project.
#include <cmath>
#include <cstdint>

#include "framework/IPlugBase.h"
#include "framework/IPlugStateStream.h"
#include "framework/Trace.h"

namespace {
const int kIPlugVersionMagic = 0x70666674; // 'pfft'
const int kIPlugVersion = 0x10000;
} // namespace

bool IPlugBase::SerializeParams(ByteChunk* chunk) {
  if (!chunk) return false;
  WDL_MutexLock lock(&mMutex);
  for (int i = 0; i < NParams(); ++i) {
    IParam* param = GetParam(i);
    Trace("SerializeParams", __LINE__, "%d %s %f", i, param->GetNameForHost(), param->Value());
    const double value = param->Value();
    const int before = chunk->Size();
    if (chunk->Put(&value) != before + static_cast<int>(sizeof value)) return false;
  }
  return true;
}

// A chunk that ends early restores the values it holds and no more; a stored
// NaN or infinity is refused and that parameter keeps its value. Either makes
// the result negative. Every parameter is notified in any case so that the
// plug-in's derived values follow.
int IPlugBase::UnserializeParams(ByteChunk* chunk, int startPos) {
  WDL_MutexLock lock(&mMutex);
  int pos = chunk ? startPos : -1;
  bool refused = false;
  for (int i = 0; i < NParams() && pos >= 0; ++i) {
    IParam* param = GetParam(i);
    Trace("UnserializeParams", __LINE__, "%d %s %f", i, param->GetNameForHost(), param->Value());
    double value = 0.0;
    pos = chunk->Get(&value, pos);
    if (pos < 0) break;
    if (std::isfinite(value))
      param->Set(value);
    else
      refused = true;
  }
  OnParamReset();
  return refused ? -1 : pos;
}

void IPlugBase::InitChunkWithIPlugVer(ByteChunk* chunk) {
  chunk->Clear();
  chunk->Put(&kIPlugVersionMagic);
  chunk->Put(&kIPlugVersion);
}

int IPlugBase::GetIPlugVerFromChunk(ByteChunk* chunk, int* position) {
  int magic = 0, version = 0;
  const int afterMagic = chunk->Get(&magic, *position);
  if (afterMagic < 0 || magic != kIPlugVersionMagic) return 0;
  const int afterVersion = chunk->Get(&version, afterMagic);
  *position = afterVersion;
  return afterVersion < 0 ? 0 : version;
}

namespace {

const int kBypassBytes = 4;

void PutBypassWord(bool bypassed, unsigned char* bytes) {
  const uint32_t word = bypassed ? 1 : 0;
  for (int i = 0; i < kBypassBytes; ++i) bytes[i] = static_cast<unsigned char>(word >> (8 * i));
}

bool BypassWordIsSet(const unsigned char* bytes) {
  uint32_t word = 0;
  for (int i = 0; i < kBypassBytes; ++i) word |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return word != 0;
}

// The parameter chunk is one double per parameter (SerializeParams); a plug-in
// without chunks of its own stores nothing else.
bool ParamValuesAreFinite(const ByteChunk& chunk) {
  for (int pos = 0; pos + static_cast<int>(sizeof(double)) <= chunk.Size();
       pos += static_cast<int>(sizeof(double))) {
    double value = 0.0;
    chunk.Get(&value, pos);
    if (!std::isfinite(value)) return false;
  }
  return true;
}

} // namespace

bool SaveStateStream(IPlugBase* plug, IStateWriter* stream) {
  WDL_MutexLock lock(plug->GetMutex());
  ByteChunk chunk;
  if (!plug->SerializeState(&chunk)) return false;
  unsigned char bypass[kBypassBytes];
  PutBypassWord(plug->GetIsBypassed(), bypass);
  if (chunk.Size() > 0 && !stream->Write(chunk.GetBytes(), chunk.Size())) return false;
  return stream->Write(bypass, kBypassBytes);
}

// Everything is read and checked before anything changes.
bool RestoreStateStream(IPlugBase* plug, IStateReader* stream) {
  WDL_MutexLock lock(plug->GetMutex());
  ByteChunk chunk;
  plug->SerializeState(&chunk);
  const int size = chunk.Size();
  if (size <= 0) return false;

  if (stream->Read(chunk.GetBytes(), size) != size) return false;
  unsigned char bypass[kBypassBytes] = {};
  const int bypassBytes = stream->Read(bypass, kBypassBytes);
  if (bypassBytes != 0 && bypassBytes != kBypassBytes) return false;
  if (!plug->DoesStateChunks() && !ParamValuesAreFinite(chunk)) return false;

  if (plug->UnserializeState(&chunk, 0) < 0) return false;
  if (bypassBytes == kBypassBytes) plug->SetBypassed(BypassWordIsSet(bypass));
  plug->RedrawParamControls();
  return true;
}
