#pragma once
// The clipper's arithmetic. ClipBlock is the fast form used for audio;
// ClipSampleLiteral is the defining per-sample formula, which ClipBlock
// matches bit for bit on every processor it runs on.
#include <cmath>

namespace grittlebox {

// 6.014 dB per doubling of amplitude is the effect's own convention (not 6.0206).
inline double GainFromDB(double dB) {
  return std::pow(2.0, dB / 6.014);
}

// The threshold at Distort 89.99. Above 90 % the plain formula gives a zero or
// negative threshold, which turns silence into full-scale DC or NaN.
const double kMinThreshold = 89.99 / -100.0 + 0.9;

// T = 0.9 - Distort / 100, computed in this order, never below kMinThreshold.
inline double ThresholdFromDistort(double distort) {
  const double threshold = distort / -100.0 + 0.9;
  return threshold >= kMinThreshold ? threshold : kMinThreshold;
}

// One sample, exactly as the formula reads, with both exponentials per sample.
// A NaN input fails the x >= 0 test and comes out at -gOut.
inline double ClipSampleLiteral(double in, double inDB, double threshold, double outDB) {
  const double x = std::pow(2.0, inDB / 6.014) * in;
  const double y = x >= 0.0 ? std::fmin(x, threshold) : std::fmax(x, -threshold);
  return (y / threshold) * std::pow(2.0, outDB / 6.014);
}

// Whether every zero input comes out as the same zero, sign included: gainIn
// times ±0 is ±0, clamping leaves it, and dividing by T and scaling by gainOut
// keep the sign when both are positive; an infinite factor would make NaN.
inline bool KeepsZeros(double gainIn, double threshold, double gainOut) {
  auto positiveFinite = [](double v) { return v > 0.0 && std::isfinite(v); };
  return positiveFinite(gainIn) && positiveFinite(threshold) && positiveFinite(gainOut);
}

// out[i] = clamp(gainIn * in[i], -T, T) / T * gainOut for i < nFrames, T > 0.
// Reads in, writes out only (they may be the same buffer). Returns whether
// every sample written is zero of either sign (true for an empty block), which
// the host's silence flags need. Runs the widest instruction set the
// processor and the system support; allocates nothing and takes no lock.
bool ClipBlock(const double* in, double* out, int nFrames, double gainIn, double threshold,
               double gainOut);

// The 32-bit form: bit-identical to widening each input to double, clipping
// as above and rounding the result to float, in one pass. The silence answer
// is about the floats written.
bool ClipBlock(const float* in, float* out, int nFrames, double gainIn, double threshold,
               double gainOut);

} // namespace grittlebox
