#pragma once
// The parts of a text-drawing case that the GDI-layer and cached-font targets
// share: a rectangle anywhere in int, drawing flags, and the text itself in a
// heap block of exactly its length, so that a read past the byte count (or
// past the NUL when the count is -1) is an overrun the sanitizer reports.
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzInput.h"
#include "lice/lice.h"

struct TextFuzzCase {
  RECT rect = {};
  unsigned flags = 0;
  int count = -1;
  std::unique_ptr<char[]> text;

  // Reads the rectangle, the flags and a byte-count choice, then takes the
  // rest of the input as the text.
  void Read(FuzzInput& in) {
    rect.left = in.Take<int32_t>();
    rect.top = in.Take<int32_t>();
    rect.right = in.Take<int32_t>();
    rect.bottom = in.Take<int32_t>();
    flags = in.Take<uint16_t>();
    const bool counted = in.Byte() & 1;
    const std::vector<uint8_t> bytes = in.Rest();
    text.reset(new char[bytes.size() + (counted ? 0 : 1)]);
    if (!bytes.empty()) memcpy(text.get(), bytes.data(), bytes.size());
    if (counted)
      count = static_cast<int>(bytes.size());
    else
      text[bytes.size()] = 0;
  }
};

// The part of a bitmap of w x h pixels that drawing clipped to rect may touch.
inline RECT ClipOf(const RECT& rect, int w, int h) {
  RECT clip = {rect.left < 0 ? 0 : rect.left, rect.top < 0 ? 0 : rect.top,
               rect.right > w ? w : rect.right, rect.bottom > h ? h : rect.bottom};
  return clip;
}

// True when every pixel outside clip is still what it was.
inline bool UnchangedOutside(const uint32_t* before, const uint32_t* after, int w, int h, int span,
                             const RECT& clip) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      if (!inside && before[y * span + x] != after[y * span + x]) return false;
    }
  return true;
}

// A measured rectangle keeps its origin and never turns inside out; a text
// that is refused (result 0) may leave the rectangle as it was given.
inline bool MeasuredSanely(const RECT& given, const RECT& measured, int result) {
  if (result == 0 && !memcmp(&given, &measured, sizeof given)) return true;
  return result >= 0 && measured.left == given.left && measured.top == given.top &&
         measured.right >= measured.left && measured.bottom >= measured.top;
}
