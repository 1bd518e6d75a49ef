// Pixel transfer from a memory context into any context.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "detail/gdi_records.h"

namespace {

struct Span {
  int64_t pos, size;
};

// Cuts the source span to 0..limit and the destination span in proportion.
bool ClipSpan(Span* src, Span* dst, int64_t limit) {
  if (src->size <= 0 || dst->size <= 0) return false;
  const int64_t lo = std::max<int64_t>(src->pos, 0);
  const int64_t hi = std::min<int64_t>(src->pos + src->size, limit);
  if (hi <= lo) return false;
  const int64_t d0 = dst->pos + (lo - src->pos) * dst->size / src->size;
  const int64_t d1 = dst->pos + (hi - src->pos) * dst->size / src->size;
  src->pos = lo;
  src->size = hi - lo;
  dst->pos = d0;
  dst->size = d1 - d0;
  return dst->size > 0;
}

} // namespace

void StretchBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh,
                int rasterOp) {
  if (!swell_pool::IsLiveContext(dest) || !swell_pool::IsLiveContext(source)) return;
  if (!source->mOwnedPixels) return; // only memory contexts have pixels to read
  const swell_raster::Surface& s = source->mGC->surface;
  Span srcX{sx, sw}, srcY{sy, sh}, dstX{x, w}, dstY{y, h};
  if (!ClipSpan(&srcX, &dstX, s.width) || !ClipSpan(&srcY, &dstY, s.height)) return;
  if (dstX.pos < INT32_MIN || dstX.pos > INT32_MAX || dstY.pos < INT32_MIN || dstY.pos > INT32_MAX)
    return;
  const uint32_t* from = s.pixels + static_cast<size_t>(srcY.pos) * s.span + srcX.pos;
  int fromSpan = s.span;
  std::vector<uint32_t> copy;
  if (source == dest) {
    // Reading and writing the same pixels: read from a copy.
    copy.resize(static_cast<size_t>(srcX.size * srcY.size));
    for (int64_t j = 0; j < srcY.size; ++j) {
      std::copy(from + j * s.span, from + j * s.span + srcX.size, copy.begin() + j * srcX.size);
    }
    from = copy.data();
    fromSpan = static_cast<int>(srcX.size);
  }
  const swell_raster::ImageMode mode = static_cast<unsigned>(rasterOp) == SRCCOPY_USEALPHACHAN
                                           ? swell_raster::ImageMode::kBlendByAlpha
                                           : swell_raster::ImageMode::kCopyOpaque;
  swell_raster::DrawImage(dest->mGC->surface, dest->mGC->clip, static_cast<int>(dstX.pos),
                          static_cast<int>(dstY.pos), static_cast<int>(dstX.size),
                          static_cast<int>(dstY.size), from, fromSpan, static_cast<int>(srcX.size),
                          static_cast<int>(srcY.size), mode);
}

void BitBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int rasterOp) {
  StretchBlt(dest, x, y, w, h, source, sx, sy, w, h, rasterOp);
}
