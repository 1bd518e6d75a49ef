#include "editor/FontStorage.h"

#include <cstdio>
#include <cstring>

#include "editor/IText.h"
#include "lice/lice_text.h"

// A style's name may fill its whole field without a terminator: read at most
// the field.
void FontStorage::FontName(const IText* text, char* name36) {
  snprintf(name36, 36, "%.*s", IText::kFontNameLength - 1, text->mFont);
}

LICE_IFont* FontStorage::Find(const IText* text) {
  if (!text) return nullptr;
  char name[36];
  FontName(text, name);
  WDL_MutexLock hold(&mMutex);
  for (int i = 0; i < mRecords.GetSize(); ++i) {
    const Record* r = mRecords.Get(i);
    if (r->size == text->mSize && r->orientation == text->mOrientation &&
        r->style == text->mStyle && strcmp(r->name, name) == 0)
      return r->font;
  }
  return nullptr;
}

bool FontStorage::Add(LICE_IFont* font, const IText* text) {
  if (!font || !text) return false;
  WDL_MutexLock hold(&mMutex);
  Record* r = new Record{text->mSize, text->mOrientation, text->mStyle, {}, font};
  FontName(text, r->name);
  if (!mRecords.Add(r)) {
    delete r;
    delete font;
    return false;
  }
  ++mAdded;
  return true;
}

void FontStorage::Clear() {
  WDL_MutexLock hold(&mMutex);
  for (int i = 0; i < mRecords.GetSize(); ++i) delete mRecords.Get(i)->font;
  mRecords.Empty(true);
}

int FontStorage::Size() {
  WDL_MutexLock hold(&mMutex);
  return mRecords.GetSize();
}

int FontStorage::Added() {
  WDL_MutexLock hold(&mMutex);
  return mAdded;
}
