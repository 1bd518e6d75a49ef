#pragma once
// The two module-wide caches every editor of the module shares.
//
// Lifetime: each cache object exists from its first use (the first editor
// built in the module) until it is released: by ReleaseModuleCaches() when the
// module's exit hook calls it, or, when the module is unloaded or the process
// ends without that, by a static handler made right after the first bitmap and
// the first font were created. The C++ runtime destroys that handler before
// every static object that was complete by then, which includes all of the
// GDI layer's font state a font creation needed: fonts are thus never released
// after that state is gone. Releasing frees the cache object too, so that an
// unloaded module leaves nothing behind; anything that uses a cache afterwards
// gets a new, empty one.
#include "editor/BitmapStorage.h"
#include "editor/FontStorage.h"

BitmapStorage& BitmapCache();
FontStorage& FontCache();
// Add to the module's caches (taking ownership) and make sure the exit
// handler is registered once the first of each kind exists.
// False, with the object deleted, when it could not be recorded.
bool AddModuleBitmap(LICE_IBitmap* bitmap, int ID);
bool AddModuleFont(LICE_IFont* font, const IText* text);
// Releases every cached bitmap and font and the caches themselves; later uses
// fill new caches. Only for when no editor of the module exists any more.
void ReleaseModuleCaches();
