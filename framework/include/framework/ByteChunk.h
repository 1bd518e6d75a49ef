#pragma once
// A growable byte array holding plug-in state: plain values in native byte
// order, one after the other. Reads never leave the chunk: a read that does
// not fit returns -1 and leaves its target unchanged.
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "wdl/heap_buf.h"
#include "wdl/wdl_string.h"

class ByteChunk {
public:
  ByteChunk() : mBytes(4096) {}
  ByteChunk(const ByteChunk&) = delete;
  ByteChunk& operator=(const ByteChunk&) = delete;

  // Returns the new size; on a failed growth the size stays as it was.
  template <class T> int Put(const T* value) {
    static_assert(std::is_trivially_copyable<T>::value, "plain values only");
    return PutBytes(value, static_cast<int>(sizeof(T)));
  }

  // Returns the position after the value, or -1 when it does not fit.
  template <class T> int Get(T* value, int startPos) const {
    static_assert(std::is_trivially_copyable<T>::value, "plain values only");
    if (!Fits(startPos, static_cast<int64_t>(sizeof(T)))) return -1;
    memcpy(static_cast<void*>(value), mBytes.Get() + startPos, sizeof(T));
    return startPos + static_cast<int>(sizeof(T));
  }

  // A 32-bit length, then the bytes without terminator.
  int PutStr(const char* text) {
    const size_t n = text ? strlen(text) : 0;
    if (n > static_cast<size_t>(INT32_MAX - 4)) return Size();
    const int32_t length = static_cast<int32_t>(n);
    const int before = Size();
    if (!mBytes.ResizeOK(before + 4 + length, false)) {
      mBytes.Resize(before, false);
      return Size();
    }
    memcpy(mBytes.Get() + before, &length, 4);
    if (length) memcpy(mBytes.Get() + before + 4, text, static_cast<size_t>(length));
    return Size();
  }

  // A stored length that is negative or runs past the end fails the read. A
  // zero length leaves the string as it was; otherwise it takes the bytes up
  // to the first NUL among them.
  int GetStr(WDL_String* text, int startPos) const {
    int32_t length = 0;
    const int pos = Get(&length, startPos);
    if (pos < 0 || length < 0 || !Fits(pos, length)) return -1;
    if (length > 0) text->Set(reinterpret_cast<const char*>(mBytes.Get() + pos), length);
    return pos + length;
  }

  int PutBool(bool value) {
    const unsigned char byte = value ? 1 : 0;
    return Put(&byte);
  }
  int GetBool(bool* value, int startPos) const {
    unsigned char byte = 0;
    const int pos = Get(&byte, startPos);
    if (pos >= 0) *value = byte != 0;
    return pos;
  }

  int PutChunk(const ByteChunk* other) { return PutBytes(other->GetBytes(), other->Size()); }
  int PutBytes(const void* data, int size) {
    if (size > 0 && data) mBytes.Add(static_cast<const unsigned char*>(data), size);
    return Size();
  }

  void Clear() { mBytes.Resize(0, false); }
  int Size() const { return mBytes.GetSize(); }
  // Returns the new size, which is the old one if the chunk could not grow.
  int Resize(int newSize) {
    const int old = Size();
    if (!mBytes.ResizeOK(newSize, false)) return Size();
    if (newSize > old) memset(mBytes.Get() + old, 0, static_cast<size_t>(newSize - old));
    return newSize;
  }
  unsigned char* GetBytes() const { return mBytes.Get(); }
  bool IsEqual(const ByteChunk& other) const {
    return Size() == other.Size() && (Size() == 0 || !memcmp(GetBytes(), other.GetBytes(), Size()));
  }

private:
  // True when [pos, pos + length) lies inside the chunk; no sum can overflow.
  bool Fits(int64_t pos, int64_t length) const {
    return pos >= 0 && length >= 0 && pos <= Size() && length <= Size() - pos;
  }

  WDL_TypedBuf<unsigned char> mBytes;
};
