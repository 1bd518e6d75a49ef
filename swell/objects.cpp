// Pens, brushes, selection into contexts, reference counts and deletion.
#include <cstdint>

#include "detail/font_backend.h"
#include "detail/gdi_records.h"
#include "wdl/mutex.h"

using swell_pool::IsLiveContext;
using swell_pool::IsLiveObject;

namespace {

HGDIOBJ MakeColourObject(int type, int width, int colour, float alpha) {
  GDP_OBJECT* o = swell_pool::TakeObject();
  if (!o) return nullptr;
  o->mType = type;
  o->mWidth = width < 0 ? 0 : width;
  o->mColour = SWELL_MakeColour(colour, alpha);
  return o;
}

HGDIOBJ* SlotFor(HDC ctx, int type) {
  switch (type) {
  case kObjPen:
    return &ctx->mCurPen;
  case kObjBrush:
    return &ctx->mCurBrush;
  case kObjFont:
    return &ctx->mCurFont;
  default:
    return nullptr;
  }
}

HGDIOBJ TypeToken(int type) {
  return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(type));
}

} // namespace

HPEN CreatePen(int, int width, int colour) {
  return MakeColourObject(kObjPen, width, colour, 1.0f);
}

HPEN CreatePenAlpha(int, int width, int colour, float alpha) {
  return MakeColourObject(kObjPen, width, colour, alpha);
}

HBRUSH CreateSolidBrush(int colour) {
  return MakeColourObject(kObjBrush, 0, colour, 1.0f);
}

HBRUSH CreateSolidBrushAlpha(int colour, float alpha) {
  return MakeColourObject(kObjBrush, 0, colour, alpha);
}

HGDIOBJ SelectObject(HDC ctx, HGDIOBJ object) {
  if (!IsLiveContext(ctx) || !object) return nullptr;
  const uintptr_t token = reinterpret_cast<uintptr_t>(object);
  if (token >= 1 && token <= 3) {
    const int type = static_cast<int>(token);
    HGDIOBJ* slot = SlotFor(ctx, type);
    HGDIOBJ previous = *slot;
    *slot = nullptr;
    return IsLiveObject(previous, type) ? previous : object;
  }
  if (token < 5 || !IsLiveObject(object)) return nullptr;
  HGDIOBJ* slot = SlotFor(ctx, object->mType);
  if (!slot) return nullptr;
  if (*slot == object) return object;
  HGDIOBJ previous = *slot;
  *slot = object;
  return previous ? previous : TypeToken(object->mType);
}

HGDIOBJ SWELL_CloneGDIObject(HGDIOBJ object) {
  WDL_MutexLock hold(swell_pool::Mutex());
  if (swell_pool::IsStockObject(object)) return object;
  if (!IsLiveObject(object)) return nullptr;
  ++object->mExtraRefs;
  return object;
}

void SWELL_ReleaseImage(SWELL_Image* image) {
  if (!image) return;
  delete[] image->pixels;
  delete image;
}

void DeleteObject(HGDIOBJ object) {
  if (reinterpret_cast<uintptr_t>(object) < 5 || swell_pool::IsStockObject(object)) return;
  swell_font::Face* font = nullptr;
  SWELL_Image* image = nullptr;
  {
    WDL_MutexLock hold(swell_pool::Mutex());
    if (!IsLiveObject(object)) return;
    if (object->mExtraRefs > 0) {
      --object->mExtraRefs;
      return;
    }
    if (object->mType < kObjPen || object->mType > kObjBitmap) return;
    if ((object->mType == kObjPen || object->mType == kObjBrush) && object->mWidth < 0) return;
    font = object->mFont;
    if (object->mType == kObjBitmap && object->mWidth == 1) image = object->mImage;
    swell_pool::ReturnObject(object);
  }
  // Closing a face takes the font library's lock: do it outside the pool's.
  swell_font::Close(font);
  SWELL_ReleaseImage(image);
}

int GetObject(HGDIOBJ object, int bufferSize, void* buffer) {
  if (!buffer || bufferSize != static_cast<int>(sizeof(BITMAP))) return 0;
  if (!IsLiveObject(object, kObjBitmap) || !object->mImage) return 0;
  BITMAP* bm = static_cast<BITMAP*>(buffer);
  bm->bmWidth = object->mImage->width;
  bm->bmHeight = object->mImage->height;
  return static_cast<int>(sizeof(BITMAP));
}
