#include "lice/lice_png.h"

#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <png.h>

#include "detail/lice_resources.h"
#include "lice/lice.h"

static_assert(PNG_LIBPNG_VER_MAJOR == 1 && PNG_LIBPNG_VER_MINOR == 6,
              "the loader is written against libpng 1.6");

namespace {

// Images beyond this on either side are refused before any memory is sized.
constexpr png_uint_32 kMaxPngSide = 16384;

struct MemorySource {
  const unsigned char* cursor;
  size_t left;
};

// Everything a decode owns lives here, outside the frame that calls setjmp,
// so a libpng error can return to that frame without losing track of it.
struct PngDecode {
  png_structp png = nullptr;
  png_infop info = nullptr;
  LICE_IBitmap* target = nullptr;  // the caller's bitmap, if any
  LICE_IBitmap* created = nullptr; // ours until handed out
  png_bytep* rows = nullptr;
};

// A short read is a truncated file: fail the decode instead of inventing
// bytes that libpng might happily turn into an image.
void readFromMemory(png_structp png, png_bytep out, size_t length) {
  auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
  if (!source || length > source->left) png_error(png, "PNG data ends early");
  memcpy(out, source->cursor, length);
  source->cursor += length;
  source->left -= length;
}

// Asks libpng for 8-bit A, R, G, B rows whatever the file holds.
void requestArgbRows(png_structp png, png_infop info, int bitDepth, int colorType) {
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if ((colorType & ~PNG_COLOR_MASK_ALPHA) == PNG_COLOR_TYPE_GRAY) png_set_gray_to_rgb(png);
  if (colorType & PNG_COLOR_MASK_ALPHA) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
}

// The bitmap that receives the rows: the caller's, resized, or a new one.
LICE_IBitmap* prepareBitmap(PngDecode* job, int width, int height) {
  LICE_IBitmap* bmp = job->target;
  if (bmp) {
    bmp->resize(width, height);
  } else {
    bmp = job->created = new (std::nothrow) LICE_MemBitmap(width, height, 4);
  }
  if (!bmp || bmp->getWidth() != width || bmp->getHeight() != height) return nullptr;
  if (!bmp->getBits() || bmp->getRowSpan() < width) return nullptr;
  return bmp;
}

bool buildRowTable(PngDecode* job, LICE_IBitmap* bmp, int height) {
  job->rows = static_cast<png_bytep*>(calloc(static_cast<size_t>(height), sizeof(png_bytep)));
  if (!job->rows) return false;
  auto* bits = reinterpret_cast<unsigned char*>(bmp->getBits());
  const ptrdiff_t rowBytes = static_cast<ptrdiff_t>(bmp->getRowSpan()) * 4;
  for (int y = 0; y < height; ++y) {
    const int stored = bmp->isFlipped() ? height - 1 - y : y;
    job->rows[y] = bits + stored * rowBytes;
  }
  return true;
}

// Runs under the armed error return: may be left by a longjmp at any libpng
// call, so it holds nothing that needs destroying.
bool decodeRows(PngDecode* job) {
  png_structp png = job->png;
  png_infop info = job->info;
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
  if (width < 1 || height < 1 || width > kMaxPngSide || height > kMaxPngSide) return false;

  requestArgbRows(png, info, bitDepth, colorType);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  // The transformed row must be exactly one pixel word per column, or the
  // decoder would write past the rows we hand it.
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) return false;

  LICE_IBitmap* bmp = prepareBitmap(job, static_cast<int>(width), static_cast<int>(height));
  if (!bmp || !buildRowTable(job, bmp, static_cast<int>(height))) return false;
  png_read_image(png, job->rows);
  return true;
}

bool decodeArmed(PngDecode* job) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  return decodeRows(job);
}

// Creates the libpng structures, lets attach() connect the input, decodes,
// and releases everything the decode made whatever happened.
template <typename Attach> LICE_IBitmap* decodePng(LICE_IBitmap* target, Attach attach) {
  PngDecode job;
  job.target = target;
  job.png = png_create_read_struct("1.6.8", nullptr, nullptr, nullptr);
  if (job.png) job.info = png_create_info_struct(job.png);
  bool ok = false;
  if (job.info) {
    attach(job.png);
    ok = decodeArmed(&job);
  }
  png_destroy_read_struct(&job.png, &job.info, nullptr);
  free(job.rows);
  if (!ok) {
    delete job.created;
    return nullptr;
  }
  return target ? target : job.created;
}

bool endsWithPngExtension(const char* filename) {
  const char* ext = nullptr;
  for (const char* p = filename; *p; ++p) {
    if (*p == '.' || *p == '/' || *p == '\\') ext = p;
  }
  return ext && strcasecmp(ext, ".png") == 0;
}

} // namespace

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp) {
  if (!filename) return nullptr;
  FILE* file = fopen(filename, "rb");
  if (!file) return nullptr;
  LICE_IBitmap* result = decodePng(bmp, [file](png_structp png) { png_init_io(png, file); });
  fclose(file);
  return result;
}

LICE_IBitmap* LICE_LoadPNGFromMemory(const void* data, int len, LICE_IBitmap* bmp) {
  if (!data || len < 8) return nullptr;
  if (png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) return nullptr;
  MemorySource source{static_cast<const unsigned char*>(data), static_cast<size_t>(len)};
  return decodePng(bmp,
                   [&source](png_structp png) { png_set_read_fn(png, &source, readFromMemory); });
}

LICE_IBitmap* LICE_LoadPNGFromNamedResource(const char* name, LICE_IBitmap* bmp) {
  if (!name || strlen(name) > 400) return nullptr;
  char path[1536 + 420];
  if (!LICE_GetResourceFolder(path, 1536)) return nullptr;
  const size_t used = strlen(path);
  snprintf(path + used, sizeof(path) - used, "%s", name);
  return LICE_LoadPNG(path, bmp);
}

LICE_IBitmap* LICE_LoadPNGFromResource(void*, int, LICE_IBitmap*) {
  return nullptr;
}

LICE_ImageLoaderRec* LICE_ImageLoader_list = nullptr;

LICE_PNGLoader::LICE_PNGLoader() {
  rec.loadfunc = loadfunc;
  rec.get_extlist = get_extlist;
  rec._next = LICE_ImageLoader_list;
  LICE_ImageLoader_list = &rec;
}

LICE_IBitmap* LICE_PNGLoader::loadfunc(const char* filename, bool checkFileName,
                                       LICE_IBitmap* bmpbase) {
  if (!filename) return nullptr;
  if (checkFileName && !endsWithPngExtension(filename)) return nullptr;
  return LICE_LoadPNG(filename, bmpbase);
}

const char* LICE_PNGLoader::get_extlist() {
  return "PNG files (*.PNG)\0*.PNG\0";
}

static LICE_PNGLoader s_pngLoaderRegistration;
