// The clip kernel for every x86-64 processor: two doubles a division.
#include <emmintrin.h>

#include "detail/ClipKernelLoop.h"
#include "detail/ClipKernelPaths.h"

namespace grittlebox {
namespace {

struct Sse2Lanes {
  using Doubles = __m128d;
  static constexpr int kLanes = 2;

  static Doubles Broadcast(double v) { return _mm_set1_pd(v); }
  static Doubles Load(const double* p) { return _mm_loadu_pd(p); }
  static Doubles Load(const float* p) {
    return _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
  }
  static Doubles Mul(Doubles a, Doubles b) { return _mm_mul_pd(a, b); }
  static Doubles Div(Doubles a, Doubles b) { return _mm_div_pd(a, b); }
  static Doubles Min(Doubles a, Doubles b) { return _mm_min_pd(a, b); }
  static Doubles Max(Doubles a, Doubles b) { return _mm_max_pd(a, b); }

  static __m128d Store(double* p, Doubles y) {
    _mm_storeu_pd(p, y);
    return y;
  }
  // The two floats land in the low half; the high half converts to zeros.
  static __m128 Store(float* p, Doubles y) {
    const __m128 f = _mm_cvtpd_ps(y);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_castps_si128(f));
    return f;
  }
  static __m128d Or(__m128d a, __m128d b) { return _mm_or_pd(a, b); }
  static __m128 Or(__m128 a, __m128 b) { return _mm_or_ps(a, b); }

  static bool IsZeroIgnoringSign(__m128d v) {
    const __m128i bits = _mm_castpd_si128(_mm_andnot_pd(_mm_set1_pd(-0.0), v));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(bits, _mm_setzero_si128())) == 0xFFFF;
  }
  static bool IsZeroIgnoringSign(__m128 v) {
    const __m128i bits = _mm_castps_si128(_mm_andnot_ps(_mm_set1_ps(-0.0f), v));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(bits, _mm_setzero_si128())) == 0xFFFF;
  }
};

} // namespace

const ClipKernelPath kClipPathSse2 = {"SSE2", clip_loop::ClipSamples<Sse2Lanes, double>,
                                      clip_loop::ClipSamples<Sse2Lanes, float>};

} // namespace grittlebox
