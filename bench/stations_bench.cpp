// Whole station-list builder run in-process on generated input: a station
// table of N rows and a monthly report of N records (N = 15000 is the full
// size). Comparing N = 1500 with N = 15000 shows whether the station lookup
// keeps the run linear in the report length.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "records/fixed_text.hpp"
#include "records/records.hpp"
#include "stations/stations.hpp"

namespace {

namespace fs = std::filesystem;

// Writes "sonde.land.tbl" and "ua_cur.dat" for `n` stations into the current
// directory through the record layer, with the layouts the program reads.
void write_inputs(int n) {
  std::mt19937 rng(20260811);
  rec::open(11, "sonde.land.tbl", "NEW");
  const rec::FixedText<3> id("GEN");
  for (int i = 0; i < n; ++i) {
    // Station numbers shuffled against file order so the lookup cannot rely
    // on a sorted table.
    const std::int32_t station = 10000 + static_cast<std::int32_t>((i * 7919L) % 89999);
    const std::int32_t lat = static_cast<std::int32_t>(rng() % 18001) - 9000;
    const std::int32_t lon = static_cast<std::int32_t>(rng() % 36001) - 18000;
    rec::write(11, stations::kRowLayout, {id, station, lat, lon});
  }
  rec::close(11);

  rec::open(12, "ua_cur.dat", "NEW");
  rec::write(12, "(A)", {"MONTHLY UPPER-AIR RECEIPT REPORT (GENERATED)"});
  rec::write(12, "(A)", {""});
  rec::write(12, "(A)", {"STATION  NAME"});
  std::array<char, stations::kMarks> marks{};
  for (int i = 0; i < n; ++i) {
    const std::int32_t station = 10000 + static_cast<std::int32_t>((((n - 1 - i) * 7919L)) % 89999);
    // Each station its own reliability at each hour, so all three lists fill.
    const unsigned p00 = rng() % 100;
    const unsigned p12 = rng() % 100;
    for (int k = 0; k < stations::kMarks; k += 2) {
      marks[k] = rng() % 100 < p00 ? 'X' : ' ';
      marks[k + 1] = rng() % 100 < p12 ? 'X' : ' ';
    }
    rec::write(12, "(2X,I5,45X,62A1)", {station, rec::Item::chars({marks.data(), marks.size()})});
  }
  rec::close(12);
}

void BM_stationlists(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const fs::path home = fs::current_path();
  const fs::path dir = fs::temp_directory_path() / ("stations_bench_" + std::to_string(n));
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::current_path(dir);
  write_inputs(n);

  for (auto _ : state) {
    state.PauseTiming();
    for (const char* list : {"stnlist0012", "stnlist12", "stnlist00"}) fs::remove(list);
    state.ResumeTiming();
    stations::stationlists();
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.counters["list_bytes"] = static_cast<double>(
      fs::file_size("stnlist0012") + fs::file_size("stnlist12") + fs::file_size("stnlist00"));

  fs::current_path(home);
  fs::remove_all(dir);
}
BENCHMARK(BM_stationlists)->Arg(1500)->Arg(15000)->Unit(benchmark::kMillisecond);

}  // namespace
