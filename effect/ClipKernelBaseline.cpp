// The SSE2 kernel as it stood before the dispatching one: the benchmarks'
// baseline. Not part of the plug-in; nothing but the benchmarks calls it.
#include "detail/ClipKernelPaths.h"

#include <emmintrin.h>

namespace grittlebox {
namespace {

// For T > 0, min(max(x, -T), T) with the SSE operand order equals the
// formula's fmin/fmax branches, signed zeros included: maxpd returns its second
// operand when the first is NaN, so a NaN sample becomes -T as fmax makes it.
inline double ClipScalar(double in, double gainIn, double threshold, double negThreshold,
                         double gainOut) {
  const double x = gainIn * in;
  const double above = x > negThreshold ? x : negThreshold;
  const double y = above < threshold ? above : threshold;
  return (y / threshold) * gainOut;
}

inline __m128d ClipPair(__m128d in, __m128d gainIn, __m128d threshold, __m128d negThreshold,
                        __m128d gainOut) {
  const __m128d x = _mm_mul_pd(gainIn, in);
  const __m128d y = _mm_min_pd(_mm_max_pd(x, negThreshold), threshold);
  return _mm_mul_pd(_mm_div_pd(y, threshold), gainOut);
}

} // namespace

void ClipBlockSse2Baseline(const double* in, double* out, int nFrames, double gainIn,
                           double threshold, double gainOut) {
  const double negThreshold = -threshold;
  const __m128d vGainIn = _mm_set1_pd(gainIn);
  const __m128d vThreshold = _mm_set1_pd(threshold);
  const __m128d vNegThreshold = _mm_set1_pd(negThreshold);
  const __m128d vGainOut = _mm_set1_pd(gainOut);
  int i = 0;
  for (; i + 4 <= nFrames; i += 4) {
    const __m128d a = _mm_loadu_pd(in + i);
    const __m128d b = _mm_loadu_pd(in + i + 2);
    _mm_storeu_pd(out + i, ClipPair(a, vGainIn, vThreshold, vNegThreshold, vGainOut));
    _mm_storeu_pd(out + i + 2, ClipPair(b, vGainIn, vThreshold, vNegThreshold, vGainOut));
  }
  for (; i < nFrames; ++i) out[i] = ClipScalar(in[i], gainIn, threshold, negThreshold, gainOut);
}

} // namespace grittlebox
