#include "tools/render/DemoSignal.h"

#include <cmath>

std::vector<double> MakeDemoSignal() {
  const int frames = static_cast<int>(kDemoSeconds * kDemoSampleRate);
  std::vector<double> samples(2 * static_cast<size_t>(frames));
  const double twoPi = 2.0 * M_PI;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kDemoSampleRate;
    const double swell = 0.05 + 0.85 * (t / kDemoSeconds);
    // Each beat starts with a short attack so the clipping is heard on transients too.
    const double beat = std::fmod(t, 0.5);
    const double envelope =
        swell * (0.6 + 0.4 * std::exp(-8.0 * beat)) * std::fmin(1.0, beat * 200);
    const double left = std::sin(twoPi * 110.0 * t) + 0.5 * std::sin(twoPi * 165.0 * t);
    const double right = std::sin(twoPi * 110.5 * t) + 0.5 * std::sin(twoPi * 164.5 * t);
    samples[2 * i] = envelope * left / 1.5;
    samples[2 * i + 1] = envelope * right / 1.5;
  }
  return samples;
}
