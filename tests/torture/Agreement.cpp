#include "Agreement.h"

#include <cmath>
#include <cstring>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

double Agreement::Plain(const std::vector<uint8_t>& state, const char* title) const {
  const auto& values = mTarget->model.values;
  for (size_t i = 0; i < values.size(); ++i)
    if (values[i].title == title) {
      double value;
      memcpy(&value, state.data() + 8 * i, sizeof value);
      return value;
    }
  return 0.0;
}

// The clipper as its makers define it, one sample at a time: gains of 6.014 dB
// per doubling, a threshold that falls with Distort and stops at its value for
// 89.99 %.
double Agreement::Expected(double in, const std::vector<uint8_t>& state) const {
  const double lowest = 89.99 / -100.0 + 0.9;
  double threshold = Plain(state, "Distort") / -100.0 + 0.9;
  if (threshold < lowest) threshold = lowest;
  const double x = std::pow(2.0, Plain(state, "In") / 6.014) * in;
  const double y = x >= 0.0 ? std::fmin(x, threshold) : std::fmax(x, -threshold);
  return (y / threshold) * std::pow(2.0, Plain(state, "Out") / 6.014);
}

void Agreement::Check(const RoundSetup& round, const std::vector<uint8_t>& state) {
  if (!(round.active && round.setUp && round.inBusActive && round.outBusActive)) return;
  const int frames = round.maxBlock < kFrames ? round.maxBlock : kFrames;
  const bool use64 = round.use64;
  double in64[2][kFrames], out64[2][kFrames];
  float in32[2][kFrames], out32[2][kFrames];
  double* in64Ptr[2] = {in64[0], in64[1]};
  double* out64Ptr[2] = {out64[0], out64[1]};
  float* in32Ptr[2] = {in32[0], in32[1]};
  float* out32Ptr[2] = {out32[0], out32[1]};
  for (int c = 0; c < 2; ++c)
    for (int f = 0; f < kFrames; ++f) {
      in64[c][f] = -2.5 + 5.0 * f / (kFrames - 1) + 0.01 * c;
      in32[c][f] = static_cast<float>(in64[c][f]);
      out64[c][f] = out32[c][f] = 1234.5;
    }
  AudioBusBuffers in = {}, out = {};
  in.numChannels = round.inChannels;
  out.numChannels = round.outChannels;
  if (use64) {
    in.channelBuffers64 = in64Ptr;
    out.channelBuffers64 = out64Ptr;
  } else {
    in.channelBuffers32 = in32Ptr;
    out.channelBuffers32 = out32Ptr;
  }
  ProcessData data;
  data.symbolicSampleSize = use64 ? kSample64 : kSample32;
  data.numSamples = frames;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &in;
  data.outputs = &out;
  tresult result = kInternalError;
  if (!mDriver->Call("process", [&] { result = mTarget->processor->process(data); })) return;
  if (result != kResultOk) {
    mDriver->Fail("a well-formed block refused",
                  "the agreement block answered " + std::to_string(result));
    return;
  }
  int32_t bypass;
  memcpy(&bypass, state.data() + state.size() - 4, sizeof bypass);
  for (int c = 0; c < round.outChannels; ++c)
    for (int f = 0; f < frames; ++f) {
      const double source = c < round.inChannels ? (use64 ? in64[c][f] : in32[c][f]) : 0.0;
      double expected = bypass ? source : Expected(source, state);
      if (!use64) expected = static_cast<float>(expected);
      const double got = use64 ? out64[c][f] : out32[c][f];
      if (got == expected) continue;
      char detail[200];
      snprintf(
          detail, sizeof detail,
          "channel %d frame %d of a %d-bit block: %.17g, the state (In %g, Out %g, Distort %g, "
          "bypass %d) says %.17g",
          c, f, use64 ? 64 : 32, got, Plain(state, "In"), Plain(state, "Out"),
          Plain(state, "Distort"), bypass, expected);
      mDriver->Fail("audio disagrees with the saved state", detail);
      return;
    }
}
