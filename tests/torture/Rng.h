#pragma once
// Seeded random choices for the torture host. Its own generator (splitmix64)
// rather than the standard distributions, so that a seed names the same
// sequence of calls with every compiler and library.
#include <cstddef>
#include <cstdint>

class Rng {
public:
  explicit Rng(uint64_t seed) : mState(seed) {}

  uint64_t Next() {
    uint64_t z = (mState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n - 1 (0 for n = 0).
  uint32_t Below(uint32_t n) {
    return static_cast<uint32_t>(((Next() >> 32) * static_cast<uint64_t>(n)) >> 32);
  }
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Below(static_cast<uint32_t>(hi - lo + 1)));
  }
  bool Percent(int percent) { return static_cast<int>(Below(100)) < percent; }
  // [0, 1)
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Uniform(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  template <class T, size_t N> const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<uint32_t>(N))];
  }
  // One of the items, each as likely as weight(item) says (never one of
  // weight 0 while another has more).
  template <class T, size_t N, class Weight>
  const T& PickWeighted(const T (&items)[N], Weight weight) {
    int total = 0;
    for (const T& item : items) total += weight(item);
    int roll = static_cast<int>(Below(static_cast<uint32_t>(total)));
    for (const T& item : items) {
      if (roll < weight(item)) return item;
      roll -= weight(item);
    }
    return items[N - 1];
  }
  // A generator for another thread or round, independent of this one's future.
  Rng Fork() { return Rng(Next()); }

private:
  uint64_t mState;
};
