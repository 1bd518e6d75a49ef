#pragma once
// An IBStream over a byte vector, with an optional capacity so that a host can
// also play a stream that runs out of room.
#include <cstdint>
#include <vector>

#include "pluginterfaces/base/ibstream.h"
#include "vst3/host/HostObject.h"

namespace vst3host {

class ByteStream : public HostObject<Steinberg::IBStream> {
public:
  // capacity < 0: unlimited.
  explicit ByteStream(long capacity = -1) : mCapacity(capacity) {}
  explicit ByteStream(const std::vector<uint8_t>& bytes) : mBytes(bytes) {}

  Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                     Steinberg::int32* numBytesRead) override;
  Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                      Steinberg::int32* numBytesWritten) override;
  Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                     Steinberg::int64* result) override;
  Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

  const std::vector<uint8_t>& Bytes() const { return mBytes; }
  size_t Position() const { return mPosition; }
  void Rewind() { mPosition = 0; }

private:
  std::vector<uint8_t> mBytes;
  size_t mPosition = 0;
  long mCapacity = -1;
};

} // namespace vst3host
