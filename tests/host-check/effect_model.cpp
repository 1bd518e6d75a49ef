#include "tests/host-check/effect_model.h"

#include <algorithm>
#include <cmath>

namespace hostcheck {

namespace {

const ParameterRange kRanges[kParameterCount] = {
    {"0", "In", "dB", -20.0, 20.0, 0.0},
    {"1", "Out", "dB", -20.0, 20.0, 0.0},
    {"2", "Distort", "%", 0.01, 100.0, 50.0},
};

// 2^(dB/6.014): the effect's own dB-to-amplitude rule, not 10^(dB/20).
double gainFromDB(double dB) {
  return std::pow(2.0, dB / 6.014);
}

} // namespace

const ParameterRange& parameterRange(int index) {
  return kRanges[index];
}

double plainFromNormalized(int index, float normalized) {
  const ParameterRange& range = kRanges[index];
  double value = (range.maximum - range.minimum) * static_cast<double>(normalized) + range.minimum;
  return std::min(value, range.maximum);
}

double clipThreshold(double distortPercent) {
  // The floor is the threshold at Distort 89.99, about 0.0001.
  const double floor = 89.99 / -100.0 + 0.9;
  const double threshold = distortPercent / -100.0 + 0.9;
  return threshold >= floor ? threshold : floor;
}

double clipSample(double input, const EffectSettings& settings) {
  const double threshold = clipThreshold(settings.distortPercent);
  const double x = gainFromDB(settings.inDB) * input;
  const double y = x >= 0.0 ? std::fmin(x, threshold) : std::fmax(x, -threshold);
  return y / threshold * gainFromDB(settings.outDB);
}

} // namespace hostcheck
