#pragma once
// The module-wide cache of decoded bitmaps, keyed by resource ID; it owns the
// bitmaps. Every operation holds the cache's own lock.
#include "wdl/mutex.h"
#include "wdl/ptr_list.h"

class LICE_IBitmap;

class BitmapStorage {
public:
  BitmapStorage() = default;
  ~BitmapStorage() { Clear(); }
  BitmapStorage(const BitmapStorage&) = delete;
  BitmapStorage& operator=(const BitmapStorage&) = delete;

  // Takes ownership; false (and the bitmap deleted) when it cannot be
  // recorded. A null bitmap is not recorded.
  bool Add(LICE_IBitmap* bitmap, int ID = -1);
  bool Contains(const LICE_IBitmap* bitmap);
  // The first bitmap stored under ID, or null.
  LICE_IBitmap* Find(int ID);
  // Deletes the first record holding the bitmap, then the bitmap.
  void Remove(LICE_IBitmap* bitmap);
  // Deletes every bitmap, then every record.
  void Clear();

  int Size();
  // Bitmaps ever added: a second editor of the same plug-in adds none.
  int Added();
  // Held by look-up-then-load sequences so that two editors never load twice.
  WDL_Mutex* Mutex() { return &mMutex; }

private:
  struct Record {
    int ID;
    LICE_IBitmap* bitmap;
  };
  WDL_Mutex mMutex;
  WDL_PtrList<Record> mRecords;
  int mAdded = 0;
};
