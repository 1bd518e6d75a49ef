#include "editor/BitmapStorage.h"

#include "lice/lice.h"

bool BitmapStorage::Add(LICE_IBitmap* bitmap, int ID) {
  if (!bitmap) return false;
  WDL_MutexLock hold(&mMutex);
  Record* record = new Record{ID, bitmap};
  if (!mRecords.Add(record)) {
    // The list could not grow: the bitmap would otherwise leak unowned.
    delete record;
    delete bitmap;
    return false;
  }
  ++mAdded;
  return true;
}

bool BitmapStorage::Contains(const LICE_IBitmap* bitmap) {
  WDL_MutexLock hold(&mMutex);
  for (int i = 0; i < mRecords.GetSize(); ++i)
    if (mRecords.Get(i)->bitmap == bitmap) return true;
  return false;
}

LICE_IBitmap* BitmapStorage::Find(int ID) {
  WDL_MutexLock hold(&mMutex);
  for (int i = 0; i < mRecords.GetSize(); ++i)
    if (mRecords.Get(i)->ID == ID) return mRecords.Get(i)->bitmap;
  return nullptr;
}

void BitmapStorage::Remove(LICE_IBitmap* bitmap) {
  if (!bitmap) return;
  WDL_MutexLock hold(&mMutex);
  for (int i = 0; i < mRecords.GetSize(); ++i) {
    if (mRecords.Get(i)->bitmap != bitmap) continue;
    mRecords.Delete(i, true);
    delete bitmap;
    return;
  }
}

void BitmapStorage::Clear() {
  WDL_MutexLock hold(&mMutex);
  for (int i = 0; i < mRecords.GetSize(); ++i) delete mRecords.Get(i)->bitmap;
  mRecords.Empty(true);
}

int BitmapStorage::Size() {
  WDL_MutexLock hold(&mMutex);
  return mRecords.GetSize();
}

int BitmapStorage::Added() {
  WDL_MutexLock hold(&mMutex);
  return mAdded;
}
