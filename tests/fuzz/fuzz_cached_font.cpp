// UTF-8 text of any bytes drawn and measured by a LICE_CachedFont, natively or
// through the glyph cache, with any font flags: measuring draws nothing and
// keeps the rectangle's origin; drawing never touches a pixel outside its
// rectangle unless asked not to clip.
//
// Input: two bytes of font flags, one picking the font, the bitmap kind and
// the background mode, one for the alpha, one line-spacing adjustment, then
// the shared text case (rectangle, flags, byte count, text).
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "TextFuzzCase.h"
#include "lice/lice_text.h"

namespace {

const int kWidth = 72, kHeight = 36;
const LICE_Pixel32 kBackground = LICE_RGBA(15, 30, 60, 90);
// Every font flag but ownership: the fonts are shared between runs.
const int kFontFlags =
    LICE_FONT_FLAG_VERTICAL | LICE_FONT_FLAG_VERTICAL_BOTTOMUP | LICE_FONT_FLAG_PRECALCALL |
    LICE_FONT_FLAG_FX_BLUR | LICE_FONT_FLAG_FX_INVERT | LICE_FONT_FLAG_FX_MONO |
    LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE | LICE_FONT_FLAG_FORCE_NATIVE;

HFONT Font(int index) {
  static const HFONT fonts[] = {
      CreateFont(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, ANTIALIASED_QUALITY, 0, "DejaVu Sans"),
      CreateFont(20, 0, 0, 0, FW_BOLD, 1, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, "DejaVu Sans"),
      CreateFont(7, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, DEFAULT_QUALITY, 0, "DejaVu Sans Mono")};
  return fonts[index % 3];
}

// Memory bitmaps have no device context; system bitmaps have one, which the
// native way draws through directly.
LICE_IBitmap* Target(bool system) {
  static LICE_MemBitmap memory(kWidth, kHeight);
  static LICE_SysBitmap withContext(kWidth, kHeight);
  return system ? static_cast<LICE_IBitmap*>(&withContext) : &memory;
}

std::vector<LICE_Pixel32> Pixels(LICE_IBitmap* bm) {
  std::vector<LICE_Pixel32> copy;
  for (int y = 0; y < kHeight; ++y)
    copy.insert(copy.end(), bm->getBits() + y * bm->getRowSpan(),
                bm->getBits() + y * bm->getRowSpan() + kWidth);
  return copy;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const int fontFlags = in.Take<uint16_t>() & kFontFlags;
  const uint8_t choice = in.Byte();
  const float alpha = in.Byte() / 255.0f;
  const int spacing = static_cast<int8_t>(in.Byte());
  TextFuzzCase tc;
  tc.Read(in);
  const UINT flags = (tc.flags & ~DT_CALCRECT) | ((choice & 0x40) ? LICE_DT_USEFGALPHA : 0) |
                     ((choice & 0x20) ? LICE_DT_NEEDALPHA : 0);

  LICE_CachedFont font;
  font.SetFromHFont(Font(choice), fontFlags);
  font.SetTextColor(LICE_RGBA(240, 230, 220, (choice & 0x10) ? 128 : 255));
  font.SetBkColor(LICE_RGBA(20, 200, 40, 255));
  font.SetEffectColor(LICE_RGBA(200, 20, 40, 255));
  font.SetBkMode((choice & 0x80) ? 1 : 0);
  font.SetCombineMode((choice >> 2) % 6, alpha);
  font.SetLineSpacingAdjust(spacing);

  LICE_IBitmap* bm = Target(choice & 0x08);
  LICE_Clear(bm, kBackground);
  const std::vector<LICE_Pixel32> before = Pixels(bm);

  RECT measured = tc.rect;
  const int measuredExtent =
      font.DrawText(bm, tc.text.get(), tc.count, &measured, flags | DT_CALCRECT);
  FUZZ_CHECK(MeasuredSanely(tc.rect, measured, measuredExtent));
  FUZZ_CHECK(Pixels(bm) == before);
  RECT nothing = tc.rect;
  font.DrawText(nullptr, tc.text.get(), tc.count, &nothing, flags); // drawing needs a bitmap

  RECT drawn = tc.rect;
  font.DrawText(bm, tc.text.get(), tc.count, &drawn, flags);
  if (!(flags & DT_NOCLIP)) {
    const std::vector<LICE_Pixel32> after = Pixels(bm);
    FUZZ_CHECK(UnchangedOutside(before.data(), after.data(), kWidth, kHeight, kWidth,
                                ClipOf(tc.rect, kWidth, kHeight)));
  }
  return 0;
}
