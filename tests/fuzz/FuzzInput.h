#pragma once
// Reads a fuzzer's bytes front to back as the fields a target needs. Once the
// bytes run out every field reads as zero, so any input is a whole case.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

class FuzzInput {
public:
  FuzzInput(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

  template <class T> T Take() {
    static_assert(std::is_trivially_copyable<T>::value, "plain values only");
    T value{};
    const size_t n = sizeof(T) < Left() ? sizeof(T) : Left();
    if (n) memcpy(&value, mData + mPos, n);
    mPos += n;
    return value;
  }
  uint8_t Byte() { return Take<uint8_t>(); }
  // The remaining bytes; the input is used up afterwards.
  std::vector<uint8_t> Rest() {
    std::vector<uint8_t> rest(mData + mPos, mData + mSize);
    mPos = mSize;
    return rest;
  }
  size_t Left() const { return mSize - mPos; }

private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
};

// A broken promise of the code under test: libFuzzer records the input that
// led here as a crash.
#define FUZZ_CHECK(condition)                                                                      \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                \
      abort();                                                                                     \
    }                                                                                              \
  } while (0)
