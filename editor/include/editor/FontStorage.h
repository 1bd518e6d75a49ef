#pragma once
// The module-wide cache of created fonts, keyed by size, orientation, style
// and font name; it owns the fonts. Every operation holds the cache's own lock.
#include "wdl/mutex.h"
#include "wdl/ptr_list.h"

class LICE_IFont;
struct IText;

class FontStorage {
public:
  FontStorage() = default;
  ~FontStorage() { Clear(); }
  FontStorage(const FontStorage&) = delete;
  FontStorage& operator=(const FontStorage&) = delete;

  // The font of the first record matching the style exactly, or null.
  LICE_IFont* Find(const IText* text);
  // Takes ownership; false (and the font deleted) when it cannot be
  // recorded. A null font is not recorded.
  bool Add(LICE_IFont* font, const IText* text);
  // Deletes every font, then every record.
  void Clear();

  int Size();
  // Fonts ever added: a second editor of the same plug-in adds none.
  int Added();
  WDL_Mutex* Mutex() { return &mMutex; }
  // The style's font name as the cache and the GDI layer see it: at most 31
  // bytes, always terminated, into 36 bytes.
  static void FontName(const IText* text, char* name36);

private:
  struct Record {
    int size;
    int orientation;
    int style;
    char name[36];
    LICE_IFont* font;
  };
  WDL_Mutex mMutex;
  WDL_PtrList<Record> mRecords;
  int mAdded = 0;
};
