#pragma once
// Whole-row kernels for the source-alpha copy, the editor's most common blit.
// They give exactly the per-pixel operators' results
// (_LICE_CombinePixelsCopySourceAlpha*), four pixels at a time.
#include "lice/lice.h"

namespace lice_detail {

// _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp over n pixels.
void blendRowSourceAlphaFull(LICE_Pixel32* dest, const LICE_Pixel32* src, int n);
// _LICE_CombinePixelsCopySourceAlphaNoClamp with weight ia (1..255).
void blendRowSourceAlphaWeighted(LICE_Pixel32* dest, const LICE_Pixel32* src, int n, int ia);

} // namespace lice_detail
