#pragma once
// PNG decoding into raster bitmaps. Every loader returns the bitmap it filled
// (the caller's, or a new LICE_MemBitmap the caller then owns) or null; a
// failed load never leaves a half-made bitmap of its own behind.
#include <cstddef>

class LICE_IBitmap;

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp = nullptr);
LICE_IBitmap* LICE_LoadPNGFromMemory(const void* data, int len, LICE_IBitmap* bmp = nullptr);
// Looks in the module bundle's Contents/Resources folder (see lice_resources.h).
LICE_IBitmap* LICE_LoadPNGFromNamedResource(const char* name, LICE_IBitmap* bmp = nullptr);
// Numeric resources do not exist on this platform: always null.
LICE_IBitmap* LICE_LoadPNGFromResource(void* hInst, int resid, LICE_IBitmap* bmp = nullptr);

// Writes the bitmap as an 8-bit RGB (or RGBA with wantAlpha) PNG, top row
// first. False, with no file left behind, when the bitmap is empty or the file
// cannot be written whole.
bool LICE_WritePNG(const char* filename, LICE_IBitmap* bmp, bool wantAlpha = true);

// Image loaders form one process-wide list, filled by static registration.
struct LICE_ImageLoaderRec {
  LICE_IBitmap* (*loadfunc)(const char* filename, bool checkFileName, LICE_IBitmap* bmpbase);
  const char* (*get_extlist)();
  LICE_ImageLoaderRec* _next;
};
extern LICE_ImageLoaderRec* LICE_ImageLoader_list;

class LICE_PNGLoader {
public:
  LICE_PNGLoader();
  // With checkFileName set, only names ending in ".png" (any case) are tried.
  static LICE_IBitmap* loadfunc(const char* filename, bool checkFileName, LICE_IBitmap* bmpbase);
  // Double-NUL-terminated description/pattern pair for file prompts.
  static const char* get_extlist();

private:
  LICE_ImageLoaderRec rec;
};
