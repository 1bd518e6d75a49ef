#pragma once
// Drawing through coverage masks. Shapes are first drawn opaque white on
// black into a mask (so overlapping pieces of one shape never double up),
// then the mask's red byte weights one colour or gradient over the canvas.
#include "lice/lice.h"

namespace art {

// Linear gradient from (x0, y0) in c0 to (x1, y1) in c1, in the painter's
// unscaled units; the colour is meant for points between the two ends.
struct Gradient {
  float x0, y0;
  LICE_Pixel32 c0;
  float x1, y1;
  LICE_Pixel32 c1;
};

class Painter {
public:
  // scale: canvas pixels per unit of the coordinates the shapes are given in.
  Painter(LICE_IBitmap* canvas, int scale);
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  LICE_IBitmap* canvas() const { return mCanvas; }
  int scale() const { return mScale; }
  // Canvas coordinate of the centre of a unit-space point.
  float ToCanvas(float v) const { return v * float(mScale) - 0.5f; }

  // Starts a new shape: the mask is cleared and sized to the canvas.
  LICE_IBitmap* BeginShape();
  LICE_IBitmap* mask() { return &mMask; }
  // Shapes report the unit-space area they drew into, so that clearing and
  // compositing touch only that part of the canvas.
  void Touch(float x0, float y0, float x1, float y1);
  void Fill(LICE_Pixel32 colour, float alpha = 1.0f);
  void Fill(const Gradient& gradient, float alpha = 1.0f);
  // Paints colour over the whole canvas through a mask of the canvas's size
  // made elsewhere; the painter's own mask is left as it is.
  void FillThrough(LICE_IBitmap* mask, LICE_Pixel32 colour, float alpha = 1.0f);

private:
  void Composite(LICE_IBitmap* mask, float alpha);

  struct Area {
    int l = 0, t = 0, r = 0, b = 0;
    bool empty() const { return r <= l || b <= t; }
  };

  LICE_IBitmap* mCanvas;
  int mScale;
  LICE_MemBitmap mMask;
  LICE_MemBitmap mLayer;
  Area mShape; // what the current shape covers, in canvas pixels
  Area mDirty; // what the mask holds from earlier shapes
};

} // namespace art
