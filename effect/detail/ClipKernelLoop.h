#pragma once
// The clip loop, written once over a lane type that each instruction-set file
// defines in its own unnamed namespace. Everything here is a template over
// that type, so each instantiation has internal linkage and stays in the file
// compiled for its instruction set: no wider copy can be picked by the linker
// for a narrower caller.
//
// A lane type L provides Doubles (the vector of doubles), kLanes, Broadcast,
// Load from double and float (widening, exact), Mul, Div, Min, Max, Store to
// double and float (narrowing with the current rounding) returning the vector
// written, Or over written vectors and IsZeroIgnoringSign over their union.
#include <cstdint>
#include <cstring>

namespace grittlebox::clip_loop {

template <class L> struct Constants {
  typename L::Doubles gainIn, threshold, negThreshold, gainOut;
};

// max(x, -T) then min(., T) in this operand order returns -T for a NaN x (the
// instructions return their second operand then), as the formula's fmax does;
// for T > 0 it equals the formula's two branches, signed zeros included.
template <class L> inline typename L::Doubles Clip(typename L::Doubles in, const Constants<L>& k) {
  const typename L::Doubles x = L::Mul(k.gainIn, in);
  const typename L::Doubles y = L::Min(L::Max(x, k.negThreshold), k.threshold);
  return L::Mul(L::Div(y, k.threshold), k.gainOut);
}

// The same with scalar instructions, for the samples after the last vector.
template <class L>
inline double ClipScalar(double in, double gainIn, double threshold, double negThreshold,
                         double gainOut) {
  const double x = gainIn * in;
  const double above = x > negThreshold ? x : negThreshold;
  const double y = above < threshold ? above : threshold;
  return (y / threshold) * gainOut;
}

// The written bits without the sign bit, for the silence answer of the tail
// (templates for the same reason as the rest).
template <class L> inline uint64_t MagnitudeBits(double v) {
  uint64_t bits;
  memcpy(&bits, &v, sizeof bits);
  return bits & ~(uint64_t{1} << 63);
}

template <class L> inline uint64_t MagnitudeBits(float v) {
  uint32_t bits;
  memcpy(&bits, &v, sizeof bits);
  return bits & ~(uint32_t{1} << 31);
}

// in and out hold double or float; the arithmetic is always in double.
template <class L, class Sample>
bool ClipSamples(const Sample* in, Sample* out, int nFrames, double gainIn, double threshold,
                 double gainOut) {
  const double negThreshold = -threshold;
  const Constants<L> k{L::Broadcast(gainIn), L::Broadcast(threshold), L::Broadcast(negThreshold),
                       L::Broadcast(gainOut)};
  using Written = decltype(L::Store(out, k.gainIn));
  Written written{};
  int i = 0;
  // Two vectors a step keep two divisions in flight.
  for (; i + 2 * L::kLanes <= nFrames; i += 2 * L::kLanes) {
    const typename L::Doubles a = L::Load(in + i);
    const typename L::Doubles b = L::Load(in + i + L::kLanes);
    written = L::Or(written, L::Store(out + i, Clip<L>(a, k)));
    written = L::Or(written, L::Store(out + i + L::kLanes, Clip<L>(b, k)));
  }
  for (; i + L::kLanes <= nFrames; i += L::kLanes)
    written = L::Or(written, L::Store(out + i, Clip<L>(L::Load(in + i), k)));
  uint64_t tail = 0;
  for (; i < nFrames; ++i) {
    out[i] = static_cast<Sample>(ClipScalar<L>(in[i], gainIn, threshold, negThreshold, gainOut));
    tail |= MagnitudeBits<L>(out[i]);
  }
  return tail == 0 && L::IsZeroIgnoringSign(written);
}

} // namespace grittlebox::clip_loop
