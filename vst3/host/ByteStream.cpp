#include "vst3/host/ByteStream.h"

#include <cstring>

using namespace Steinberg;

namespace vst3host {

tresult PLUGIN_API ByteStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
  if (numBytesRead) *numBytesRead = 0;
  if (numBytes < 0 || (numBytes > 0 && !buffer)) return kInvalidArgument;
  const size_t left = mBytes.size() > mPosition ? mBytes.size() - mPosition : 0;
  const size_t n = left < static_cast<size_t>(numBytes) ? left : static_cast<size_t>(numBytes);
  if (n) std::memcpy(buffer, mBytes.data() + mPosition, n);
  mPosition += n;
  if (numBytesRead) *numBytesRead = static_cast<int32>(n);
  return n == static_cast<size_t>(numBytes) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API ByteStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
  if (numBytesWritten) *numBytesWritten = 0;
  if (numBytes < 0 || (numBytes > 0 && !buffer)) return kInvalidArgument;
  size_t n = static_cast<size_t>(numBytes);
  if (mCapacity >= 0) {
    const size_t room =
        static_cast<size_t>(mCapacity) > mPosition ? static_cast<size_t>(mCapacity) - mPosition : 0;
    if (n > room) n = room;
  }
  if (mPosition + n > mBytes.size()) mBytes.resize(mPosition + n);
  if (n) std::memcpy(mBytes.data() + mPosition, buffer, n);
  mPosition += n;
  if (numBytesWritten) *numBytesWritten = static_cast<int32>(n);
  return n == static_cast<size_t>(numBytes) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API ByteStream::seek(int64 pos, int32 mode, int64* result) {
  int64 base = 0;
  if (mode == kIBSeekCur)
    base = static_cast<int64>(mPosition);
  else if (mode == kIBSeekEnd)
    base = static_cast<int64>(mBytes.size());
  else if (mode != kIBSeekSet)
    return kInvalidArgument;
  if (base + pos < 0) return kResultFalse;
  mPosition = static_cast<size_t>(base + pos);
  if (result) *result = static_cast<int64>(mPosition);
  return kResultOk;
}

tresult PLUGIN_API ByteStream::tell(int64* pos) {
  if (!pos) return kInvalidArgument;
  *pos = static_cast<int64>(mPosition);
  return kResultOk;
}

} // namespace vst3host
