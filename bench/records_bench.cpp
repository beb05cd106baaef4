// Cost of one record written through the record layer, next to the same
// line produced by one snprintf call and written with stdio.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "records/records.hpp"

namespace {

constexpr const char* kRowLayout =
    "(1X,I2,A1,2X,2(I4,1X,I2.2,2X),12X,2X,F4.0,3X,F5.0,4X,I2,':',I2.2)";

std::string scratch_file(const char* stem) {
  return std::string("/tmp/") + stem + "." + std::to_string(::getpid());
}

void BM_PlanRowLayout(benchmark::State& state) {
  const std::string path = scratch_file("bench-row");
  rec::open(40, path, "UNKNOWN");
  std::int32_t row = 3, lat = 25, latm = 47, lon = 80, lonm = 17, hours = 2, mins = 14;
  float leg = 265.55f, total = 551.0f;
  for (auto _ : state) {
    rec::write(40, kRowLayout, {row, " ", lat, latm, lon, lonm, leg, total, hours, mins});
    benchmark::ClobberMemory();
  }
  rec::close(40);
  ::unlink(path.c_str());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlanRowLayout);

void BM_PlanRowSnprintf(benchmark::State& state) {
  const std::string path = scratch_file("bench-row-c");
  std::FILE* f = std::fopen(path.c_str(), "w");
  int row = 3, lat = 25, latm = 47, lon = 80, lonm = 17, hours = 2, mins = 14;
  float leg = 265.55f, total = 551.0f;
  char line[128];
  for (auto _ : state) {
    const int n = std::snprintf(line, sizeof line, " %2d%1s  %4d %02d  %4d %02d                %3.0f.   %4.0f.    %2d:%02d\n",
                                row, " ", lat, latm, lon, lonm, static_cast<double>(leg),
                                static_cast<double>(total), hours, mins);
    std::fwrite(line, 1, static_cast<std::size_t>(n), f);
    benchmark::ClobberMemory();
  }
  std::fclose(f);
  ::unlink(path.c_str());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlanRowSnprintf);

void BM_TwoRealsFreeForm(benchmark::State& state) {
  const std::string path = scratch_file("bench-list");
  rec::open(41, path, "UNKNOWN");
  float lat = 25.45f, lon = -80.3f;
  for (auto _ : state) {
    rec::write_list(41, {lat, lon});
    benchmark::ClobberMemory();
  }
  rec::close(41);
  ::unlink(path.c_str());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TwoRealsFreeForm);

void BM_TwoRealsSnprintf(benchmark::State& state) {
  const std::string path = scratch_file("bench-list-c");
  std::FILE* f = std::fopen(path.c_str(), "w");
  float lat = 25.45f, lon = -80.3f;
  char line[128];
  for (auto _ : state) {
    const int n = std::snprintf(line, sizeof line, "  %.9g %.9g\n", static_cast<double>(lat),
                                static_cast<double>(lon));
    std::fwrite(line, 1, static_cast<std::size_t>(n), f);
    benchmark::ClobberMemory();
  }
  std::fclose(f);
  ::unlink(path.c_str());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TwoRealsSnprintf);

}  // namespace
