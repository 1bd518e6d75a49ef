#pragma once
// Growable heap blocks. The growth and shrink rules are fixed because callers
// size scratch buffers once and then rely on the block not moving.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

class WDL_HeapBuf {
public:
  explicit WDL_HeapBuf(int granularity = 4096, int minAllocation = 0)
      : mGranularity(granularity > 0 ? granularity : 1), mMinAlloc(minAllocation) {}
  ~WDL_HeapBuf() { free(mBuf); }
  WDL_HeapBuf(const WDL_HeapBuf&) = delete;
  WDL_HeapBuf& operator=(const WDL_HeapBuf&) = delete;

  void* Get() const { return mSize ? mBuf : nullptr; }
  int GetSize() const { return mSize; }
  int GetAllocated() const { return mAlloc; }
  int GetGranularity() const { return mGranularity; }
  void SetGranularity(int granularity) { mGranularity = granularity > 0 ? granularity : 1; }
  void SetMinAllocSize(int minAllocation) { mMinAlloc = minAllocation; }

  // Returns the data pointer (null when the used size is 0). When the block
  // cannot grow, buffer and used size stay as they were: callers compare
  // GetSize() with what they asked for.
  void* Resize(int newSize, bool shrink = true) {
    if (newSize < 0) newSize = 0;
    if (newSize > mAlloc || (shrink && newSize < ShrinkThreshold())) {
      if (newSize == 0) {
        free(mBuf);
        mBuf = nullptr;
        mAlloc = mSize = 0;
        return nullptr;
      }
      const int64_t want = AllocationFor(newSize);
      if (want > INT_MAX) return Get();
      void* grown = realloc(mBuf, static_cast<size_t>(want));
      if (!grown) {
        if (newSize <= mAlloc) { // a failed shrink keeps the larger block
          mSize = newSize;
          return Get();
        }
        grown = malloc(static_cast<size_t>(want));
        if (!grown) return Get();
        if (mBuf) memcpy(grown, mBuf, static_cast<size_t>(mSize));
        free(mBuf);
      }
      mBuf = grown;
      mAlloc = static_cast<int>(want);
    }
    mSize = newSize;
    return Get();
  }

private:
  int ShrinkThreshold() const {
    const int64_t a = static_cast<int64_t>(mAlloc) - 4 * static_cast<int64_t>(mGranularity);
    const int64_t b = mAlloc / 2;
    const int64_t smaller = a < b ? a : b;
    return static_cast<int>(smaller > 1 ? smaller : 1);
  }

  // Small granularities grow by half the size; page-sized ones round so that
  // the block plus the allocator's header fill whole 4096-byte pages.
  int64_t AllocationFor(int newSize) const {
    int64_t g = newSize / 2;
    if (g < mGranularity) g = mGranularity;
    int64_t alloc;
    if (mGranularity < 4096) {
      alloc = newSize + g;
    } else {
      g &= ~static_cast<int64_t>(4095);
      if (g < 4096) g = 4096;
      if (g > 4194304) g = 4194304;
      alloc = ((newSize + g + 96) & ~static_cast<int64_t>(4095)) - 96;
    }
    return alloc < mMinAlloc ? mMinAlloc : alloc;
  }

  void* mBuf = nullptr;
  int mGranularity;
  int mAlloc = 0;
  int mSize = 0;
  int mMinAlloc;
};

// A heap block whose used size counts elements of T; contents are not initialised.
template <class T> class WDL_TypedBuf {
public:
  explicit WDL_TypedBuf(int granularity = 4096) : mHeap(granularity) {}

  T* Get() const { return static_cast<T*>(mHeap.Get()); }
  int GetSize() const { return mHeap.GetSize() / static_cast<int>(sizeof(T)); }

  T* Resize(int count, bool shrink = true) {
    if (count < 0) count = 0;
    if (static_cast<int64_t>(count) * static_cast<int64_t>(sizeof(T)) > INT_MAX) return Get();
    return static_cast<T*>(mHeap.Resize(count * static_cast<int>(sizeof(T)), shrink));
  }
  // True when the last Resize got what it asked for.
  bool ResizeOK(int count, bool shrink = true) {
    Resize(count, shrink);
    return GetSize() == count;
  }

  // Appends count elements (copied from data when not null); returns where they
  // start, or null when the buffer could not grow.
  T* Add(const T* data, int count = 1) {
    const int old = GetSize();
    if (count <= 0 || old > INT_MAX - count || !ResizeOK(old + count, false)) return nullptr;
    T* at = Get() + old;
    if (data) memcpy(static_cast<void*>(at), data, sizeof(T) * static_cast<size_t>(count));
    return at;
  }
  T* Add(const T& value) { return Add(&value, 1); }

  void Delete(int idx) {
    const int n = GetSize();
    if (idx < 0 || idx >= n) return;
    T* p = Get();
    memmove(static_cast<void*>(p + idx), p + idx + 1, sizeof(T) * static_cast<size_t>(n - idx - 1));
    Resize(n - 1, false);
  }

private:
  WDL_HeapBuf mHeap;
};
