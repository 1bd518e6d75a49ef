// The saved state travels through the controller's state pair: the plug-in's
// state chunk, then the bypass flag as a little-endian 32-bit integer. A
// restore reads and checks the whole stream before anything changes.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "pluginterfaces/base/ibstream.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool WriteAll(IBStream* stream, const void* bytes, int32 size) {
  if (size == 0) return true;
  int32 written = 0;
  const tresult result = stream->write(const_cast<void*>(bytes), size, &written);
  return result == kResultOk && written == size;
}

// Bytes read, or -1 when the stream refused.
int32 ReadUpTo(IBStream* stream, void* bytes, int32 size) {
  int32 got = 0;
  const tresult result = stream->read(bytes, size, &got);
  if (result != kResultOk && result != kResultFalse) return -1;
  return got < 0 ? -1 : (got > size ? size : got);
}

// A plug-in without chunks of its own stores its parameter values as doubles
// one after the other; none of them may be NaN or infinite.
bool ParamValuesAreFinite(const ByteChunk& chunk) {
  for (int pos = 0; pos + 8 <= chunk.Size(); pos += 8) {
    double value = 0.0;
    chunk.Get(&value, pos);
    if (!std::isfinite(value)) return false;
  }
  return true;
}

} // namespace

tresult PLUGIN_API IPlugVST3::getEditorState(IBStream* stream) {
  if (!stream) return kInvalidArgument;
  WDL_MutexLock hold(GetMutex());
  ByteChunk chunk;
  if (!SerializeState(&chunk)) return kResultFalse;
  const int32_t bypass = GetIsBypassed() ? 1 : 0;
  // The value is stored little-endian, which is the machine's own order here.
  if (!WriteAll(stream, chunk.GetBytes(), chunk.Size())) return kResultFalse;
  if (!WriteAll(stream, &bypass, sizeof(bypass))) return kResultFalse;
  return kResultOk;
}

// A complete stream restores parameters and bypass; one that ends right after
// the chunk (older saves) restores the parameters and keeps the bypass;
// anything shorter, or a value that is not finite, changes nothing.
tresult PLUGIN_API IPlugVST3::setEditorState(IBStream* stream) {
  const tresult result = RestoreEditorState(stream);
  // Hosts that cache parameter values learn them only from the component's
  // state, which stays empty: tell them to read the restored values again.
  // Outside the plug-in lock, since the host calls back into the controller.
  if (result == kResultOk && componentHandler)
    componentHandler->restartComponent(kParamValuesChanged);
  return result;
}

tresult IPlugVST3::RestoreEditorState(IBStream* stream) {
  if (!stream) return kInvalidArgument;
  WDL_MutexLock hold(GetMutex());
  ByteChunk chunk;
  SerializeState(&chunk);
  const int32 size = chunk.Size();
  if (size <= 0) return kResultFalse;

  if (ReadUpTo(stream, chunk.GetBytes(), size) != size) return kResultFalse;
  int32_t bypass = 0;
  const int32 bypassBytes = ReadUpTo(stream, &bypass, sizeof(bypass));
  if (bypassBytes != 0 && bypassBytes != static_cast<int32>(sizeof(bypass))) return kResultFalse;
  if (!DoesStateChunks() && !ParamValuesAreFinite(chunk)) return kResultFalse;

  if (UnserializeState(&chunk, 0) < 0) return kResultFalse;
  if (bypassBytes == static_cast<int32>(sizeof(bypass))) SetBypassed(bypass != 0);
  RedrawParamControls();
  return kResultOk;
}
