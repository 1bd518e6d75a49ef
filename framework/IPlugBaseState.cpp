// The plug-in state chunk: the parameters' plain values as doubles, in index
// order, with no header.
#include <cmath>

#include "framework/IPlugBase.h"
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
