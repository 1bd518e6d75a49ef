#pragma once
// An ordered list of pointers. Lists that own their objects delete them
// through Delete/Empty with the delete flag.
#include "wdl/heap_buf.h"

template <class T> class WDL_PtrList {
public:
  WDL_PtrList() : mHeap(4096) {}
  ~WDL_PtrList() {}
  WDL_PtrList(const WDL_PtrList&) = delete;
  WDL_PtrList& operator=(const WDL_PtrList&) = delete;

  T** GetList() const { return static_cast<T**>(mHeap.Get()); }
  int GetSize() const { return mHeap.GetSize() / static_cast<int>(sizeof(T*)); }
  T* Get(int idx) const { return idx >= 0 && idx < GetSize() ? GetList()[idx] : nullptr; }
  T* Last() const { return Get(GetSize() - 1); }

  int Find(const T* p) const {
    for (int i = 0; i < GetSize(); ++i)
      if (GetList()[i] == p) return i;
    return -1;
  }

  // Returns the pointer, or null when the list could not grow.
  T* Add(T* p) { return Insert(GetSize(), p); }

  T* Insert(int idx, T* p) {
    const int n = GetSize();
    if (n >= INT_MAX / static_cast<int>(sizeof(T*)) - 1) return nullptr;
    mHeap.Resize((n + 1) * static_cast<int>(sizeof(T*)), false);
    if (GetSize() != n + 1) return nullptr;
    if (idx < 0) idx = 0;
    if (idx > n) idx = n;
    T** list = GetList();
    memmove(list + idx + 1, list + idx, sizeof(T*) * static_cast<size_t>(n - idx));
    list[idx] = p;
    return p;
  }

  void Set(int idx, T* p) {
    if (idx >= 0 && idx < GetSize()) GetList()[idx] = p;
  }

  void Delete(int idx, bool wantDelete = false, void (*deleter)(T*) = nullptr) {
    const int n = GetSize();
    if (idx < 0 || idx >= n) return;
    T** list = GetList();
    T* p = list[idx];
    memmove(list + idx, list + idx + 1, sizeof(T*) * static_cast<size_t>(n - idx - 1));
    mHeap.Resize((n - 1) * static_cast<int>(sizeof(T*)), false);
    if (wantDelete && p) Dispose(p, deleter);
  }

  // Removes from the last entry to the first; keeps the block for reuse.
  void Empty(bool wantDelete = false, void (*deleter)(T*) = nullptr) {
    if (wantDelete) {
      for (int i = GetSize() - 1; i >= 0; --i) {
        T* p = GetList()[i];
        mHeap.Resize(i * static_cast<int>(sizeof(T*)), false);
        if (p) Dispose(p, deleter);
      }
    }
    mHeap.Resize(0, false);
  }

private:
  static void Dispose(T* p, void (*deleter)(T*)) {
    if (deleter)
      deleter(p);
    else
      delete p;
  }

  WDL_HeapBuf mHeap;
};
