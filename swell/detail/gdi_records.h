#pragma once
// The records behind HDC and HGDIOBJ, and the pools that recycle them. Only
// the layer's own files include this.
#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"
#include "swell/swell.h"

namespace swell_font {
struct Face;
}

// The graphics context of a device context: where its drawing goes and its
// clip, with the clips saved by SWELL_PushClipRegion.
struct SWELL_GC {
  swell_raster::Surface surface;
  swell_raster::Clip clip;
  std::vector<swell_raster::Clip> savedClips;
};

// A colour with its alpha; valid is false until one is made.
struct SWELL_Colour {
  uint8_t r = 0, g = 0, b = 0;
  float alpha = 1.0f;
  bool valid = false;
};

// Pixels in the layer's word layout (bytes A, R, G, B), rows width apart.
struct SWELL_Image {
  int width = 0;
  int height = 0;
  uint32_t* pixels = nullptr;
};

struct GDP_CTX {
  SWELL_GC* mGC;
  void* mOwnedPixels;
  HGDIOBJ mCurPen;
  HGDIOBJ mCurBrush;
  HGDIOBJ mCurFont;
  int mTextColour;
  int mBkColour;
  int mBkMode;
  float mPenX, mPenY;
  unsigned char mFreed;
  GDP_CTX* mPoolNext;
  SWELL_Colour mTextColourPlatform;
};

enum { kObjPen = 1, kObjBrush = 2, kObjFont = 3, kObjBitmap = 4 };

struct GDP_OBJECT {
  int mType;
  int mExtraRefs;
  SWELL_Colour mColour;
  int mWidth; // pen width; brushes 0; stock objects -1; bitmaps 1 = owns its image
  SWELL_Image* mImage;
  float mFontRotation;
  unsigned char mFreed;
  GDP_OBJECT* mPoolNext;
  swell_font::Face* mFont;
  unsigned char mFontAntialias; // 0 context default, 3 off, 4 on
};

class WDL_Mutex;

namespace swell_pool {

// The recursive lock guarding both pools and the reference counts.
WDL_Mutex* Mutex();

// Zeroed records, from the pool when it has one; null when memory runs out.
GDP_CTX* TakeContext();
GDP_OBJECT* TakeObject();
// The caller has released what the record referred to.
void ReturnContext(GDP_CTX* ctx);
void ReturnObject(GDP_OBJECT* obj);

// True only for a record handed out by Take and not yet returned. Looks the
// handle up in the set of live records, so a handle whose record was freed is
// refused without touching the memory it points at.
bool IsLiveContext(HDC ctx);
// A live object (or a stock object); type 0 accepts any type.
bool IsLiveObject(HGDIOBJ obj, int type = 0);
bool IsStockObject(HGDIOBJ obj);

// Counts for tests of the pool limits.
int PooledContextCount();
int PooledObjectCount();

} // namespace swell_pool

void SWELL_ReleaseImage(SWELL_Image* image);

// The face of a live font object, else null.
swell_font::Face* SWELL_FaceOf(HGDIOBJ font);
// The label font at size 10, made once: used where no valid font is selected.
swell_font::Face* SWELL_DefaultFont();
// The platform name cached for a composed name, looked up when absent.
std::string SWELL_LookupFontName(const char* composedName);

swell_raster::Paint SWELL_PaintFor(const SWELL_Colour& colour);
SWELL_Colour SWELL_MakeColour(int colour, float alpha);
