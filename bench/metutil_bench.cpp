// Costs of the utility routines that loop: dewpt's Newton iteration, the
// low-pass filter at its widest window, and the storm-relative shift over a
// full table of fixes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "metutil/moisture.hpp"
#include "metutil/series.hpp"
#include "metutil/timeconv.hpp"

namespace {

void BM_Dewpt(benchmark::State& state) {
  const float rh = static_cast<float>(state.range(0));
  for (auto _ : state) {
    float t = 25.0f;
    benchmark::DoNotOptimize(t);
    benchmark::DoNotOptimize(metutil::dewpt(t, rh));
  }
}
BENCHMARK(BM_Dewpt)->Arg(90)->Arg(30)->Arg(1);

// A series of n points filtered with the widest window, 100 weights a side.
void BM_Lopass(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  std::vector<float> x(static_cast<std::size_t>(n));
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = std::sin(0.05f * static_cast<float>(i));
  std::vector<float> y(x.size());
  for (auto _ : state) {
    metutil::lopass(x, y, n, 0.2f, 100);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Lopass)->Arg(1000);

// 500 hourly fixes; the observation lies near the end of the track.
void BM_Stmrel(benchmark::State& state) {
  std::vector<float> dates, times, lats, lons;
  for (int i = 0; i < metutil::kMaxFixes; ++i) {
    dates.push_back(static_cast<float>(990801 + i / 24));
    times.push_back(static_cast<float>((i % 24) * 100));
    lats.push_back(10.0f + 0.1f * static_cast<float>(i));
    lons.push_back(50.0f);
  }
  for (auto _ : state) {
    float lat = 30.0f;
    float lon = 55.0f;
    metutil::stmrel(990801, 990821, 1030, lat, lon, metutil::kMaxFixes, dates, times, lats, lons,
                    990801, 0);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(lon);
  }
}
BENCHMARK(BM_Stmrel);

}  // namespace
