#pragma once
// Putting bitmap pixels into a window: converted to the window's pixel
// layout and sent in bands of whole rows that each fit one request.
#include <cstdint>
#include <vector>
#include <xcb/xcb.h>

#include "editor/IRECT.h"
#include "platform/linux/PixelFormat.h"

class LICE_IBitmap;
class XcbSession;

class ScreenWriter {
public:
  // Sends src's rectangle (clipped to the bitmap) to dstX, dstY of the
  // drawable. False when nothing could be sent.
  bool Put(XcbSession* x, xcb_drawable_t drawable, xcb_gcontext_t gc, const PixelFormat& format,
           LICE_IBitmap* src, const IRECT& srcRect, int dstX, int dstY);
  // Rows a band of the width holds under the request limit (at least 1).
  static int RowsPerBand(int width, uint32_t maxRequestBytes);

private:
  std::vector<uint8_t> mScratch;
};

// The window rectangle a change of the editor rectangle reaches through a
// bilinear scale of s (window pixels per editor pixel): one source pixel
// further on each side, because each window pixel mixes two neighbours.
// Clipped to the window; empty when nothing is left.
IRECT ScaledDirtyRect(const IRECT& editorRect, double s, int windowW, int windowH);
