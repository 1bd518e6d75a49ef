// Bitmap objects over images, PNG files, icons and image lists.
#include <png.h>

#include <climits>
#include <cstring>
#include <vector>

#include "detail/gdi_records.h"

namespace {

// Images larger than this are refused instead of risking overflowing sizes.
const int64_t kMaxImagePixels = int64_t{1} << 26;

SWELL_Image* NewImage(int width, int height) {
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxImagePixels) return nullptr;
  SWELL_Image* image = new SWELL_Image;
  image->width = width;
  image->height = height;
  image->pixels = new uint32_t[static_cast<size_t>(width) * height]();
  return image;
}

HBITMAP BitmapOwning(SWELL_Image* image) {
  if (!image) return nullptr;
  GDP_OBJECT* o = swell_pool::TakeObject();
  if (!o) {
    SWELL_ReleaseImage(image);
    return nullptr;
  }
  o->mType = kObjBitmap;
  o->mWidth = 1;
  o->mImage = image;
  return o;
}

SWELL_Image* LoadPng(const char* path) {
  png_image png;
  memset(&png, 0, sizeof(png));
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path)) return nullptr;
  // Bytes A, R, G, B: the layer's pixel word as it lies in memory.
  png.format = PNG_FORMAT_ARGB;
  if (png.width > INT_MAX || png.height > INT_MAX) {
    png_image_free(&png);
    return nullptr;
  }
  SWELL_Image* image = NewImage(static_cast<int>(png.width), static_cast<int>(png.height));
  if (!image) {
    png_image_free(&png);
    return nullptr;
  }
  if (!png_image_finish_read(&png, nullptr, image->pixels, 0, nullptr)) {
    png_image_free(&png);
    SWELL_ReleaseImage(image);
    return nullptr;
  }
  return image;
}

void MagentaToTransparent(SWELL_Image* image) {
  const size_t n = static_cast<size_t>(image->width) * image->height;
  for (size_t i = 0; i < n; ++i) {
    // Bytes A, R, G, B: red and blue 255, green 0, whatever the alpha.
    if ((image->pixels[i] & 0xFFFFFF00u) == 0xFF00FF00u) image->pixels[i] = 0;
  }
}

} // namespace

HBITMAP CreateBitmap(int width, int height, int, int bitsPerPixel, const void* data) {
  if (bitsPerPixel != 32) return nullptr;
  SWELL_Image* image = NewImage(width, height);
  if (image && data) memcpy(image->pixels, data, static_cast<size_t>(width) * height * 4);
  return BitmapOwning(image);
}

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info || !swell_pool::IsLiveObject(info->hbmColor, kObjBitmap)) return nullptr;
  const SWELL_Image* colour = info->hbmColor->mImage;
  if (!colour) return nullptr;
  SWELL_Image* copy = NewImage(colour->width, colour->height);
  if (copy) {
    memcpy(copy->pixels, colour->pixels, static_cast<size_t>(colour->width) * colour->height * 4);
  }
  return BitmapOwning(copy);
}

HBITMAP LoadNamedImage(const char* name, bool magentaToAlpha) {
  // Linux has no named application images: only paths are loaded.
  if (!name || !strchr(name, '/')) return nullptr;
  SWELL_Image* image = LoadPng(name);
  if (image && magentaToAlpha) MagentaToTransparent(image);
  return BitmapOwning(image);
}

void* GetNSImageFromHICON(HICON icon) {
  return swell_pool::IsLiveObject(icon, kObjBitmap) ? icon->mImage : nullptr;
}

void DrawImageInRect(HDC ctx, HGDIOBJ bitmap, const RECT* rect) {
  if (!rect || !swell_pool::IsLiveContext(ctx) || !swell_pool::IsLiveObject(bitmap, kObjBitmap))
    return;
  const SWELL_Image* image = bitmap->mImage;
  const int64_t w = int64_t{rect->right} - rect->left, h = int64_t{rect->bottom} - rect->top;
  if (!image || w > INT_MAX || h > INT_MAX) return;
  swell_raster::DrawImage(ctx->mGC->surface, ctx->mGC->clip, rect->left, rect->top,
                          static_cast<int>(w), static_cast<int>(h), image->pixels, image->width,
                          image->width, image->height, swell_raster::ImageMode::kBlendByAlpha);
}

struct SWELL_ImageList {
  std::vector<HICON> images; // each one a reference of the list's own
};

HIMAGELIST ImageList_CreateEx() {
  return new SWELL_ImageList;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  if (!list || !swell_pool::IsLiveObject(icon, kObjBitmap)) return -1;
  HICON held = SWELL_CloneGDIObject(icon);
  if (index >= 0 && index < static_cast<int>(list->images.size())) {
    DeleteObject(list->images[static_cast<size_t>(index)]);
    list->images[static_cast<size_t>(index)] = held;
    return index;
  }
  list->images.push_back(held);
  return static_cast<int>(list->images.size()) - 1;
}

void ImageList_Remove(HIMAGELIST list, int index) {
  if (!list) return;
  if (index == -1) { // removes every image
    for (HICON icon : list->images) DeleteObject(icon);
    list->images.clear();
    return;
  }
  if (index < 0 || index >= static_cast<int>(list->images.size())) return;
  DeleteObject(list->images[static_cast<size_t>(index)]);
  list->images.erase(list->images.begin() + index);
}

void ImageList_Destroy(HIMAGELIST list) {
  if (!list) return;
  for (HICON icon : list->images) DeleteObject(icon);
  delete list;
}
