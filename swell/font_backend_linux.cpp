// Fonts on Linux: fontconfig picks the face, FreeType renders it.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "detail/font_backend.h"

namespace swell_font {

struct Face {
  FT_Face ft = nullptr;
  int pixelSize = 0;
  Metrics metrics;
  // A face renders one glyph at a time; contexts on other threads may share it.
  std::mutex lock;
  std::vector<uint8_t> monoScratch;
};

namespace {

// FT_Library calls that create or destroy faces are not thread-safe.
// Constant-initialised and declared before the library's owner, so it
// outlives the owner at unload.
std::mutex s_libraryMutex;

std::mutex& LibraryMutex() {
  return s_libraryMutex;
}

// The library is ours alone and goes when the module unloads, after the
// fonts' caches have closed their faces; faces left open go with it.
struct LibraryOwner {
  FT_Library lib = nullptr;
  bool tried = false;
  ~LibraryOwner() {
    std::lock_guard<std::mutex> hold(s_libraryMutex);
    if (lib) FT_Done_FreeType(lib);
    lib = nullptr;
  }
} s_library;

// Call with LibraryMutex held.
FT_Library Library() {
  if (!s_library.tried) {
    s_library.tried = true;
    if (FT_Init_FreeType(&s_library.lib) != 0) s_library.lib = nullptr;
  }
  return s_library.lib;
}

// Constant-initialised and declared before its user below, so it outlives
// the configuration's owner at unload.
std::mutex s_fontconfigMutex;

// Our own configuration rather than the process default: the host and other
// plug-ins share that one, and only our own may be destroyed when we unload.
struct FontconfigOwner {
  FcConfig* config = nullptr;
  bool loaded = false;
  ~FontconfigOwner() {
    std::lock_guard<std::mutex> hold(s_fontconfigMutex);
    if (config) FcConfigDestroy(config);
    config = nullptr;
  }
} s_fontconfig;

// Call with FontconfigMutex held; null once unloaded or when loading failed.
FcConfig* Config() {
  if (!s_fontconfig.loaded) {
    s_fontconfig.loaded = true;
    s_fontconfig.config = FcInitLoadConfigAndFonts();
  }
  return s_fontconfig.config;
}

bool StripSuffix(std::string* s, const char* suffix) {
  const size_t n = strlen(suffix);
  if (s->size() < n || s->compare(s->size() - n, n, suffix) != 0) return false;
  s->resize(s->size() - n);
  return true;
}

// Fontconfig matches "Tahoma Bold" as a family and loses the weight: split
// the style words off and pass them as weight and slant instead.
void SplitStyle(const char* composed, std::string* family, bool* bold, bool* italic) {
  *family = composed ? composed : "";
  *bold = *italic = false;
  for (bool changed = true; changed;) {
    changed = false;
    if (StripSuffix(family, " Italic") || StripSuffix(family, " Oblique")) changed = *italic = true;
    if (StripSuffix(family, " Bold")) changed = *bold = true;
  }
}

std::string Match(const std::string& family, bool bold, bool italic) {
  std::lock_guard<std::mutex> hold(s_fontconfigMutex);
  FcConfig* config = Config();
  FcPattern* pattern = config ? FcPatternCreate() : nullptr;
  if (!pattern) return std::string();
  if (!family.empty()) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  std::string name;
  FcChar8* file = nullptr;
  int index = 0;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    name = std::to_string(index) + ":" + reinterpret_cast<const char*>(file);
  }
  if (match) FcPatternDestroy(match);
  return name;
}

float Pixels(FT_Pos v) {
  return static_cast<float>(v) / 64.0f;
}

void ReadMetrics(Face* face) {
  const FT_Size_Metrics& m = face->ft->size->metrics;
  face->metrics.ascent = Pixels(m.ascender);
  face->metrics.descent = -Pixels(m.descender);
  const float leading = Pixels(m.height) - face->metrics.ascent - face->metrics.descent;
  face->metrics.leading = leading > 0 ? leading : 0;
}

FT_Int32 LoadFlags(bool antialias) {
  return antialias ? FT_LOAD_TARGET_NORMAL : (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
}

// Monochrome rows are 1 bit a pixel, most significant bit first: widen them.
const uint8_t* CoverageRows(Face* face, const FT_Bitmap& bm, int* pitch) {
  const int rows = static_cast<int>(bm.rows), width = static_cast<int>(bm.width);
  // A negative pitch means the buffer starts with the bottom row.
  const uint8_t* top =
      bm.buffer + (bm.pitch < 0 ? static_cast<ptrdiff_t>(rows - 1) * -bm.pitch : 0);
  if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
    *pitch = bm.pitch;
    return top;
  }
  if (bm.pixel_mode != FT_PIXEL_MODE_MONO) return nullptr;
  face->monoScratch.assign(static_cast<size_t>(rows) * width, 0);
  for (int j = 0; j < rows; ++j) {
    const uint8_t* src = top + static_cast<ptrdiff_t>(j) * bm.pitch;
    for (int i = 0; i < width; ++i) {
      if (src[i >> 3] & (0x80 >> (i & 7)))
        face->monoScratch[static_cast<size_t>(j) * width + i] = 255;
    }
  }
  *pitch = width;
  return face->monoScratch.data();
}

} // namespace

