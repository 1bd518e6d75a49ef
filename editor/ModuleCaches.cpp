#include "editor/ModuleCaches.h"

#include <atomic>

namespace {

std::atomic<BitmapStorage*> s_bitmapCache{nullptr};
std::atomic<FontStorage*> s_fontCache{nullptr};

// The cache, made on first use; two threads that race to make it agree on one.
template <class Storage> Storage& Existing(std::atomic<Storage*>& slot) {
  Storage* cache = slot.load(std::memory_order_acquire);
  if (cache) return *cache;
  Storage* made = new Storage;
  if (slot.compare_exchange_strong(cache, made, std::memory_order_acq_rel)) return *made;
  delete made;
  return *cache;
}

// Empties the cache and frees it, without making one that does not exist. A
// later use makes a new one.
template <class Storage> void Release(std::atomic<Storage*>& slot) {
  Storage* cache = slot.exchange(nullptr, std::memory_order_acq_rel);
  if (!cache) return;
  cache->Clear();
  delete cache;
}

void ReleaseFonts() {
  Release(s_fontCache);
}

void ReleaseBitmaps() {
  Release(s_bitmapCache);
}

// Releases one cache when it is destroyed. As a function-local static it is
// registered, like an atexit() handler, once construction completes, and
// destroyed in the same order one would run, but it belongs to this module:
// it also runs when the module is unloaded under a runtime whose atexit()
// would leave it for the end of the process, after the module's code is gone
// (ThreadSanitizer's does).
struct Releaser {
  void (*release)();
  ~Releaser() { release(); }
};

} // namespace

BitmapStorage& BitmapCache() {
  return Existing(s_bitmapCache);
}

FontStorage& FontCache() {
  return Existing(s_fontCache);
}

void ReleaseModuleCaches() {
  ReleaseFonts();
  ReleaseBitmaps();
}

bool AddModuleBitmap(LICE_IBitmap* bitmap, int ID) {
  if (!BitmapCache().Add(bitmap, ID)) return false;
  static const Releaser releaser{ReleaseBitmaps};
  return true;
}

bool AddModuleFont(LICE_IFont* font, const IText* text) {
  if (!FontCache().Add(font, text)) return false;
  // Registered after the first font exists: every static the GDI layer set up
  // to create it is destroyed after this handler has run.
  static const Releaser releaser{ReleaseFonts};
  return true;
}
