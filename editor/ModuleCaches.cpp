#include "editor/ModuleCaches.h"

#include <cstdlib>
#include <mutex>

namespace {

BitmapStorage* s_bitmapCache() {
  static BitmapStorage* cache = new BitmapStorage;
  return cache;
}

FontStorage* s_fontCache() {
  static FontStorage* cache = new FontStorage;
  return cache;
}

void ReleaseFonts() {
  s_fontCache()->Clear();
}

void ReleaseBitmaps() {
  s_bitmapCache()->Clear();
}

} // namespace

BitmapStorage& BitmapCache() {
  return *s_bitmapCache();
}

FontStorage& FontCache() {
  return *s_fontCache();
}

void ReleaseModuleCaches() {
  ReleaseFonts();
  ReleaseBitmaps();
}

bool AddModuleBitmap(LICE_IBitmap* bitmap, int ID) {
  if (!BitmapCache().Add(bitmap, ID)) return false;
  static std::once_flag once;
  std::call_once(once, [] { std::atexit(ReleaseBitmaps); });
  return true;
}

bool AddModuleFont(LICE_IFont* font, const IText* text) {
  if (!FontCache().Add(font, text)) return false;
  // Registered after the first font exists: every static the GDI layer set up
  // to create it is destroyed after this handler has run.
  static std::once_flag once;
  std::call_once(once, [] { std::atexit(ReleaseFonts); });
  return true;
}
