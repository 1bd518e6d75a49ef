// Stereo processing speed of the clipper against the per-sample formula it
// must match bit for bit (two exponentials per sample) and against a plain
// copy of the same buffers, the physical limit; and the host's whole
// processing call, 64-bit and 32-bit, against the clipper alone: what the
// binding and the plug-in base add around the sound. Ratios are taken within
// one run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "effect/ClipKernel.h"
#include "effect/Grittlebox.h"

namespace {

struct StereoBlock {
  explicit StereoBlock(int n) : inL(n), inR(n), outL(n), outR(n) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> dist(-1.5, 1.5);
    for (int i = 0; i < n; ++i) {
      inL[i] = dist(rng);
      inR[i] = dist(rng);
    }
    ins[0] = inL.data();
    ins[1] = inR.data();
    outs[0] = outL.data();
    outs[1] = outR.data();
  }
  std::vector<double> inL, inR, outL, outR;
  double* ins[2];
  double* outs[2];
};

void SetUpFx(Grittlebox* fx) {
  fx->GetParam(Grittlebox::kIn)->Set(3.0);
  fx->GetParam(Grittlebox::kOut)->Set(-2.0);
  fx->GetParam(Grittlebox::kDistort)->Set(60.0);
  fx->OnParamReset();
}

void BM_Grittlebox(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  StereoBlock block(n);
  Grittlebox fx{IPlugInstanceInfo()};
  SetUpFx(&fx);
  for (auto _ : state) {
    fx.ProcessDoubleReplacing(block.ins, block.outs, n);
    benchmark::DoNotOptimize(block.outL.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * n);
}

// The formula as written: both gains recomputed for every sample.
void BM_Literal(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  StereoBlock block(n);
  Grittlebox fx{IPlugInstanceInfo()};
  SetUpFx(&fx);
  const double inDB = fx.GetInDB(), outDB = fx.GetOutDB(), t = fx.GetThreshold();
  for (auto _ : state) {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < n; ++i)
        block.outs[c][i] = grittlebox::ClipSampleLiteral(block.ins[c][i], inDB, t, outDB);
    benchmark::DoNotOptimize(block.outL.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * n);
}

void BM_Copy(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  StereoBlock block(n);
  for (auto _ : state) {
    for (int c = 0; c < 2; ++c) memcpy(block.outs[c], block.ins[c], sizeof(double) * n);
    benchmark::DoNotOptimize(block.outL.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * n);
}

template <typename T> void SetHostChannels(Steinberg::Vst::AudioBusBuffers* bus, T** channels);
template <> void SetHostChannels<double>(Steinberg::Vst::AudioBusBuffers* bus, double** channels) {
  bus->channelBuffers64 = channels;
}
template <> void SetHostChannels<float>(Steinberg::Vst::AudioBusBuffers* bus, float** channels) {
  bus->channelBuffers32 = channels;
}

// One stereo bus each way, set up and active as a host leaves it.
template <typename T> void BM_ProcessCall(benchmark::State& state) {
  using namespace Steinberg::Vst;
  const int n = static_cast<int>(state.range(0));
  const Steinberg::int32 sampleSize = sizeof(T) == sizeof(double) ? kSample64 : kSample32;
  StereoBlock doubles(n);
  std::vector<T> in[2], out[2];
  T *ins[2], *outs[2];
  for (int c = 0; c < 2; ++c) {
    in[c].assign(doubles.ins[c], doubles.ins[c] + n);
    out[c].resize(n);
    ins[c] = in[c].data();
    outs[c] = out[c].data();
  }
  Grittlebox* fx = MakePlug();
  fx->initialize(nullptr);
  ProcessSetup setup = {kRealtime, sampleSize, n, 48000.0};
  fx->setupProcessing(setup);
  fx->setActive(true);
  AudioBusBuffers inBus = {}, outBus = {};
  inBus.numChannels = outBus.numChannels = 2;
  SetHostChannels(&inBus, ins);
  SetHostChannels(&outBus, outs);
  ProcessData data;
  data.symbolicSampleSize = sampleSize;
  data.numSamples = n;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  for (auto _ : state) {
    fx->process(data);
    benchmark::DoNotOptimize(outs[0]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * n);
  fx->setActive(false);
  fx->terminate();
  fx->release();
}

BENCHMARK(BM_Grittlebox)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_Literal)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_Copy)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_TEMPLATE(BM_ProcessCall, double)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_TEMPLATE(BM_ProcessCall, float)->Arg(64)->Arg(512)->Arg(4096);

// Keeps samples per second per benchmark so that the ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // With repetitions only the median counts; reported alone, aggregates
      // are all there is.
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      if (run.error_occurred || !(median || single)) continue;
      const int frames = std::stoi(run.run_name.args);
      // CPU time: the machine may be shared with other work during a run.
      const double seconds =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      rates[run.run_name.function_name][frames] = 2.0 * frames / seconds;
    }
  }
  void PrintRatios() const {
    printf("\n%8s %16s %16s %16s %12s %12s\n", "frames", "effect smp/s", "literal smp/s",
           "copy smp/s", "vs literal", "of copy");
    for (int frames : {64, 512, 4096}) {
      const double fx = Rate("BM_Grittlebox", frames), literal = Rate("BM_Literal", frames),
                   copy = Rate("BM_Copy", frames);
      if (fx <= 0 || literal <= 0 || copy <= 0) continue;
      printf("%8d %16.4g %16.4g %16.4g %11.1fx %11.1f%%\n", frames, fx, literal, copy, fx / literal,
             100.0 * fx / copy);
    }
    printf("target: at least 30x the literal formula\n");
    printf("\n%8s %16s %16s %14s %14s\n", "frames", "call64 smp/s", "call32 smp/s", "64 of effect",
           "32 of effect");
    for (int frames : {64, 512, 4096}) {
      const double fx = Rate("BM_Grittlebox", frames),
                   call64 = Rate("BM_ProcessCall<double>", frames),
                   call32 = Rate("BM_ProcessCall<float>", frames);
      if (fx <= 0 || call64 <= 0 || call32 <= 0) continue;
      printf("%8d %16.4g %16.4g %13.1f%% %13.1f%%\n", frames, call64, call32, 100.0 * call64 / fx,
             100.0 * call32 / fx);
    }
  }

private:
  double Rate(const std::string& name, int frames) const {
    auto it = rates.find(name);
    if (it == rates.end()) return 0;
    auto jt = it->second.find(frames);
    return jt == it->second.end() ? 0 : jt->second;
  }
  std::map<std::string, std::map<int, double>> rates;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
