// Text through the glyph cache and anti-aliased lines, each against a plain
// rectangle fill of the same area measured in the same run as the baseline.
#include <benchmark/benchmark.h>

#include "lice/lice.h"
#include "lice/lice_lines.h"
#include "lice/lice_text.h"

static void BM_FillBaseline(benchmark::State& state) {
  LICE_MemBitmap bm(350, 288, 4);
  for (auto _ : state) {
    LICE_FillRect(&bm, 10, 10, 200, 16, LICE_RGBA(200, 100, 50, 255), 0.7f, 0);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FillBaseline);

static void BM_CachedText(benchmark::State& state) {
  LICE_MemBitmap bm(350, 288, 4);
  LICE_CachedFont font;
  font.SetFromHFont(CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                    LICE_FONT_FLAG_OWNS_HFONT);
  font.SetTextColor(LICE_RGBA(255, 255, 255, 128));
  for (auto _ : state) {
    RECT r{10, 10, 340, 40};
    benchmark::DoNotOptimize(
        font.DrawText(&bm, "Distort 42.0 %", -1, &r, DT_CENTER | LICE_DT_USEFGALPHA));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CachedText);

static void BM_AntiAliasedLine(benchmark::State& state) {
  LICE_MemBitmap bm(350, 288, 4);
  int i = 0;
  for (auto _ : state) {
    LICE_Line(&bm, 5, 5 + i % 200, 340, 280 - i % 150, LICE_RGBA(255, 255, 0, 255), 0.8f, 0, true);
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AntiAliasedLine);

static void BM_AntiAliasedFLine(benchmark::State& state) {
  LICE_MemBitmap bm(350, 288, 4);
  int i = 0;
  for (auto _ : state) {
    LICE_FLine(&bm, 5.3f, 5.7f + i % 200, 340.2f, 280.1f - i % 150, LICE_RGBA(0, 255, 0, 255), 1.0f,
               0, true);
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AntiAliasedFLine);

BENCHMARK_MAIN();
