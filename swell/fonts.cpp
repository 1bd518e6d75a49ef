// Font objects: sizes, composed names, the font-name cache and metrics.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "detail/font_backend.h"
#include "detail/gdi_records.h"
#include "wdl/mutex.h"
#include "wdl/string_keyed_array.h"

namespace {

const int kMaxFaceNameLength = 899;

void FreeName(char* name) {
  free(name);
}

struct FontNameCache {
  WDL_Mutex mutex;
  WDL_StringKeyedArray<char*> names{FreeName};
};

// Made on first use and freed when the module unloads, so that an unloaded
// module leaves nothing behind. Fonts created by other static objects after
// that make a new one.
std::atomic<FontNameCache*> s_fontNames{nullptr};

FontNameCache& s_fontnamecache() {
  FontNameCache* cache = s_fontNames.load(std::memory_order_acquire);
  if (cache) return *cache;
  FontNameCache* made = new FontNameCache;
  if (s_fontNames.compare_exchange_strong(cache, made, std::memory_order_acq_rel)) return *made;
  delete made;
  return *cache;
}

struct FontNameCacheUnloader {
  ~FontNameCacheUnloader() { delete s_fontNames.exchange(nullptr, std::memory_order_acq_rel); }
} s_fontNameCacheUnloader;

int FontSize(int height, int width) {
  const long long size = height != 0 ? llabs(height) : llabs(width);
  return size < 2 || size > 8192 ? 10 : static_cast<int>(size);
}

std::string ComposeName(const char* faceName, int weight, char italic) {
  std::string name;
  if (faceName) name.assign(faceName, strnlen(faceName, kMaxFaceNameLength));
  if (weight > 699) name += " Bold";
  if (italic) name += " Italic";
  return name;
}

} // namespace

std::string SWELL_LookupFontName(const char* composedName) {
  FontNameCache& cache = s_fontnamecache();
  // Look-up and insertion under one hold: two threads asking for the same
  // name never race on the sorted array.
  WDL_MutexLock hold(&cache.mutex);
  const char* key = composedName ? composedName : "";
  if (char* found = cache.names.Get(key)) return found;
  const std::string resolved = swell_font::ResolveName(key);
  if (char* copy = strdup(resolved.c_str())) {
    if (!cache.names.Insert(key, copy)) free(copy);
  }
  return resolved;
}

swell_font::Face* SWELL_DefaultFont() {
  static std::once_flag once;
  static swell_font::Face* face = nullptr;
  std::call_once(once, [] { face = swell_font::OpenLabelFont(10); });
  return face;
}

swell_font::Face* SWELL_FaceOf(HGDIOBJ font) {
  return swell_pool::IsLiveObject(font, kObjFont) ? font->mFont : nullptr;
}

HFONT CreateFont(int height, int width, int, int orientation, int weight, char italic, char, char,
                 char, char, char, char quality, char, const char* faceName) {
  const int size = FontSize(height, width);
  const std::string composed = ComposeName(faceName, weight, italic);
  const std::string platformName = SWELL_LookupFontName(composed.c_str());
  swell_font::Face* face = swell_font::Open(platformName, size);
  if (!face) face = swell_font::OpenLabelFont(size);
  GDP_OBJECT* o = swell_pool::TakeObject();
  if (!o) {
    swell_font::Close(face);
    return nullptr;
  }
  o->mType = kObjFont;
  o->mFont = face;
  o->mFontRotation = static_cast<float>(orientation) / 10.0f;
  o->mFontAntialias = quality == 3 || quality == 4 ? static_cast<unsigned char>(quality) : 0;
  return o;
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  char face[LF_FACESIZE + 1];
  memcpy(face, lf->lfFaceName, LF_FACESIZE);
  face[LF_FACESIZE] = 0; // the record's name need not be terminated
  return CreateFont(lf->lfHeight, lf->lfWidth, lf->lfEscapement, lf->lfOrientation, lf->lfWeight,
                    lf->lfItalic, lf->lfUnderline, lf->lfStrikeOut, lf->lfCharSet,
                    lf->lfOutPrecision, lf->lfClipPrecision, lf->lfQuality, lf->lfPitchAndFamily,
                    face);
}

BOOL GetTextMetrics(HDC ctx, TEXTMETRIC* tm) {
  if (!tm) return FALSE;
  tm->tmHeight = 16;
  tm->tmAscent = 12;
  tm->tmDescent = 4;
  tm->tmInternalLeading = 3;
  tm->tmAveCharWidth = 10;
  if (!swell_pool::IsLiveContext(ctx)) return FALSE;
  swell_font::Face* face = SWELL_FaceOf(ctx->mCurFont);
  if (!face) face = SWELL_DefaultFont();
  if (!face) return TRUE;
  const swell_font::Metrics m = swell_font::GetMetrics(face);
  tm->tmInternalLeading = static_cast<int>(m.leading);
  tm->tmAscent = static_cast<int>(m.ascent);
  tm->tmDescent = static_cast<int>(m.descent);
  const int s = tm->tmAscent + tm->tmDescent + tm->tmInternalLeading;
  tm->tmAveCharWidth = s * 2 / 3;
  tm->tmHeight = s ? s + 1 : 0;
  return TRUE;
}
