#include "tools/art/Painter.h"

#include <algorithm>
#include <cmath>

#include "tools/art/Palette.h"

namespace art {

Painter::Painter(LICE_IBitmap* canvas, int scale) : mCanvas(canvas), mScale(scale) {}

LICE_IBitmap* Painter::BeginShape() {
  if (mMask.getWidth() != mCanvas->getWidth() || mMask.getHeight() != mCanvas->getHeight()) {
    mMask.resize(mCanvas->getWidth(), mCanvas->getHeight());
    LICE_Clear(&mMask, colour::kBlack);
  } else if (!mDirty.empty())
    LICE_FillRect(&mMask, mDirty.l, mDirty.t, mDirty.r - mDirty.l, mDirty.b - mDirty.t,
                  colour::kBlack);
  mDirty = mShape = Area{};
  return &mMask;
}

void Painter::Touch(float x0, float y0, float x1, float y1) {
  // One pixel of slack covers antialiased edges and rounding.
  Area a{int(std::floor(ToCanvas(x0))) - 1, int(std::floor(ToCanvas(y0))) - 1,
         int(std::ceil(ToCanvas(x1))) + 2, int(std::ceil(ToCanvas(y1))) + 2};
  a.l = std::max(a.l, 0);
  a.t = std::max(a.t, 0);
  a.r = std::min(a.r, mCanvas->getWidth());
  a.b = std::min(a.b, mCanvas->getHeight());
  if (a.empty()) return;
  if (mShape.empty()) {
    mShape = a;
  } else {
    mShape = {std::min(mShape.l, a.l), std::min(mShape.t, a.t), std::max(mShape.r, a.r),
              std::max(mShape.b, a.b)};
  }
  mDirty = mShape;
}

void Painter::Fill(LICE_Pixel32 colour, float alpha) {
  if (mShape.empty()) return;
  mLayer.resize(mCanvas->getWidth(), mCanvas->getHeight());
  LICE_FillRect(&mLayer, mShape.l, mShape.t, mShape.r - mShape.l, mShape.b - mShape.t, colour);
  Composite(&mMask, alpha);
}

// The raster library's gradient runs each channel linearly over x and y with
// 1.0 standing for 255; projecting every pixel onto the gradient's axis gives
// the per-column and per-row steps, counted from the area's corner.
void Painter::Fill(const Gradient& g, float alpha) {
  if (mShape.empty()) return;
  mLayer.resize(mCanvas->getWidth(), mCanvas->getHeight());
  const float x0 = ToCanvas(g.x0) - float(mShape.l), y0 = ToCanvas(g.y0) - float(mShape.t);
  const float dx = ToCanvas(g.x1) - ToCanvas(g.x0), dy = ToCanvas(g.y1) - ToCanvas(g.y0);
  const float len2 = dx * dx + dy * dy;
  const float ux = len2 > 0 ? dx / len2 : 0, uy = len2 > 0 ? dy / len2 : 0;
  const int c0[3] = {LICE_GETR(g.c0), LICE_GETG(g.c0), LICE_GETB(g.c0)};
  const int c1[3] = {LICE_GETR(g.c1), LICE_GETG(g.c1), LICE_GETB(g.c1)};
  float start[3], perX[3], perY[3];
  for (int i = 0; i < 3; ++i) {
    const float span = float(c1[i] - c0[i]) / 255.0f;
    perX[i] = span * ux;
    perY[i] = span * uy;
    start[i] = float(c0[i]) / 255.0f - perX[i] * x0 - perY[i] * y0;
  }
  LICE_GradRect(&mLayer, mShape.l, mShape.t, mShape.r - mShape.l, mShape.b - mShape.t, start[0],
                start[1], start[2], 1.0f, perX[0], perX[1], perX[2], 0, perY[0], perY[1], perY[2],
                0, LICE_MODE_COPY);
  Composite(&mMask, alpha);
}

void Painter::FillThrough(LICE_IBitmap* mask, LICE_Pixel32 colour, float alpha) {
  const Area saved = mShape;
  mShape = {0, 0, mCanvas->getWidth(), mCanvas->getHeight()};
  mLayer.resize(mCanvas->getWidth(), mCanvas->getHeight());
  LICE_Clear(&mLayer, colour);
  Composite(mask, alpha);
  mShape = saved;
}

// The mask's red byte becomes the layer's alpha, and the layer is blended
// over the canvas by it.
void Painter::Composite(LICE_IBitmap* mask, float alpha) {
  const int x = mShape.l, y = mShape.t, w = mShape.r - mShape.l, h = mShape.b - mShape.t;
  LICE_Blit(&mLayer, mask, x, y, x, y, w, h, 1.0f,
            LICE_MODE_CHANCOPY_FROM_TO(LICE_PIXEL_R, LICE_PIXEL_A));
  LICE_Blit(mCanvas, &mLayer, x, y, x, y, w, h, alpha, LICE_MODE_COPY | LICE_MODE_USE_ALPHA);
}

} // namespace art
