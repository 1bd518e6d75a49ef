#pragma once
// The panel's brushed-metal grain, from a generator of our own with a fixed
// seed so that every run draws the same pixels.
#include <cstdint>

#include "lice/lice.h"

namespace art {

// xorshift32: small, fast and the same on every machine.
class Random {
public:
  explicit Random(uint32_t seed) : mState(seed ? seed : 1u) {}
  uint32_t Next() {
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return mState;
  }
  // Uniform in -1 .. 1.
  float Signed() { return float(Next() >> 8) / float(1u << 23) - 1.0f; }

private:
  uint32_t mState;
};

// Brightens or darkens every pixel of the rectangle by horizontal streaks
// and fine grain; strength is the largest change in colour steps. Each
// grain is cell x cell pixels, so a supersampled canvas gets the grain of
// the picture it becomes.
void AddBrushedGrain(LICE_IBitmap* bm, int cell, float strength, uint32_t seed);

} // namespace art
