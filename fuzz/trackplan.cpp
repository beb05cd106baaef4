// The whole track planner on arbitrary track files.
//
// Input: up to four track files separated by NUL bytes, written as
// current1.ftk, current2.ftk, ...; bytes after the third NUL all go to
// current4.ftk. The planner then runs as the program would, from its entry
// to its stop or failure report.
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/harness.hpp"
#include "planner/track.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string_view> tracks = fuzz::split(fuzz::as_text(data, size), '\0', 4);
  const std::string_view none;
  auto track = [&](std::size_t k) { return k < tracks.size() ? tracks[k] : none; };
  // Absent tracks are absent files: the planner ends at the first missing one.
  switch (tracks.size()) {
    case 1:
      fuzz::run_program({{"current1.ftk", track(0)}}, planner::trackplan);
      break;
    case 2:
      fuzz::run_program({{"current1.ftk", track(0)}, {"current2.ftk", track(1)}}, planner::trackplan);
      break;
    case 3:
      fuzz::run_program(
          {{"current1.ftk", track(0)}, {"current2.ftk", track(1)}, {"current3.ftk", track(2)}},
          planner::trackplan);
      break;
    default:
      fuzz::run_program({{"current1.ftk", track(0)},
                         {"current2.ftk", track(1)},
                         {"current3.ftk", track(2)},
                         {"current4.ftk", track(3)}},
                        planner::trackplan);
      break;
  }
  return 0;
}
