// Cost of decoding: one temperature group, and a whole dropsonde message
// (parts A and B, remark, 31313 and 51515; 17 levels kept, stamped, sorted
// and written) read from a file and written to a scratch file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "records/records.hpp"
#include "recon/recon.hpp"

namespace {

void BM_temdew(benchmark::State& state) {
  const recon::Line line("99010 27458 00510");
  float t = 0.0f, rh = 0.0f;
  for (auto _ : state) {
    recon::temdew(line.view(), 7, 1010.0f, t, rh);
    benchmark::DoNotOptimize(t);
    benchmark::DoNotOptimize(rh);
  }
}
BENCHMARK(BM_temdew);

constexpr std::string_view kMessage[] = {
    "UZNT13 KNHC 010041",
    "XXAA  51007 99253 70850 13004 99010 27458 00510 00062 26860 02010",
    "92740 25259 05515 85475 22456 05515 70105 13061 17014 88999 77999",
    "31313 09608 82330",
    "61616 NOAA2 0913A KAREN OB 10",
    "62626 SPL 2535N08827W 2330 DLM WND 15515 010701 WL150 07511 083 =",
    "XXBB  51008 99253 70850 13004 00010 27458 11850 22456 22700 13061",
    "33650 09458",
    "21212 00010 00510 11985 05515 22850 05515 33700 17014 44650 17516",
    "31313 09608 82330",
    "51515 10164 00064 10190 00062 10190 85475",
    "61616 NOAA2 0913A KAREN OB 10",
    "62626 SPL 2535N08827W 2330 =",
};

void BM_drop_message(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "recon_bench";
  std::filesystem::create_directories(dir);
  const std::string messages = (dir / "message.txt").string();
  const std::string records = (dir / "records.txt").string();
  rec::open(30, messages, "UNKNOWN");
  for (std::string_view l : kMessage) rec::write(30, "(a)", {l});
  rec::close(30);
  for (auto _ : state) {
    rec::open(recon::kMessageUnit, messages, "OLD");
    rec::open(31, records, "UNKNOWN");
    recon::decode_messages(recon::MessageKind::drop, 31, 26, 8, 25, 2);
    rec::close(recon::kMessageUnit);
    rec::close(31);
  }
  benchmark::DoNotOptimize(recon::dropdata().n);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_drop_message);

}  // namespace
