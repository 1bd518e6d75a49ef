#pragma once
// Shared helpers: a white memory context and readers of its pixels.
#include <cstdint>
#include <vector>

#include "swell/swell.h"

struct TestCanvas {
  HDC dc = nullptr;
  int width = 0;
  int height = 0;

  TestCanvas(int w, int h, int colour = 0xFFFFFF) : width(w), height(h) {
    dc = SWELL_CreateMemContext(nullptr, w, h);
    Fill(colour);
  }
  ~TestCanvas() { SWELL_DeleteGfxContext(dc); }
  TestCanvas(const TestCanvas&) = delete;
  TestCanvas& operator=(const TestCanvas&) = delete;

  void Fill(int colour) {
    HBRUSH b = CreateSolidBrush(colour);
    RECT r = {0, 0, width, height};
    SWELL_FillRect(dc, &r, b);
    DeleteObject(b);
  }
  uint32_t* Pixels() const { return static_cast<uint32_t*>(SWELL_GetCtxFrameBuffer(dc)); }
  uint32_t At(int x, int y) const { return Pixels()[y * width + x]; }
  // The pixel as a colour value (red in bits 16..23), alpha dropped.
  int Colour(int x, int y) const {
    const uint32_t p = At(x, y);
    return static_cast<int>(((p >> 8) & 0xFF) << 16 | ((p >> 16) & 0xFF) << 8 | (p >> 24));
  }
  int Red(int x, int y) const { return (At(x, y) >> 8) & 0xFF; }

  // Bounding box of pixels whose colour differs from the background.
  RECT InkBox(int background = 0xFFFFFF) const {
    RECT box = {width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (Colour(x, y) == background) continue;
        if (x < box.left) box.left = x;
        if (y < box.top) box.top = y;
        if (x + 1 > box.right) box.right = x + 1;
        if (y + 1 > box.bottom) box.bottom = y + 1;
      }
    }
    return box;
  }
  bool HasInk(int background = 0xFFFFFF) const { return InkBox(background).right > 0; }
  std::vector<uint32_t> Snapshot() const {
    return std::vector<uint32_t>(Pixels(), Pixels() + width * height);
  }
};
