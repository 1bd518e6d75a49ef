// UTF-8 text of any bytes drawn and measured by SWELL_DrawText on a memory
// context: measuring changes no pixel and gives a rectangle that keeps its
// origin, drawing reports the height that measuring did and, unless asked not
// to clip, touches nothing outside its rectangle.
//
// Input: one byte picks the font and the background mode, then the shared
// text case (rectangle, flags, byte count, text).
#include <cstdint>
#include <cstring>
#include <vector>

#include "TextFuzzCase.h"
#include "swell/swell.h"

namespace {

const int kWidth = 80, kHeight = 40;
const uint32_t kBackground = 0x5A3C1E0Fu;

struct FontChoice {
  int height;
  int weight;
  char italic;
  char quality;
};
const FontChoice kFonts[] = {{12, FW_NORMAL, 0, ANTIALIASED_QUALITY},
                             {-16, FW_BOLD, 1, DEFAULT_QUALITY},
                             {9, FW_NORMAL, 0, NONANTIALIASED_QUALITY},
                             {48, FW_NORMAL, 1, ANTIALIASED_QUALITY}};
const int kFontCount = sizeof kFonts / sizeof kFonts[0];

// Fonts are made once: the font-name cache and the faces are process-wide.
HFONT Font(int index) {
  static std::vector<HFONT> fonts = [] {
    std::vector<HFONT> made;
    for (const FontChoice& f : kFonts)
      made.push_back(CreateFont(f.height, 0, 0, 0, f.weight, f.italic, 0, 0, 0, 0, 0, f.quality, 0,
                                "DejaVu Sans"));
    return made;
  }();
  return fonts[index];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static HDC ctx = SWELL_CreateMemContext(nullptr, kWidth, kHeight);
  FUZZ_CHECK(ctx != nullptr);
  uint32_t* pixels = static_cast<uint32_t*>(SWELL_GetCtxFrameBuffer(ctx));
  FuzzInput in(data, size);
  const uint8_t choice = in.Byte();
  TextFuzzCase tc;
  tc.Read(in);
  const int flags = static_cast<int>(tc.flags) & ~DT_CALCRECT;

  for (int i = 0; i < kWidth * kHeight; ++i) pixels[i] = kBackground;
  const std::vector<uint32_t> before(pixels, pixels + kWidth * kHeight);
  HGDIOBJ previous = SelectObject(ctx, Font(choice % kFontCount));
  SetBkMode(ctx, (choice & 0x80) ? OPAQUE : TRANSPARENT);
  SetBkColor(ctx, RGB(10, 200, 30));
  SetTextColor(ctx, RGB(250, 240, 230));

  RECT measured = tc.rect;
  const int measuredHeight =
      SWELL_DrawText(ctx, tc.text.get(), tc.count, &measured, flags | DT_CALCRECT);
  FUZZ_CHECK(MeasuredSanely(tc.rect, measured, measuredHeight));
  FUZZ_CHECK(memcmp(before.data(), pixels, before.size() * 4) == 0);

  RECT drawn = tc.rect;
  const int drawnHeight = SWELL_DrawText(ctx, tc.text.get(), tc.count, &drawn, flags);
  FUZZ_CHECK(drawnHeight == measuredHeight);
  FUZZ_CHECK(memcmp(&drawn, &tc.rect, sizeof drawn) == 0);
  if (!(flags & DT_NOCLIP))
    FUZZ_CHECK(UnchangedOutside(before.data(), pixels, kWidth, kHeight, kWidth,
                                ClipOf(tc.rect, kWidth, kHeight)));
  SelectObject(ctx, previous);
  return 0;
}