std::string ResolveName(const char* composedName) {
  std::string family;
  bool bold = false, italic = false;
  SplitStyle(composedName, &family, &bold, &italic);
  return Match(family, bold, italic);
}

Face* Open(const std::string& platformName, int pixelSize) {
  const size_t colon = platformName.find(':');
  if (colon == std::string::npos || colon + 1 >= platformName.size()) return nullptr;
  const long index = strtol(platformName.c_str(), nullptr, 10);
  const std::string path = platformName.substr(colon + 1);
  Face* face = new Face;
  face->pixelSize = pixelSize;
  std::lock_guard<std::mutex> hold(LibraryMutex());
  FT_Library lib = Library();
  if (!lib || FT_New_Face(lib, path.c_str(), index, &face->ft) != 0) {
    delete face;
    return nullptr;
  }
  if (FT_Set_Pixel_Sizes(face->ft, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
    FT_Done_Face(face->ft);
    delete face;
    return nullptr;
  }
  ReadMetrics(face);
  return face;
}

Face* OpenLabelFont(int pixelSize) {
  static std::once_flag once;
  static std::string labelName;
  std::call_once(once, [] { labelName = Match("sans-serif", false, false); });
  return Open(labelName, pixelSize);
}

void Close(Face* face) {
  if (!face) return;
  {
    std::lock_guard<std::mutex> hold(LibraryMutex());
    FT_Done_Face(face->ft);
  }
  delete face;
}

Metrics GetMetrics(const Face* face) {
  return face ? face->metrics : Metrics();
}
int GetPixelSize(const Face* face) {
  return face ? face->pixelSize : 0;
}

std::string GetFamilyName(const Face* face) {
  return face && face->ft->family_name ? face->ft->family_name : "";
}
std::string GetStyleName(const Face* face) {
  return face && face->ft->style_name ? face->ft->style_name : "";
}

float MeasureRun(Face* face, const uint32_t* chars, int count, bool antialias) {
  if (!face || !chars) return 0;
  std::lock_guard<std::mutex> hold(face->lock);
  FT_Pos total = 0;
  for (int i = 0; i < count; ++i) {
    const FT_UInt glyph = FT_Get_Char_Index(face->ft, chars[i]);
    if (FT_Load_Glyph(face->ft, glyph, LoadFlags(antialias)) == 0) {
      total += face->ft->glyph->advance.x;
    }
  }
  return Pixels(total);
}

void DrawRun(Face* face, const uint32_t* chars, int count, int x, int baseline, bool antialias,
             GlyphSink sink, void* user) {
  if (!face || !chars || !sink) return;
  std::lock_guard<std::mutex> hold(face->lock);
  FT_Pos pen = 0;
  for (int i = 0; i < count; ++i) {
    const FT_UInt glyph = FT_Get_Char_Index(face->ft, chars[i]);
    if (FT_Load_Glyph(face->ft, glyph, LoadFlags(antialias) | FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = face->ft->glyph;
    GlyphCoverage g;
    g.rows = CoverageRows(face, slot->bitmap, &g.pitch);
    g.width = static_cast<int>(slot->bitmap.width);
    g.height = static_cast<int>(slot->bitmap.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    if (g.rows && g.width > 0 && g.height > 0)
      sink(user, x + static_cast<int>(pen >> 6), baseline, g);
    pen += slot->advance.x;
  }
}

} // namespace swell_font
