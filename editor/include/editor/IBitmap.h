#pragma once
// A handle to a cached raster bitmap cut into N equal frames; copied by value.
// A handle whose bitmap failed to load keeps a null pointer and draws nothing.
class LICE_IBitmap;

struct IBitmap {
  LICE_IBitmap* mData = nullptr; // not owned: the bitmap cache holds it
  int W = 0, H = 0;              // the whole strip
  int N = 1;                     // frames, 1 or more
  bool mFramesAreHorizontal = false;

  IBitmap() = default;
  IBitmap(LICE_IBitmap* data, int w, int h, int n = 1, bool framesAreHorizontal = false)
      : mData(data), W(w), H(h), N(n < 1 ? 1 : n), mFramesAreHorizontal(framesAreHorizontal) {}

  int FrameWidth() const { return mFramesAreHorizontal ? W / Frames() : W; }
  int FrameHeight() const { return mFramesAreHorizontal ? H : H / Frames(); }
  // A frame count set by hand below 1 still counts as one frame.
  int Frames() const { return N < 1 ? 1 : N; }
};
