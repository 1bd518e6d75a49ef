#pragma once
// A sorted array of (string key, value) pairs, searched by bisection with a
// case-sensitive comparison. Keys are copied; an optional disposer runs when a
// value is replaced, removed or the array is destroyed.
#include <cstdlib>
#include <cstring>

#include "wdl/heap_buf.h"

template <class VAL> class WDL_StringKeyedArray {
public:
  explicit WDL_StringKeyedArray(void (*disposer)(VAL) = nullptr) : mDisposer(disposer) {}
  ~WDL_StringKeyedArray() { DeleteAll(); }
  WDL_StringKeyedArray(const WDL_StringKeyedArray&) = delete;
  WDL_StringKeyedArray& operator=(const WDL_StringKeyedArray&) = delete;

  int GetSize() const { return mPairs.GetSize(); }

  // Returns false (and changes nothing) for a null key or when memory runs out.
  bool Insert(const char* key, VAL value) {
    if (!key) return false;
    bool found = false;
    const int idx = LowerBound(key, &found);
    if (found) {
      Pair& p = mPairs.Get()[idx];
      if (mDisposer) mDisposer(p.value);
      p.value = value;
      return true;
    }
    char* copy = strdup(key);
    if (!copy) return false;
    const int n = mPairs.GetSize();
    if (!mPairs.ResizeOK(n + 1, false)) {
      free(copy);
      return false;
    }
    Pair* pairs = mPairs.Get();
    memmove(static_cast<void*>(pairs + idx + 1), pairs + idx,
            sizeof(Pair) * static_cast<size_t>(n - idx));
    pairs[idx].key = copy;
    pairs[idx].value = value;
    return true;
  }

  VAL Get(const char* key, VAL notFound = VAL()) const {
    const VAL* p = GetPtr(key);
    return p ? *p : notFound;
  }
  VAL* GetPtr(const char* key) const {
    bool found = false;
    const int idx = key ? LowerBound(key, &found) : 0;
    return found ? &mPairs.Get()[idx].value : nullptr;
  }
  bool Exists(const char* key) const { return GetPtr(key) != nullptr; }

  // The pair at idx in key order; null key past the end.
  VAL Enumerate(int idx, const char** key = nullptr, VAL notFound = VAL()) const {
    if (idx < 0 || idx >= mPairs.GetSize()) {
      if (key) *key = nullptr;
      return notFound;
    }
    if (key) *key = mPairs.Get()[idx].key;
    return mPairs.Get()[idx].value;
  }

  void Delete(const char* key) {
    bool found = false;
    const int idx = key ? LowerBound(key, &found) : 0;
    if (!found) return;
    Pair* pairs = mPairs.Get();
    free(pairs[idx].key);
    if (mDisposer) mDisposer(pairs[idx].value);
    const int n = mPairs.GetSize();
    memmove(static_cast<void*>(pairs + idx), pairs + idx + 1,
            sizeof(Pair) * static_cast<size_t>(n - idx - 1));
    mPairs.Resize(n - 1, false);
  }

  void DeleteAll() {
    Pair* pairs = mPairs.Get();
    for (int i = 0; i < mPairs.GetSize(); ++i) {
      free(pairs[i].key);
      if (mDisposer) mDisposer(pairs[i].value);
    }
    mPairs.Resize(0);
  }

private:
  struct Pair {
    char* key;
    VAL value;
  };

  int LowerBound(const char* key, bool* found) const {
    int lo = 0, hi = mPairs.GetSize();
    const Pair* pairs = mPairs.Get();
    while (lo < hi) {
      const int mid = lo + (hi - lo) / 2;
      const int cmp = strcmp(pairs[mid].key, key);
      if (cmp == 0) {
        *found = true;
        return mid;
      }
      if (cmp < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    *found = false;
    return lo;
  }

  WDL_TypedBuf<Pair> mPairs{4096};
  void (*mDisposer)(VAL);
};
