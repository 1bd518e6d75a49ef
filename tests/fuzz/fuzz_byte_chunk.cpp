// ByteChunk's readers over any bytes at any position: a read either stays
// inside the chunk and returns the position after the value, or returns -1
// and leaves its target as it was. Whatever is read appends and reads back
// unchanged.
//
// Input: two bytes give the chunk's length, that many bytes are the chunk, the
// rest is a list of reads: one byte picks the kind (bit 7: continue where the
// last read ended), four bytes the position.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "framework/ByteChunk.h"

namespace {

template <class T> int CheckValueRead(const ByteChunk& chunk, int pos) {
  T value;
  memset(&value, 0x5A, sizeof value);
  T untouched = value;
  const int next = chunk.Get(&value, pos);
  const bool fits =
      pos >= 0 && static_cast<int64_t>(pos) + sizeof(T) <= static_cast<uint64_t>(chunk.Size());
  if (!fits) {
    FUZZ_CHECK(next == -1 && memcmp(&value, &untouched, sizeof value) == 0);
    return next;
  }
  FUZZ_CHECK(next == pos + static_cast<int>(sizeof(T)));
  FUZZ_CHECK(memcmp(&value, chunk.GetBytes() + pos, sizeof value) == 0);
  ByteChunk copy;
  FUZZ_CHECK(copy.Put(&value) == static_cast<int>(sizeof(T)));
  T back;
  FUZZ_CHECK(copy.Get(&back, 0) == static_cast<int>(sizeof(T)));
  FUZZ_CHECK(memcmp(&back, &value, sizeof value) == 0);
  return next;
}

int CheckStringRead(const ByteChunk& chunk, int pos) {
  WDL_String text("untouched");
  const int next = chunk.GetStr(&text, pos);
  int32_t length = -1;
  if (chunk.Get(&length, pos) < 0 || length < 0 || length > chunk.Size() - pos - 4) {
    FUZZ_CHECK(next == -1 && !strcmp(text.Get(), "untouched"));
    return next;
  }
  FUZZ_CHECK(next == pos + 4 + length);
  if (length == 0) {
    FUZZ_CHECK(!strcmp(text.Get(), "untouched"));
    return next;
  }
  const char* stored = reinterpret_cast<const char*>(chunk.GetBytes() + pos + 4);
  FUZZ_CHECK(std::string(text.Get()) == std::string(stored, strnlen(stored, length)));
  ByteChunk copy;
  copy.PutStr(text.Get());
  WDL_String back;
  FUZZ_CHECK(copy.GetStr(&back, 0) == copy.Size() && !strcmp(back.Get(), text.Get()));
  return next;
}

int CheckBoolRead(const ByteChunk& chunk, int pos) {
  bool value = true;
  const int next = chunk.GetBool(&value, pos);
  if (pos < 0 || pos >= chunk.Size()) {
    FUZZ_CHECK(next == -1 && value);
    return next;
  }
  FUZZ_CHECK(next == pos + 1 && value == (chunk.GetBytes()[pos] != 0));
  return next;
}

int Read(const ByteChunk& chunk, int kind, int pos) {
  switch (kind % 6) {
  case 0:
    return CheckValueRead<int8_t>(chunk, pos);
  case 1:
    return CheckValueRead<int32_t>(chunk, pos);
  case 2:
    return CheckValueRead<double>(chunk, pos);
  case 3:
    return CheckValueRead<int64_t>(chunk, pos);
  case 4:
    return CheckStringRead(chunk, pos);
  default:
    return CheckBoolRead(chunk, pos);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const size_t length = in.Take<uint16_t>();
  ByteChunk chunk;
  for (size_t i = 0; i < length && in.Left(); ++i) {
    const uint8_t byte = in.Byte();
    chunk.Put(&byte);
  }
  int last = 0;
  while (in.Left()) {
    const uint8_t kind = in.Byte();
    const int32_t pos = in.Take<int32_t>();
    last = Read(chunk, kind & 0x7F, (kind & 0x80) ? last : pos);
  }
  return 0;
}
