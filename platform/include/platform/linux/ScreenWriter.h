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

// The part windowRect of the editor bitmap scaled by s onto the whole window,
// bilinear, into out (resized to windowRect). Window pixel X samples source
// (X + 0.5) / s - 0.5, held at the edges, in 16.16 fixed point from X itself:
// any part equals the same part of a whole-window scale, so partial updates
// never show seams. Alpha becomes 255.
void ScaleForWindow(LICE_IBitmap* src, double s, const IRECT& windowRect, LICE_IBitmap* out);

// The window rectangle a change of the editor rectangle reaches through a
// bilinear scale of s (window pixels per editor pixel): one source pixel
// further on each side, because each window pixel mixes two neighbours.
// Clipped to the window; empty when nothing is left.
IRECT ScaledDirtyRect(const IRECT& editorRect, double s, int windowW, int windowH);
