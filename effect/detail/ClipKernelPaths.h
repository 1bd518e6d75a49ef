#pragma once
// The clip kernel's instruction-set paths, for the dispatcher, the tests and
// the benchmarks. Each path lives in its own file compiled for its own
// instruction set; nothing here may be called on a processor that lacks it,
// which ClipPathFor checks.

namespace grittlebox {

using ClipDoublesFn = bool (*)(const double* in, double* out, int nFrames, double gainIn,
                               double threshold, double gainOut);
using ClipFloatsFn = bool (*)(const float* in, float* out, int nFrames, double gainIn,
                              double threshold, double gainOut);

struct ClipKernelPath {
  const char* name;
  ClipDoublesFn clipDoubles;
  ClipFloatsFn clipFloats;
};

// No wider path: eight doubles a division measured no faster than four on
// the processors at hand, which divide at the same rate per double either way.
enum class ClipIsa { kSse2, kAvx2, kCount };

// Null when this processor or its operating system cannot run the path.
const ClipKernelPath* ClipPathFor(ClipIsa isa);

// The path ClipBlock uses: the widest one ClipPathFor offers.
const ClipKernelPath& ActiveClipPath();

extern const ClipKernelPath kClipPathSse2;
extern const ClipKernelPath kClipPathAvx2;

// The SSE2 kernel the dispatching one replaced, kept as the benchmarks'
// baseline: two doubles a division, no silence answer.
void ClipBlockSse2Baseline(const double* in, double* out, int nFrames, double gainIn,
                           double threshold, double gainOut);

} // namespace grittlebox
