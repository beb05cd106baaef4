// Cost of the planner's arithmetic: one great-circle leg, one storm-relative
// position, and the distance chains of both tables over a full 100-entry list.
#include <benchmark/benchmark.h>

#include <array>

#include "planner/geometry.hpp"
#include "planner/track.hpp"

namespace {

void BM_gcdistance(benchmark::State& state) {
  float lat = 25.79f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(planner::gcdistance(lat, 80.29f, 28.0f, 76.0f));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_gcdistance);

void BM_srlatlon(benchmark::State& state) {
  float lat = 0.0f;
  float lon = 0.0f;
  for (auto _ : state) {
    planner::srlatlon(24.0f, -68.0f, 45.0f, 333.3f, lat, lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(lon);
  }
}
BENCHMARK(BM_srlatlon);

void BM_full_list_rows(benchmark::State& state) {
  planner::TrackPlan plan;
  plan.cruise_speed = 290.0f;
  for (int e = 1; e <= planner::kMaxEntries; ++e) {
    planner::Waypoint& w = plan.entry(e);
    w.lat = 20.0f + 0.1f * static_cast<float>(e);
    w.lon = 60.0f + 0.05f * static_cast<float>(e % 7);
    w.code.assign(e % 3 == 0 ? "T" : " ");
  }
  plan.entry(planner::kMaxEntries).code.assign("Z");
  plan.last_entry = planner::kMaxEntries;
  std::array<planner::TableRow, planner::kMaxEntries> rows;
  for (auto _ : state) {
    benchmark::DoNotOptimize(planner::turn_rows(plan, rows));
    benchmark::DoNotOptimize(planner::drop_rows(plan, rows));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_full_list_rows);

}  // namespace
