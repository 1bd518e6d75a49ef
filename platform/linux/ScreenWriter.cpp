#include "platform/linux/ScreenWriter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "detail/XcbSession.h"
#include "lice/lice.h"

namespace {

// A put-image request: 24 bytes of header before the pixels.
constexpr uint32_t kPutImageHeader = 24;

} // namespace

int ScreenWriter::RowsPerBand(int width, uint32_t maxRequestBytes) {
  if (width <= 0) return 1;
  const uint64_t rowBytes = static_cast<uint64_t>(width) * 4;
  const uint64_t room = maxRequestBytes > kPutImageHeader ? maxRequestBytes - kPutImageHeader : 0;
  return static_cast<int>(std::max<uint64_t>(room / rowBytes, 1));
}

bool ScreenWriter::Put(XcbSession* x, xcb_drawable_t drawable, xcb_gcontext_t gc,
                       const PixelFormat& format, LICE_IBitmap* src, const IRECT& srcRect, int dstX,
                       int dstY) {
  if (!x || !x->Conn() || !src || !src->getBits()) return false;
  const int L = std::max(srcRect.L, 0), T = std::max(srcRect.T, 0);
  const int R = std::min(srcRect.R, src->getWidth()), B = std::min(srcRect.B, src->getHeight());
  if (L >= R || T >= B) return false;
  dstX += L - srcRect.L;
  dstY += T - srcRect.T;
  const int w = R - L;
  // A single row wider than a request could carry is cut into column strips.
  const int maxColumns = static_cast<int>((x->MaxRequestBytes() - kPutImageHeader) / 4);
  const int rows = RowsPerBand(std::min(w, maxColumns), x->MaxRequestBytes());
  const LICE_Pixel32* bits = src->getBits();
  const int span = src->getRowSpan();
  for (int x0 = L; x0 < R; x0 += maxColumns) {
    const int cols = std::min(maxColumns, R - x0);
    mScratch.resize(static_cast<size_t>(cols) * 4 * std::min(rows, B - T));
    for (int y0 = T; y0 < B; y0 += rows) {
      const int n = std::min(rows, B - y0);
      for (int r = 0; r < n; ++r) {
        // Flipped bitmaps store rows bottom-up.
        const int stored = src->isFlipped() ? src->getHeight() - 1 - (y0 + r) : y0 + r;
        ConvertPixels(bits + static_cast<ptrdiff_t>(stored) * span + x0, cols,
                      mScratch.data() + static_cast<size_t>(r) * cols * 4, format);
      }
      xcb_put_image(x->Conn(), XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, gc, static_cast<uint16_t>(cols),
                    static_cast<uint16_t>(n), static_cast<int16_t>(dstX + (x0 - L)),
                    static_cast<int16_t>(dstY + (y0 - T)), 0, static_cast<uint8_t>(format.depth),
                    static_cast<uint32_t>(static_cast<size_t>(cols) * 4 * n), mScratch.data());
    }
  }
  return true;
}

IRECT ScaledDirtyRect(const IRECT& editorRect, double s, int windowW, int windowH) {
  // Held in the window while still doubles: rectangles may span the int range.
  auto held = [](double v, int hi) { return static_cast<int>(std::clamp(v, 0.0, double(hi))); };
  const int L = held(std::floor((editorRect.L - 1.0) * s), windowW);
  const int T = held(std::floor((editorRect.T - 1.0) * s), windowH);
  const int R = held(std::ceil((editorRect.R + 1.0) * s), windowW);
  const int B = held(std::ceil((editorRect.B + 1.0) * s), windowH);
  if (L >= R || T >= B) return IRECT();
  return IRECT(L, T, R, B);
}

namespace {

// Source sample positions of one axis: the left index and the weight of the
// right neighbour (0..256) for each window pixel from start on.
void AxisSamples(int start, int n, double s, int srcExtent, std::vector<int>* index,
                 std::vector<int>* weight) {
  const int64_t step = std::llround(65536.0 / s);
  const int64_t offset = step / 2 - 32768;
  const int64_t last = static_cast<int64_t>(srcExtent - 1) << 16;
  index->resize(static_cast<size_t>(n));
  weight->resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int64_t pos = std::clamp<int64_t>((start + i) * step + offset, 0, last);
    (*index)[i] = static_cast<int>(pos >> 16);
    (*weight)[i] = static_cast<int>((pos & 0xffff) >> 8);
  }
}

uint32_t Mix(LICE_Pixel32 a, LICE_Pixel32 b, LICE_Pixel32 c, LICE_Pixel32 d, int fx, int fy) {
  const uint32_t wa = (256 - fx) * (256 - fy), wb = fx * (256 - fy), wc = (256 - fx) * fy,
                 wd = fx * fy;
  auto channel = [&](int shift) {
    return ((((a >> shift) & 255) * wa + ((b >> shift) & 255) * wb + ((c >> shift) & 255) * wc +
             ((d >> shift) & 255) * wd + 32768) >>
            16)
           << shift;
  };
  return channel(8) | channel(16) | channel(24) | 255u;
}

} // namespace

void ScaleForWindow(LICE_IBitmap* src, double s, const IRECT& windowRect, LICE_IBitmap* out) {
  const int w = windowRect.W(), h = windowRect.H();
  if (!src || !src->getBits() || !out || w <= 0 || h <= 0 || s <= 0.0) return;
  out->resize(w, h);
  if (!out->getBits()) return;
  const int sw = src->getWidth(), sh = src->getHeight();
  std::vector<int> xi, xw, yi, yw;
  AxisSamples(windowRect.L, w, s, sw, &xi, &xw);
  AxisSamples(windowRect.T, h, s, sh, &yi, &yw);
  const int span = src->getRowSpan();
  auto row = [&](int y) {
    return src->getBits() + static_cast<ptrdiff_t>(src->isFlipped() ? sh - 1 - y : y) * span;
  };
  for (int j = 0; j < h; ++j) {
    const LICE_Pixel32* r0 = row(yi[j]);
    const LICE_Pixel32* r1 = row(std::min(yi[j] + 1, sh - 1));
    LICE_Pixel32* d = out->getBits() + static_cast<ptrdiff_t>(j) * out->getRowSpan();
    for (int i = 0; i < w; ++i) {
      const int x0 = xi[i], x1 = std::min(x0 + 1, sw - 1);
      d[i] = Mix(r0[x0], r0[x1], r1[x0], r1[x1], xw[i], yw[j]);
    }
  }
}
