#include "ProcessDriver.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "OddValues.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Beyond any bound the clipper can reach: a sample still holding this was
// not written.
const double kUnwritten = 1234.5;

const double kSpecialSamples[] = {std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  1e300,
                                  -1e300,
                                  5e-324};

bool Same(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

ProcessDriver::ProcessDriver(Target* target, Driver* driver)
    : mTarget(target), mDriver(driver), mChanges(new TortureChanges(48, 1024)),
      mOutChanges(new TortureChanges(8, 16)) {
  const size_t n = kCapacity;
  for (Bus& bus : mBus)
    for (int k = 0; k < kChannels; ++k) {
      bus.source[k].assign(n, 0.0);
      bus.in64[k].assign(n, 0.0);
      bus.out64[k].assign(n, 0.0);
      bus.in32[k].assign(n, 0.0f);
      bus.out32[k].assign(n, 0.0f);
    }
}

ProcessDriver::~ProcessDriver() {
  mChanges->release();
  mOutChanges->release();
}

void ProcessDriver::Step(const RoundSetup& round) {
  mDriver->NextStep();
  const Plan plan = MakePlan(round);
  const int n = plan.frames < 0 ? 0 : (plan.frames > kCapacity ? kCapacity : plan.frames);
  Prepare(plan, n);
  mWithChanges = !round.quiet && mDriver->Random().Percent(60);
  if (mWithChanges) FillChanges(n);
  FillContext();
  ProcessData data = Data(plan);
  tresult result = kInternalError;
  if (!mDriver->Call("process", [&] { result = mTarget->processor->process(data); })) return;
  CheckResult(plan, round, result);
  CheckOutputs(plan, round, n, result);
  CheckInputs(plan, n);
}

int ProcessDriver::PickFrames(const RoundSetup& round) {
  static const int kPrimes[] = {2, 3, 5, 7, 13, 31, 61, 127, 251, 509, 1021, 2039, 4093};
  Rng& rng = mDriver->Random();
  const int max =
      round.maxBlock > 0 ? (round.maxBlock < kCapacity ? round.maxBlock : kCapacity) : 512;
  const uint32_t roll = rng.Below(100);
  if (roll < 8) return 0;
  if (roll < 16) return 1;
  if (roll < 40) {
    const int prime = rng.Pick(kPrimes);
    return prime < max ? prime : max;
  }
  if (roll < 48) return max;
  if (roll < 52) return max - 1;
  // Spread evenly over the orders of magnitude: most host blocks are short.
  if (roll < 94)
    return static_cast<int>(std::exp(rng.Uniform(0.0, std::log(static_cast<double>(max)))));
  // A host that sends more than it set up, or a negative count.
  if (roll < 97)
    return max + rng.Between(1, 600) < kCapacity ? max + rng.Between(1, 600) : kCapacity;
  return -rng.Between(1, 5);
}

ProcessDriver::Plan ProcessDriver::MakePlan(const RoundSetup& round) {
  Rng& rng = mDriver->Random();
  Plan p = {};
  const uint32_t sizeRoll = rng.Below(100);
  p.use64 = sizeRoll < 90 ? round.use64 : !round.use64;
  p.sampleSize = p.use64 ? kSample64 : kSample32;
  if (sizeRoll >= 98) p.sampleSize = rng.Percent(50) ? 2 : -1;
  p.frames = PickFrames(round);
  p.numInputs = rng.Percent(88) ? 1 : rng.Between(0, 2);
  p.numOutputs = rng.Percent(90) ? 1 : rng.Between(0, 2);
  p.inputsNull = rng.Percent(2);
  p.outputsNull = rng.Percent(2);
  for (int b = 0; b < kBuses; ++b) {
    p.inChannels[b] = rng.Percent(85) ? round.inChannels : rng.Between(0, kChannels);
    p.outChannels[b] = rng.Percent(85) ? round.outChannels : rng.Between(0, kChannels);
    p.inListNull[b] = rng.Percent(2);
    p.outListNull[b] = rng.Percent(2);
    for (int k = 0; k < kChannels; ++k) {
      p.inNull[b][k] = rng.Percent(3);
      p.outNull[b][k] = rng.Percent(3);
    }
  }
  p.inPlace = rng.Percent(15);
  return p;
}

void ProcessDriver::FillSource(std::vector<double>& source, int n, bool use64) {
  Rng& rng = mDriver->Random();
  const uint32_t kind = rng.Below(100);
  const double amplitude = rng.Uniform(0.0, 4.0);
  const double step = rng.Uniform(0.001, 0.5);
  const int period = rng.Between(1, 64);
  // A sine by rotation: cheap enough for long blocks.
  const double cosStep = std::cos(step), sinStep = std::sin(step);
  double sine = 0.0, cosine = 1.0;
  for (int s = 0; s < n; ++s) {
    double v = 0.0;
    if (kind < 10) {
      v = 0.0;
    } else if (kind < 45) {
      v = amplitude * sine;
      const double next = sine * cosStep + cosine * sinStep;
      cosine = cosine * cosStep - sine * sinStep;
      sine = next;
    } else if (kind < 80)
      v = rng.Uniform(-amplitude, amplitude);
    else if (kind < 85)
      v = amplitude;
    else if (kind < 90)
      v = rng.Percent(50) ? 1e-310 : -1e-310;
    else
      v = (s / period) % 2 ? amplitude : -amplitude;
    source[static_cast<size_t>(s)] = v;
  }
  if (n > 0 && rng.Percent(4))
    for (int i = rng.Between(1, 5); i > 0; --i)
      source[rng.Below(static_cast<uint32_t>(n))] = rng.Pick(kSpecialSamples);
  if (!use64)
    for (int s = 0; s < n; ++s)
      source[static_cast<size_t>(s)] = static_cast<float>(source[static_cast<size_t>(s)]);
}

void ProcessDriver::Prepare(const Plan& plan, int n) {
  for (int b = 0; b < kBuses; ++b) {
    Bus& bus = mBus[b];
    for (int k = 0; k < kChannels; ++k) {
      if (b < plan.numInputs && k < plan.inChannels[b]) {
        FillSource(bus.source[k], n, plan.use64);
        for (int s = 0; s < n; ++s) {
          bus.in64[k][s] = bus.source[k][s];
          bus.in32[k][s] = static_cast<float>(bus.source[k][s]);
        }
      }
      if (b < plan.numOutputs && k < plan.outChannels[b])
        for (int s = 0; s < n; ++s) {
          bus.out64[k][s] = kUnwritten;
          bus.out32[k][s] = static_cast<float>(kUnwritten);
        }
      bus.inPtr64[k] = plan.inNull[b][k] ? nullptr : bus.in64[k].data();
      bus.inPtr32[k] = plan.inNull[b][k] ? nullptr : bus.in32[k].data();
      bus.outPtr64[k] = plan.outNull[b][k] ? nullptr : bus.out64[k].data();
      bus.outPtr32[k] = plan.outNull[b][k] ? nullptr : bus.out32[k].data();
      if (b == 0 && plan.inPlace && InputFor(plan, k) && bus.outPtr64[k]) {
        bus.outPtr64[k] = bus.inPtr64[k];
        bus.outPtr32[k] = bus.inPtr32[k];
      }
    }
    mIn[b] = {};
    mOut[b] = {};
    mIn[b].silenceFlags = SilenceFlags(bus, plan.inChannels[b], n);
    mIn[b].numChannels = plan.inChannels[b];
    mOut[b].numChannels = plan.outChannels[b];
    if (plan.use64) {
      mIn[b].channelBuffers64 = plan.inListNull[b] ? nullptr : bus.inPtr64;
      mOut[b].channelBuffers64 = plan.outListNull[b] ? nullptr : bus.outPtr64;
    } else {
      mIn[b].channelBuffers32 = plan.inListNull[b] ? nullptr : bus.inPtr32;
      mOut[b].channelBuffers32 = plan.outListNull[b] ? nullptr : bus.outPtr32;
    }
  }
}

// Hosts flag silent input channels, mostly rightly; some flag wrongly.
uint64_t ProcessDriver::SilenceFlags(const Bus& bus, int channels, int n) {
  Rng& rng = mDriver->Random();
  if (rng.Percent(3)) return rng.Next();
  uint64_t flags = 0;
  for (int k = 0; k < channels && k < kChannels; ++k) {
    bool silent = true;
    for (int s = 0; s < n && silent; ++s) silent = bus.source[k][s] == 0.0;
    if (silent && rng.Percent(50)) flags |= uint64_t{1} << k;
  }
  return flags;
}

void ProcessDriver::FillChanges(int n) {
  Rng& rng = mDriver->Random();
  mChanges->Clear();
  const int queues = rng.Percent(90) ? rng.Between(1, 6) : rng.Between(7, 48);
  for (int q = 0; q < queues; ++q) {
    TortureQueue* queue = mChanges->Add(ParamId(rng, mTarget->model));
    if (!queue) break;
    const uint32_t roll = rng.Below(100);
    const int points =
        roll < 5 ? 0 : (roll < 88 ? rng.Between(1, 8) : rng.Between(9, mChanges->MaxPoints()));
    const bool ordered = rng.Percent(90);
    int32 offset = 0;
    for (int p = 0; p < points; ++p) {
      offset = ordered ? offset + rng.Between(0, n / points + 1) : rng.Between(-10, n + 10);
      queue->Push(offset, NormalizedValue(rng));
    }
  }
  if (rng.Percent(3)) mChanges->SetHole(static_cast<int>(rng.Below(static_cast<uint32_t>(queues))));
}

void ProcessDriver::FillContext() {
  Rng& rng = mDriver->Random();
  mWithContext = rng.Percent(50);
  if (!mWithContext) return;
  mContext.state = static_cast<uint32>(rng.Next());
  mContext.sampleRate = rng.Percent(80) ? 44100.0 : OddDouble(rng);
  mContext.projectTimeSamples = static_cast<int64>(rng.Next());
  mContext.tempo = rng.Percent(80) ? rng.Uniform(20.0, 300.0) : OddDouble(rng);
  mContext.timeSigNumerator = rng.Between(-2, 32);
  mContext.timeSigDenominator = rng.Between(-2, 32);
  mContext.projectTimeMusic = OddDouble(rng);
  mContext.barPositionMusic = OddDouble(rng);
  mContext.cycleStartMusic = OddDouble(rng);
  mContext.cycleEndMusic = OddDouble(rng);
}

ProcessData ProcessDriver::Data(const Plan& plan) {
  static const int32 kOddModes[] = {kPrefetch, kOffline, 7};
  Rng& rng = mDriver->Random();
  ProcessData data;
  data.processMode = rng.Percent(95) ? kRealtime : rng.Pick(kOddModes);
  data.symbolicSampleSize = plan.sampleSize;
  data.numSamples = plan.frames;
  data.numInputs = plan.numInputs;
  data.numOutputs = plan.numOutputs;
  data.inputs = plan.inputsNull ? nullptr : mIn;
  data.outputs = plan.outputsNull ? nullptr : mOut;
  data.inputParameterChanges = mWithChanges ? mChanges : nullptr;
  mOutChanges->Clear();
  data.outputParameterChanges = rng.Percent(10) ? mOutChanges : nullptr;
  data.processContext = mWithContext ? &mContext : nullptr;
  return data;
}

void ProcessDriver::CheckResult(const Plan& plan, const RoundSetup& round, tresult result) {
  const bool wellFormed = (plan.sampleSize == kSample32 || plan.sampleSize == kSample64) &&
                          plan.frames >= 0 && plan.frames <= round.maxBlock && round.active &&
                          round.setUp;
  if (wellFormed && result != kResultOk)
    mDriver->Fail("a well-formed block refused",
                  "process answered " + std::to_string(result) + " to " + Describe(plan));
}

bool ProcessDriver::MustWrite(const Plan& plan, const RoundSetup& round, int n, tresult result,
                              int channel) const {
  return result == kResultOk && n > 0 && round.active && round.setUp && round.outBusActive &&
         plan.numOutputs >= 1 && channel < round.outChannels;
}

const std::vector<double>* ProcessDriver::InputFor(const Plan& plan, int channel) const {
  if (plan.inputsNull || plan.numInputs < 1 || plan.inListNull[0] ||
      channel >= plan.inChannels[0] || plan.inNull[0][channel])
    return nullptr;
  return &mBus[0].source[channel];
}

// The sample of main input channel `channel` that the plug-in was given; a
// channel it was not given reads as silence.
double ProcessDriver::InputAt(const Plan& plan, int channel, int frame) const {
  const std::vector<double>* source = InputFor(plan, channel);
  return source ? (*source)[static_cast<size_t>(frame)] : 0.0;
}

double ProcessDriver::OutputAt(const Plan& plan, int bus, int channel, int frame) const {
  const Bus& b = mBus[bus];
  return plan.use64 ? b.outPtr64[channel][frame] : b.outPtr32[channel][frame];
}

bool ProcessDriver::Aliased(const Plan& plan, int channel) const {
  return plan.use64 ? mBus[0].outPtr64[channel] == mBus[0].inPtr64[channel]
                    : mBus[0].outPtr32[channel] == mBus[0].inPtr32[channel];
}

// Every sample written is finite and within the bound, or is the host's own
// input sample passed through (bypass).
void ProcessDriver::CheckOutputs(const Plan& plan, const RoundSetup& round, int n, tresult result) {
  // A refused block leaves the buffers to the host.
  if (plan.outputsNull || result != kResultOk) return;
  const double bound64 = mTarget->model.outputBound * (1.0 + 1e-12);
  const double bound = plan.use64 ? bound64
                                  : std::nextafter(static_cast<float>(bound64),
                                                   std::numeric_limits<float>::infinity());
  char where[160];
  for (int b = 0; b < plan.numOutputs && b < kBuses; ++b) {
    if (plan.outListNull[b]) continue;
    for (int k = 0; k < plan.outChannels[b] && k < kChannels; ++k) {
      if (plan.outNull[b][k]) continue;
      const bool must = b == 0 && MustWrite(plan, round, n, result, k);
      for (int s = 0; s < n; ++s) {
        const double o = OutputAt(plan, b, k, s);
        const char* kind = nullptr;
        if (o == kUnwritten)
          kind = must ? "output left unwritten" : nullptr;
        else if (!(std::isfinite(o) && std::fabs(o) <= bound) &&
                 !(b == 0 && Same(o, InputAt(plan, k, s))))
          kind = "output not finite or out of bound";
        if (!kind) continue;
        snprintf(where, sizeof where, "bus %d channel %d frame %d holds %.17g (input %.17g) in ", b,
                 k, s, o, b == 0 ? InputAt(plan, k, s) : 0.0);
        mDriver->Fail(kind, where + Describe(plan));
        break;
      }
    }
  }
}

void ProcessDriver::CheckInputs(const Plan& plan, int n) {
  if (plan.inputsNull) return;
  for (int b = 0; b < plan.numInputs && b < kBuses; ++b) {
    if (plan.inListNull[b]) continue;
    for (int k = 0; k < plan.inChannels[b] && k < kChannels; ++k) {
      if (plan.inNull[b][k] || (b == 0 && Aliased(plan, k))) continue;
      for (int s = 0; s < n; ++s) {
        const double in = plan.use64 ? mBus[b].in64[k][s] : mBus[b].in32[k][s];
        if (Same(in, mBus[b].source[k][s])) continue;
        mDriver->Fail("input buffer written", "bus " + std::to_string(b) + " channel " +
                                                  std::to_string(k) + " in " + Describe(plan));
        break;
      }
    }
  }
}

std::string ProcessDriver::Describe(const Plan& plan) {
  char text[200];
  snprintf(text, sizeof text, "%s block (size code %d) of %d frames, %d in x%d, %d out x%d%s%s",
           plan.use64 ? "64-bit" : "32-bit", plan.sampleSize, plan.frames, plan.numInputs,
           plan.inChannels[0], plan.numOutputs, plan.outChannels[0],
           plan.inPlace ? ", in place" : "",
           plan.inputsNull || plan.outputsNull ? ", null bus list" : "");
  return text;
}
