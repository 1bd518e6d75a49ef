// Blits of an editor-sized bitmap (350 x 288) against memcpy of the same
// bytes in the same run. Each benchmark reports pixels per second and
// "x_memcpy", its median time per frame divided by memcpy's (targets: plain
// copy within 1.5, source-alpha blend within 10).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "lice/lice.h"

namespace {

const int kW = 350, kH = 288;

void fillPattern(LICE_IBitmap* b, bool varyAlpha) {
  for (int y = 0; y < b->getHeight(); ++y)
    for (int x = 0; x < b->getWidth(); ++x) {
      const int a = varyAlpha ? (x * 3 + y * 5) % 256 : 255;
      b->getBits()[y * b->getRowSpan() + x] = LICE_RGBA(x, y, x + y, a);
    }
}

double median(std::vector<double>& v) {
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

// Each iteration times a memcpy of one frame's bytes and then the body, so
// both see the same machine load; the ratio compares their medians.
template <class Body> void runFrames(benchmark::State& state, Body&& body) {
  std::vector<LICE_Pixel32> a((size_t)kW * kH, 1), b((size_t)kW * kH, 2);
  const size_t bytes = a.size() * sizeof(LICE_Pixel32);
  std::vector<double> copyTimes, bodyTimes;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
    const auto t1 = std::chrono::steady_clock::now();
    body();
    benchmark::ClobberMemory();
    const auto t2 = std::chrono::steady_clock::now();
    copyTimes.push_back(std::chrono::duration<double>(t1 - t0).count());
    bodyTimes.push_back(std::chrono::duration<double>(t2 - t1).count());
  }
  const double copy = median(copyTimes), frame = median(bodyTimes);
  state.counters["Mpixel_per_s"] = (double)kW * kH / frame / 1e6;
  state.counters["frame_us"] = frame * 1e6;
  state.counters["memcpy_us"] = copy * 1e6;
  state.counters["x_memcpy"] = frame / copy;
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<LICE_Pixel32> a((size_t)kW * kH, 1), b((size_t)kW * kH, 2);
  runFrames(state, [&] { memcpy(b.data(), a.data(), a.size() * sizeof(LICE_Pixel32)); });
}

void BM_BlitCopy(benchmark::State& state) {
  LICE_MemBitmap src(kW, kH), dest(kW, kH);
  fillPattern(&src, false);
  runFrames(state, [&] { LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, LICE_MODE_COPY); });
}

void BM_LiceCopy(benchmark::State& state) {
  LICE_MemBitmap src(kW, kH), dest(kW, kH);
  fillPattern(&src, false);
  runFrames(state, [&] { LICE_Copy(&dest, &src); });
}

void BM_BlitHalfAlpha(benchmark::State& state) {
  LICE_MemBitmap src(kW, kH), dest(kW, kH);
  fillPattern(&src, false);
  runFrames(state, [&] { LICE_Blit(&dest, &src, 0, 0, nullptr, 0.5f, LICE_MODE_COPY); });
}

void BM_BlitSourceAlpha(benchmark::State& state) {
  LICE_MemBitmap src(kW, kH), dest(kW, kH);
  fillPattern(&src, true);
  fillPattern(&dest, false);
  runFrames(state, [&] { LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, LICE_MODE_USE_ALPHA); });
}

void BM_BlitSourceAlphaPartial(benchmark::State& state) {
  LICE_MemBitmap src(kW, kH), dest(kW, kH);
  fillPattern(&src, true);
  fillPattern(&dest, false);
  runFrames(state, [&] { LICE_Blit(&dest, &src, 0, 0, nullptr, 0.6f, LICE_MODE_USE_ALPHA); });
}

void BM_ScaledBilinearUp(benchmark::State& state) {
  LICE_MemBitmap src(kW / 2, kH / 2), dest(kW, kH);
  fillPattern(&src, true);
  runFrames(state, [&] {
    LICE_ScaledBlit(&dest, &src, 0, 0, kW, kH, 0, 0, kW / 2, kH / 2, 1.0f,
                    LICE_MODE_FILTER_BILINEAR | LICE_MODE_USE_ALPHA);
  });
}

void BM_ScaledBoxDown(benchmark::State& state) {
  LICE_MemBitmap src(kW * 2, kH * 2), dest(kW, kH);
  fillPattern(&src, true);
  runFrames(state, [&] {
    LICE_ScaledBlit(&dest, &src, 0, 0, kW, kH, 0, 0, kW * 2, kH * 2, 1.0f,
                    LICE_MODE_FILTER_BILINEAR);
  });
}

void BM_ScaledNearestCopy(benchmark::State& state) {
  LICE_MemBitmap src(kW / 2, kH / 2), dest(kW, kH);
  fillPattern(&src, false);
  runFrames(state, [&] {
    LICE_ScaledBlit(&dest, &src, 0, 0, kW, kH, 0, 0, kW / 2, kH / 2, 1.0f, LICE_MODE_COPY);
  });
}

void BM_RotatedBilinear(benchmark::State& state) {
  LICE_MemBitmap src(kW, kH), dest(kW, kH);
  fillPattern(&src, true);
  runFrames(state, [&] {
    LICE_RotatedBlit(&dest, &src, 0, 0, kW, kH, 0, 0, kW, kH, 0.3f, false, 1.0f,
                     LICE_MODE_FILTER_BILINEAR | LICE_MODE_USE_ALPHA);
  });
}

void BM_RotatedNearest(benchmark::State& state) {
  LICE_MemBitmap src(kW, kH), dest(kW, kH);
  fillPattern(&src, false);
  runFrames(state, [&] {
    LICE_RotatedBlit(&dest, &src, 0, 0, kW, kH, 0, 0, kW, kH, 0.3f, false, 1.0f, LICE_MODE_COPY);
  });
}

} // namespace

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_BlitCopy);
BENCHMARK(BM_LiceCopy);
BENCHMARK(BM_BlitHalfAlpha);
BENCHMARK(BM_BlitSourceAlpha);
BENCHMARK(BM_BlitSourceAlphaPartial);
BENCHMARK(BM_ScaledBilinearUp);
BENCHMARK(BM_ScaledBoxDown);
BENCHMARK(BM_ScaledNearestCopy);
BENCHMARK(BM_RotatedBilinear);
BENCHMARK(BM_RotatedNearest);
BENCHMARK_MAIN();
