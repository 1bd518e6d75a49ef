// The clip kernel for processors with AVX2: four doubles a division. This
// file alone is compiled for AVX2; it runs only where the dispatcher found it.
#include <immintrin.h>

#include "detail/ClipKernelLoop.h"
#include "detail/ClipKernelPaths.h"

namespace grittlebox {
namespace {

struct Avx2Lanes {
  using Doubles = __m256d;
  static constexpr int kLanes = 4;

  static Doubles Broadcast(double v) { return _mm256_set1_pd(v); }
  static Doubles Load(const double* p) { return _mm256_loadu_pd(p); }
  static Doubles Load(const float* p) { return _mm256_cvtps_pd(_mm_loadu_ps(p)); }
  static Doubles Mul(Doubles a, Doubles b) { return _mm256_mul_pd(a, b); }
  static Doubles Div(Doubles a, Doubles b) { return _mm256_div_pd(a, b); }
  static Doubles Min(Doubles a, Doubles b) { return _mm256_min_pd(a, b); }
  static Doubles Max(Doubles a, Doubles b) { return _mm256_max_pd(a, b); }

  static __m256d Store(double* p, Doubles y) {
    _mm256_storeu_pd(p, y);
    return y;
  }
  static __m128 Store(float* p, Doubles y) {
    const __m128 f = _mm256_cvtpd_ps(y);
    _mm_storeu_ps(p, f);
    return f;
  }
  static __m256d Or(__m256d a, __m256d b) { return _mm256_or_pd(a, b); }
  static __m128 Or(__m128 a, __m128 b) { return _mm_or_ps(a, b); }

  static bool IsZeroIgnoringSign(__m256d v) {
    const __m256i magnitude = _mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF);
    return _mm256_testz_si256(_mm256_castpd_si256(v), magnitude);
  }
  static bool IsZeroIgnoringSign(__m128 v) {
    return _mm_testz_si128(_mm_castps_si128(v), _mm_set1_epi32(0x7FFFFFFF));
  }
};

} // namespace

const ClipKernelPath kClipPathAvx2 = {"AVX2", clip_loop::ClipSamples<Avx2Lanes, double>,
                                      clip_loop::ClipSamples<Avx2Lanes, float>};

} // namespace grittlebox
