// An editor laid out like the effect's (350 x 288 background drawn with
// clobber, three film-strip knobs with blend none, three centred readouts in
// 13-pixel "Tahoma Bold"), drawn through the headless host. Each benchmark
// times a memcpy of one 350 x 288 frame next to its body in every iteration
// and reports "x_memcpy", the ratio of the medians, and "us", the body's
// median in microseconds. Targets: full draw <= 500 us and <= 20 x memcpy,
// one knob turn <= 100 us, an idle poll <= 1 us.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "editor/IControl.h"
#include "platform/headless/IGraphicsHeadless.h"
#include "tests/editor/editor_fixture.h"

namespace {

const int kW = 350, kH = 288;

double Median(std::vector<double>& v) {
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

template <class Body> void TimeAgainstMemcpy(benchmark::State& state, Body&& body) {
  std::vector<uint32_t> a(size_t(kW) * kH, 1), b(size_t(kW) * kH, 2);
  std::vector<double> copyTimes, bodyTimes;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
    benchmark::ClobberMemory();
    const auto t1 = std::chrono::steady_clock::now();
    body();
    benchmark::ClobberMemory();
    const auto t2 = std::chrono::steady_clock::now();
    copyTimes.push_back(std::chrono::duration<double>(t1 - t0).count());
    bodyTimes.push_back(std::chrono::duration<double>(t2 - t1).count());
  }
  const double copy = Median(copyTimes), time = Median(bodyTimes);
  state.counters["us"] = time * 1e6;
  state.counters["memcpy_us"] = copy * 1e6;
  state.counters["x_memcpy"] = time / copy;
}

struct Editor {
  RecordingPlug plug;
  IGraphicsHeadless* gui = BuildEffectEditor(&plug);
  Editor() {
    while (gui->Poll()) { // fonts created, glyphs warmed, everything clean
    }
  }
};

void BM_FullDraw(benchmark::State& state) {
  Editor e;
  IRECT all(0, 0, kW, kH);
  TimeAgainstMemcpy(state, [&] {
    e.gui->SetAllControlsDirty();
    IRECT dirty;
    e.gui->IsDirty(&dirty);
    e.gui->Draw(&all);
  });
}
BENCHMARK(BM_FullDraw);

// A drag step on the Distort knob: the knob and its readout become dirty,
// the next poll draws the union of both (strict drawing).
void BM_KnobTurn(benchmark::State& state) {
  Editor e;
  IControl* knob = e.gui->GetControl(3);
  int step = 0;
  TimeAgainstMemcpy(state, [&] {
    knob->SetValue((step++ % 100) / 100.0);
    knob->SetDirty(true);
    e.gui->Poll();
  });
}
BENCHMARK(BM_KnobTurn);

void BM_IdlePoll(benchmark::State& state) {
  Editor e;
  TimeAgainstMemcpy(state, [&] {
    IRECT dirty;
    benchmark::DoNotOptimize(e.gui->IsDirty(&dirty));
  });
}
BENCHMARK(BM_IdlePoll);

} // namespace

BENCHMARK_MAIN();
