// The whole station-list builder on an arbitrary station table and report.
//
// Input: the station table, a NUL byte, the sounding report. Without a NUL
// byte the report is missing, which the program meets as a failing open.
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/harness.hpp"
#include "records/records.hpp"
#include "stations/stations.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string_view> parts = fuzz::split(fuzz::as_text(data, size), '\0', 2);
  // As the program's entry does: build the lists, then stop.
  auto program = [] {
    stations::stationlists();
    rec::stop();
  };
  if (parts.size() == 1) {
    fuzz::run_program({{"sonde.land.tbl", parts[0]}}, program);
  } else {
    fuzz::run_program({{"sonde.land.tbl", parts[0]}, {"ua_cur.dat", parts[1]}}, program);
  }
  return 0;
}
