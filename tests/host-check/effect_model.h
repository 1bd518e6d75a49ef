#pragma once

#include <string>

namespace hostcheck {

// What a host should see when it scans the bundle. Kept apart from the
// checks so that a deliberately wrong value can be tried from the command line.
struct ExpectedIdentity {
  std::string name = "Grittlebox";
  std::string vendor = "Quartzy Lantern";
  std::string version = "2.0";
  std::string category = "Fx|Distortion";
  int inputChannels = 2;
  int outputChannels = 2;
};

struct ParameterRange {
  const char* id; // the host's parameter id as text: the plug-in's index
  const char* name;
  const char* label;
  double minimum;
  double maximum;
  double defaultValue;
};

enum ParameterIndex { kIn = 0, kOut = 1, kDistort = 2, kParameterCount = 3 };

const ParameterRange& parameterRange(int index);

// The host's bypass parameter id, the characters "bpas".
constexpr unsigned kBypassId = 0x62706173u;

// Plain values of the three parameters.
struct EffectSettings {
  double inDB = 0.0;
  double outDB = 0.0;
  double distortPercent = 50.0;
};

// The plain value the plug-in derives from a host's normalized value. Hosts of
// this kind hand normalized values over as float, so that is the input type.
double plainFromNormalized(int index, float normalized);

// Clipping threshold for a Distort amount; it never falls below its value at
// 89.99 % (about 0.0001), so the division that restores full scale stays finite.
double clipThreshold(double distortPercent);

// One output sample for one input sample, in double precision.
double clipSample(double input, const EffectSettings& settings);

} // namespace hostcheck
