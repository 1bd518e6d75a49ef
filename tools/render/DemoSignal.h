#pragma once
// A few seconds of stereo music-like material that shows off the clipper: a
// low two-note chord whose level swells from quiet to loud.
#include <vector>

constexpr int kDemoSampleRate = 44100;
constexpr double kDemoSeconds = 4.0;

// Interleaved stereo samples, kDemoSeconds long at kDemoSampleRate.
std::vector<double> MakeDemoSignal();
