// Device contexts: memory contexts over their own pixels, contexts over a
// caller's pixels, window contexts, and the colour state every context keeps.
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "detail/gdi_records.h"

using swell_pool::IsLiveContext;

SWELL_Colour SWELL_MakeColour(int colour, float alpha) {
  SWELL_Colour c;
  c.r = static_cast<uint8_t>(GetRValue(colour));
  c.g = static_cast<uint8_t>(GetGValue(colour));
  c.b = static_cast<uint8_t>(GetBValue(colour));
  c.alpha = alpha < 0 ? 0 : (alpha > 1 ? 1 : alpha);
  c.valid = true;
  return c;
}

swell_raster::Paint SWELL_PaintFor(const SWELL_Colour& colour) {
  swell_raster::Paint p;
  p.r = colour.r;
  p.g = colour.g;
  p.b = colour.b;
  p.weight = static_cast<int>(colour.alpha * 256.0f + 0.5f);
  return p;
}

namespace {

HDC ContextOver(const swell_raster::Surface& surface, void* ownedPixels) {
  SWELL_GC* gc = new SWELL_GC;
  gc->surface = surface;
  gc->clip = swell_raster::SurfaceBounds(surface);
  GDP_CTX* ctx = swell_pool::TakeContext();
  if (!ctx) {
    delete gc;
    return nullptr;
  }
  ctx->mGC = gc;
  ctx->mOwnedPixels = ownedPixels;
  return ctx;
}

} // namespace

HDC SWELL_CreateMemContext(HDC, int width, int height) {
  // A non-positive or overflowing size is refused rather than allocated short.
  if (width <= 0 || height <= 0) return nullptr;
  const int64_t bytes = int64_t{width} * height * 4;
  if (bytes > INT_MAX - 63) return nullptr;
  void* raw = calloc(static_cast<size_t>(bytes) + 63, 1);
  if (!raw) return nullptr;
  swell_raster::Surface s;
  // The raster library reads these rows directly: 64-byte aligned, top-down.
  s.pixels = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(raw) + 63) & ~uintptr_t{63});
  s.width = width;
  s.height = height;
  s.span = width;
  HDC ctx = ContextOver(s, raw);
  if (!ctx) {
    free(raw);
    return nullptr;
  }
  ctx->mTextColour = 0;
  ctx->mTextColourPlatform = SWELL_MakeColour(0, 1.0f);
  return ctx;
}

HDC SWELL_CreateGfxContext(void* platformContext) {
  const SWELL_PixelTarget* t = static_cast<const SWELL_PixelTarget*>(platformContext);
  if (!t || !t->pixels || t->width <= 0 || t->height <= 0 || t->span < t->width) return nullptr;
  swell_raster::Surface s;
  s.pixels = t->pixels;
  s.width = t->width;
  s.height = t->height;
  s.span = t->span;
  return ContextOver(s, nullptr);
}

void SWELL_DeleteGfxContext(HDC ctx) {
  if (!IsLiveContext(ctx)) return;
  delete ctx->mGC;
  free(ctx->mOwnedPixels);
  swell_pool::ReturnContext(ctx);
}

void* SWELL_GetCtxFrameBuffer(HDC ctx) {
  if (!IsLiveContext(ctx) || !ctx->mOwnedPixels) return nullptr;
  return ctx->mGC->surface.pixels;
}

void* SWELL_GetCtxGC(HDC ctx) {
  return IsLiveContext(ctx) ? ctx->mGC : nullptr;
}

int SetTextColor(HDC ctx, int colour) {
  if (!IsLiveContext(ctx)) return -1;
  const int old = ctx->mTextColour;
  ctx->mTextColour = colour;
  ctx->mTextColourPlatform = SWELL_MakeColour(colour, 1.0f);
  return old;
}

int GetTextColor(HDC ctx) {
  return IsLiveContext(ctx) ? ctx->mTextColour : -1;
}

int SetBkColor(HDC ctx, int colour) {
  if (!IsLiveContext(ctx)) return -1;
  const int old = ctx->mBkColour;
  ctx->mBkColour = colour;
  return old;
}

int SetBkMode(HDC ctx, int mode) {
  if (!IsLiveContext(ctx)) return 0;
  const int old = ctx->mBkMode;
  ctx->mBkMode = mode;
  return old;
}

HDC GetDC(HWND window) {
  if (!window || !window->paintTarget) return nullptr;
  return SWELL_CreateGfxContext(window->paintTarget);
}

HDC GetWindowDC(HWND window) {
  return GetDC(window);
}

void ReleaseDC(HWND, HDC ctx) {
  // Only contexts over a window's pixels are released here, never memory ones.
  if (IsLiveContext(ctx) && !ctx->mOwnedPixels) SWELL_DeleteGfxContext(ctx);
}
