#pragma once
// A NUL-terminated 8-bit string. Every change goes through __doSet so that
// growth, aliasing and termination are handled in one place.
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "wdl/heap_buf.h"

class WDL_String {
public:
  WDL_String() : mHeap(128) {}
  explicit WDL_String(const char* text) : mHeap(128) { Set(text); }
  WDL_String(const WDL_String& other) : mHeap(128) { Set(other.Get()); }
  WDL_String& operator=(const WDL_String& other) {
    if (this != &other) Set(other.Get());
    return *this;
  }

  const char* Get() const {
    const char* p = static_cast<const char*>(mHeap.Get());
    return p ? p : "";
  }
  int GetLength() const {
    const char* p = static_cast<const char*>(mHeap.Get());
    return p ? static_cast<int>(strlen(p)) : 0;
  }

  // maxLength > 0 takes at most that many bytes of text.
  void Set(const char* text, int maxLength = 0) { __doSet(0, text, Clip(text, maxLength), 0); }
  void Append(const char* text, int maxLength = 0) {
    __doSet(GetLength(), text, Clip(text, maxLength), 0);
  }
  void Insert(const char* text, int position, int maxLength = 0) {
    const int length = GetLength();
    if (position < 0) position = 0;
    if (position > length) position = length;
    __doSet(position, text, Clip(text, maxLength), length - position);
  }

  // Formatted texts are cut to maxLength bytes.
  void SetFormatted(int maxLength, const char* format, ...) __attribute__((format(printf, 3, 4))) {
    va_list args;
    va_start(args, format);
    SetAppendFormatted(false, maxLength, format, args);
    va_end(args);
  }
  void AppendFormatted(int maxLength, const char* format, ...)
      __attribute__((format(printf, 3, 4))) {
    va_list args;
    va_start(args, format);
    SetAppendFormatted(true, maxLength, format, args);
    va_end(args);
  }

  // Offset, length and trailing count all 0 empty the string. Otherwise, for a
  // positive length at a valid offset: make room, move trailingCount bytes at
  // offset up by length, copy length bytes of text to offset, terminate.
  // Anything else, or a failed growth, changes nothing.
  void __doSet(int offset, const char* text, int length, int trailingCount) {
    if (offset == 0 && length == 0 && trailingCount == 0) {
      if (mHeap.GetSize()) {
        mHeap.Resize(1, false);
        static_cast<char*>(mHeap.Get())[0] = 0;
      }
      return;
    }
    const int current = GetLength();
    if (length <= 0 || !text || offset < 0 || offset > current || trailingCount < 0 ||
        trailingCount > current - offset || length > INT_MAX - 2 - current)
      return;
    const char* oldBlock = static_cast<const char*>(mHeap.Get());
    const bool aliased = oldBlock && text >= oldBlock && text < oldBlock + mHeap.GetSize();
    const ptrdiff_t textOffset = aliased ? text - oldBlock : 0;

    const int needed = offset + length + trailingCount + 1;
    if (mHeap.GetSize() < needed) {
      mHeap.Resize(needed, false);
      if (mHeap.GetSize() != needed) return;
    }
    char* p = static_cast<char*>(mHeap.Get());
    if (aliased) text = p + textOffset;
    if (trailingCount > 0)
      memmove(p + offset + length, p + offset, static_cast<size_t>(trailingCount));
    // The source may sit in the bytes that were just moved up.
    if (aliased && text >= p + offset && text < p + offset + trailingCount) text += length;
    memmove(p + offset, text, static_cast<size_t>(length));
    p[offset + length + trailingCount] = 0;
  }

private:
  static int Clip(const char* text, int maxLength) {
    if (!text) return 0;
    const size_t n = maxLength > 0 ? strnlen(text, static_cast<size_t>(maxLength)) : strlen(text);
    return n > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(n);
  }

  void SetAppendFormatted(bool append, int maxLength, const char* format, va_list args) {
    char small[512];
    va_list copy;
    va_copy(copy, args);
    const int n = vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return;
    const int limit = maxLength > 0 && maxLength < n ? maxLength : n;
    if (n < static_cast<int>(sizeof small)) {
      Put(append, small, limit);
      return;
    }
    char* big = static_cast<char*>(malloc(static_cast<size_t>(n) + 1));
    if (!big) return;
    vsnprintf(big, static_cast<size_t>(n) + 1, format, args);
    Put(append, big, limit);
    free(big);
  }

  void Put(bool append, const char* text, int length) {
    if (append)
      __doSet(GetLength(), text, length, 0);
    else
      __doSet(0, text, length, 0);
  }

  WDL_HeapBuf mHeap;
};
