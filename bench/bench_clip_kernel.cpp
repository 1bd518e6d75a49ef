// The clip kernel alone on a stereo block, per instruction-set path, against
// the SSE2 kernel it replaced, the per-sample formula and a plain copy of the
// same buffers (the physical limit). Ratios are taken within one run, from the
// medians when the run has repetitions.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/MedianTimes.h"
#include "effect/ClipKernel.h"
#include "effect/detail/ClipKernelPaths.h"

namespace {

using namespace grittlebox;

const double kInDB = 3.0, kOutDB = -2.0;
const double kThreshold = ThresholdFromDistort(60.0);
const int kFrames[] = {32, 512, 4096};

template <class Sample> struct StereoBlock {
  explicit StereoBlock(int n) : n(n) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> dist(-1.5, 1.5);
    // Inputs first, then outputs: with each output allocated right after its
    // input (addresses just over 4 KiB apart) a 512-frame copy measured at
    // half speed, which flattered the kernel's ratio to it.
    for (int c = 0; c < 2; ++c) {
      in[c].resize(n);
      for (Sample& v : in[c]) v = static_cast<Sample>(dist(rng));
    }
    for (int c = 0; c < 2; ++c) out[c].resize(n);
  }
  int n;
  std::vector<Sample> in[2], out[2];
};

template <class Sample, class Process> void RunStereo(benchmark::State& state, Process process) {
  StereoBlock<Sample> block(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (int c = 0; c < 2; ++c) process(block.in[c].data(), block.out[c].data(), block.n);
    benchmark::DoNotOptimize(block.out[0].data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * block.n);
}

template <class Sample> void Copy(benchmark::State& state) {
  RunStereo<Sample>(
      state, [](const Sample* in, Sample* out, int n) { memcpy(out, in, sizeof(Sample) * n); });
}

// Both exponentials per sample; the settings are hidden from the optimiser,
// which would otherwise fold the constant exponentials away.
void Literal(benchmark::State& state) {
  double inDB = kInDB, outDB = kOutDB, threshold = kThreshold;
  benchmark::DoNotOptimize(inDB);
  benchmark::DoNotOptimize(outDB);
  benchmark::DoNotOptimize(threshold);
  RunStereo<double>(state, [=](const double* in, double* out, int n) {
    for (int i = 0; i < n; ++i) out[i] = ClipSampleLiteral(in[i], inDB, threshold, outDB);
  });
}

void Baseline(benchmark::State& state) {
  RunStereo<double>(state, [](const double* in, double* out, int n) {
    ClipBlockSse2Baseline(in, out, n, GainFromDB(kInDB), kThreshold, GainFromDB(kOutDB));
  });
}

template <class Sample, class Fn> void Kernel(benchmark::State& state, Fn fn) {
  const double gainIn = GainFromDB(kInDB), gainOut = GainFromDB(kOutDB);
  RunStereo<Sample>(state, [&](const Sample* in, Sample* out, int n) {
    benchmark::DoNotOptimize(fn(in, out, n, gainIn, kThreshold, gainOut));
  });
}

void Register(const std::string& name, void (*fn)(benchmark::State&)) {
  benchmark::RegisterBenchmark(name.c_str(), fn)->Arg(32)->Arg(512)->Arg(4096);
}

template <class Lambda> void Register(const std::string& name, Lambda fn) {
  benchmark::RegisterBenchmark(name.c_str(), fn)->Arg(32)->Arg(512)->Arg(4096);
}

std::vector<std::string> RegisterAll() {
  std::vector<std::string> paths;
  Register("copy/double", Copy<double>);
  Register("copy/float", Copy<float>);
  Register("literal/double", Literal);
  Register("baseline-SSE2/double", Baseline);
  for (ClipIsa isa : {ClipIsa::kSse2, ClipIsa::kAvx2}) {
    const ClipKernelPath* path = ClipPathFor(isa);
    if (!path) {
      printf("%s path not run by this processor/system: skipped\n",
             isa == ClipIsa::kAvx2 ? "AVX2" : "SSE2");
      continue;
    }
    paths.push_back(path->name);
    Register(std::string(path->name) + "/double",
             [path](benchmark::State& s) { Kernel<double>(s, path->clipDoubles); });
    Register(std::string(path->name) + "/float",
             [path](benchmark::State& s) { Kernel<float>(s, path->clipFloats); });
  }
  return paths;
}

// Ratios from CPU times (the machine may be shared), medians when repeated.
class RatioReporter : public MedianTimesReporter {
public:
  void PrintRatios(const std::vector<std::string>& paths) const {
    printf("\n%-22s %7s %12s %14s %12s %12s\n", "kernel", "frames", "ns/block", "x SSE2 base",
           "x copy time", "x literal");
    for (const char* form : {"double", "float"})
      for (const std::string& path : paths)
        for (int frames : kFrames) PrintRow(path, form, frames);
    printf("targets (double, 512 frames): >= 1.8 x SSE2 base where AVX2 exists; <= 4.5 x copy\n");
  }

private:
  void PrintRow(const std::string& path, const std::string& form, int frames) const {
    const double t = Time(path + "/" + form, frames), copy = Time("copy/" + form, frames);
    const double base = Time("baseline-SSE2/double", frames),
                 literal = Time("literal/double", frames);
    if (t <= 0 || copy <= 0 || base <= 0 || literal <= 0) return;
    printf("%-22s %7d %12.1f %13.2fx %11.2fx %11.1fx\n", (path + "/" + form).c_str(), frames, t,
           base / t, t / copy, literal / t);
  }
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::vector<std::string> paths = RegisterAll();
  printf("active path: %s\n", ActiveClipPath().name);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios(paths);
  benchmark::Shutdown();
  return 0;
}
