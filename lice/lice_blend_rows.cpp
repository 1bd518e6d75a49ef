// Row kernels with 16-bit lanes: SSE2 (present on every x86-64), and AVX2
// where the processor has it, chosen once at run time. The operators divide
// a signed product by 256 truncating toward zero; here that is
// sign(d - s) * ((|d - s| * k) >> 8), which is the same and fits in 16 bits
// because |d - s| * k <= 255 * 256.
#include "detail/lice_blend_rows.h"

#include <immintrin.h>

#include "detail/lice_combine.h"

namespace lice_detail {

namespace {

// Full: k = 255 - sa and alpha gains sa (sa = 255 then gives the source
// colour and alpha 255, the operator's opaque case). Weighted: w = ia * (sa +
// 1) / 256, k = 256 - w and alpha gains w.
template <bool kFull> __m128i weightsSse2(__m128i sa, __m128i ia, __m128i* add) {
  if (kFull) {
    *add = sa;
    return _mm_sub_epi16(_mm_set1_epi16(255), sa);
  }
  const __m128i w = _mm_srli_epi16(_mm_mullo_epi16(ia, _mm_add_epi16(sa, _mm_set1_epi16(1))), 8);
  *add = w;
  return _mm_sub_epi16(_mm_set1_epi16(256), w);
}

// Two pixels unpacked to 16-bit lanes A, R, G, B: colour lanes mixed toward
// d by k, alpha lane min(255, d + add).
template <bool kFull> __m128i blendPairSse2(__m128i s, __m128i d, __m128i ia) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i sa = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0), 0);
  __m128i add;
  const __m128i k = weightsSse2<kFull>(sa, ia, &add);
  const __m128i diff = _mm_sub_epi16(d, s);
  const __m128i mag = _mm_max_epi16(diff, _mm_sub_epi16(zero, diff));
  const __m128i q = _mm_srli_epi16(_mm_mullo_epi16(mag, k), 8);
  const __m128i negative = _mm_cmplt_epi16(diff, zero);
  const __m128i colour = _mm_add_epi16(s, _mm_sub_epi16(_mm_xor_si128(q, negative), negative));
  const __m128i alpha = _mm_min_epi16(_mm_add_epi16(d, add), _mm_set1_epi16(255));
  const __m128i alphaLanes = _mm_set_epi16(0, 0, 0, -1, 0, 0, 0, -1);
  return _mm_or_si128(_mm_and_si128(alphaLanes, alpha), _mm_andnot_si128(alphaLanes, colour));
}

template <bool kFull> int blendSse2(LICE_Pixel32* dest, const LICE_Pixel32* src, int n, int ia) {
  const __m128i zero = _mm_setzero_si128(), weight = _mm_set1_epi16((short)ia);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128((const __m128i*)(src + i));
    const __m128i d = _mm_loadu_si128((const __m128i*)(dest + i));
    const __m128i lo =
        blendPairSse2<kFull>(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), weight);
    const __m128i hi =
        blendPairSse2<kFull>(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), weight);
    const __m128i out = _mm_packus_epi16(lo, hi);
    // Pixels whose source alpha is 0 keep the destination.
    const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(s, _mm_set1_epi32(0xFF)), zero);
    _mm_storeu_si128((__m128i*)(dest + i),
                     _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, out)));
  }
  return i;
}

// The same with 256-bit registers. Unpacking and packing both work within
// 128-bit halves, so pixels come back in order.
template <bool kFull>
__attribute__((target("avx2"))) __m256i blendPairAvx2(__m256i s, __m256i d, __m256i ia) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i sa = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0), 0);
  __m256i add, k;
  if (kFull) {
    add = sa;
    k = _mm256_sub_epi16(_mm256_set1_epi16(255), sa);
  } else {
    add = _mm256_srli_epi16(_mm256_mullo_epi16(ia, _mm256_add_epi16(sa, _mm256_set1_epi16(1))), 8);
    k = _mm256_sub_epi16(_mm256_set1_epi16(256), add);
  }
  const __m256i diff = _mm256_sub_epi16(d, s);
  const __m256i q = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_abs_epi16(diff), k), 8);
  const __m256i negative = _mm256_cmpgt_epi16(zero, diff);
  const __m256i colour =
      _mm256_add_epi16(s, _mm256_sub_epi16(_mm256_xor_si256(q, negative), negative));
  const __m256i alpha = _mm256_min_epi16(_mm256_add_epi16(d, add), _mm256_set1_epi16(255));
  const __m256i alphaLanes = _mm256_set1_epi64x(0xFFFF);
  return _mm256_blendv_epi8(colour, alpha, alphaLanes);
}

template <bool kFull>
__attribute__((target("avx2"))) int blendAvx2(LICE_Pixel32* dest, const LICE_Pixel32* src, int n,
                                              int ia) {
  const __m256i zero = _mm256_setzero_si256(), weight = _mm256_set1_epi16((short)ia);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_loadu_si256((const __m256i*)(src + i));
    const __m256i d = _mm256_loadu_si256((const __m256i*)(dest + i));
    const __m256i lo =
        blendPairAvx2<kFull>(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), weight);
    const __m256i hi =
        blendPairAvx2<kFull>(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), weight);
    const __m256i out = _mm256_packus_epi16(lo, hi);
    const __m256i clear = _mm256_cmpeq_epi32(_mm256_and_si256(s, _mm256_set1_epi32(0xFF)), zero);
    _mm256_storeu_si256((__m256i*)(dest + i), _mm256_blendv_epi8(out, d, clear));
  }
  return i;
}

bool hasAvx2() {
  static const bool yes = __builtin_cpu_supports("avx2");
  return yes;
}

template <bool kFull> int blendVector(LICE_Pixel32* dest, const LICE_Pixel32* src, int n, int ia) {
  int done = hasAvx2() ? blendAvx2<kFull>(dest, src, n, ia) : 0;
  done += blendSse2<kFull>(dest + done, src + done, n - done, ia);
  return done;
}

} // namespace

void blendRowSourceAlphaFull(LICE_Pixel32* dest, const LICE_Pixel32* src, int n) {
  for (int i = blendVector<true>(dest, src, n, 256); i < n; ++i) {
    const LICE_Pixel32 s = src[i];
    _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp::doPix(
        (LICE_pixel_chan*)(dest + i), LICE_GETR(s), LICE_GETG(s), LICE_GETB(s), LICE_GETA(s), 256);
  }
}

void blendRowSourceAlphaWeighted(LICE_Pixel32* dest, const LICE_Pixel32* src, int n, int ia) {
  for (int i = blendVector<false>(dest, src, n, ia); i < n; ++i) {
    const LICE_Pixel32 s = src[i];
    _LICE_CombinePixelsCopySourceAlphaNoClamp::doPix((LICE_pixel_chan*)(dest + i), LICE_GETR(s),
                                                     LICE_GETG(s), LICE_GETB(s), LICE_GETA(s), ia);
  }
}

} // namespace lice_detail
