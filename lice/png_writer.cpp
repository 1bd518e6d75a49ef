#include "lice/lice_png.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <sys/stat.h>
#include <vector>

#include "lice/lice.h"

namespace {

// Everything the writer owns sits outside the setjmp frame, so a libpng
// error can unwind to it and still release every piece.
struct PngEncode {
  png_structp png = nullptr;
  png_infop info = nullptr;
  FILE* file = nullptr;
  std::vector<png_byte> row;
};

void closeEncode(PngEncode* enc) {
  if (enc->png) png_destroy_write_struct(&enc->png, enc->info ? &enc->info : nullptr);
  if (enc->file) fclose(enc->file);
  enc->file = nullptr;
}

// Silence libpng's own stderr lines; the return value reports the failure.
void ignoreWarning(png_structp, png_const_charp) {}
void failEncode(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

// Rows are written top-down whatever the bitmap's storage order; each pixel
// word goes out as R, G, B (and A) bytes.
bool encodeRows(PngEncode* enc, LICE_IBitmap* bmp, bool wantAlpha) {
  const int w = bmp->getWidth();
  const int h = bmp->getHeight();
  const int span = bmp->getRowSpan();
  const LICE_Pixel32* bits = bmp->getBits();
  const int channels = wantAlpha ? 4 : 3;
  if (setjmp(png_jmpbuf(enc->png))) return false;
  png_set_IHDR(enc->png, enc->info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               wantAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(enc->png, enc->info);
  for (int y = 0; y < h; ++y) {
    const int stored = bmp->isFlipped() ? h - 1 - y : y;
    const LICE_Pixel32* src = bits + static_cast<ptrdiff_t>(stored) * span;
    png_byte* out = enc->row.data();
    for (int x = 0; x < w; ++x) {
      const LICE_Pixel32 p = src[x];
      *out++ = static_cast<png_byte>(LICE_GETR(p));
      *out++ = static_cast<png_byte>(LICE_GETG(p));
      *out++ = static_cast<png_byte>(LICE_GETB(p));
      if (channels == 4) *out++ = static_cast<png_byte>(LICE_GETA(p));
    }
    png_write_row(enc->png, enc->row.data());
  }
  png_write_end(enc->png, enc->info);
  return true;
}

// Only an ordinary file is ours to delete; a device or pipe given as the
// target stays where it is.
void removeIfRegular(const char* filename) {
  struct stat st;
  if (stat(filename, &st) == 0 && S_ISREG(st.st_mode)) remove(filename);
}

} // namespace

bool LICE_WritePNG(const char* filename, LICE_IBitmap* bmp, bool wantAlpha) {
  if (!filename || !bmp || !bmp->getBits()) return false;
  const int w = bmp->getWidth();
  const int h = bmp->getHeight();
  if (w <= 0 || h <= 0 || bmp->getRowSpan() < w) return false;

  PngEncode enc;
  enc.row.resize(static_cast<size_t>(w) * 4);
  enc.file = fopen(filename, "wb");
  if (!enc.file) return false;
  enc.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failEncode, ignoreWarning);
  if (enc.png) enc.info = png_create_info_struct(enc.png);
  bool ok = enc.png && enc.info;
  if (ok) {
    png_init_io(enc.png, enc.file);
    // Fixed settings keep the bytes of a given image the same from run to run.
    png_set_compression_level(enc.png, 9);
    ok = encodeRows(&enc, bmp, wantAlpha);
  }
  FILE* file = enc.file;
  enc.file = nullptr;
  closeEncode(&enc);
  // A full disk shows up only when the buffered bytes are flushed.
  if (fflush(file) != 0) ok = false;
  if (fclose(file) != 0) ok = false;
  if (!ok) removeIfRegular(filename);
  return ok;
}
