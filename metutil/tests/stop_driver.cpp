// Runs one scenario of the utility routines that end the program, in a real
// process, for the whole-program tests under golden/. The scenario is the
// only argument. A routine that should have stopped but returned is shown by
// the line "NOT STOPPED" on standard output.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "metutil/series.hpp"
#include "metutil/timeconv.hpp"
#include "records/records.hpp"

namespace {

using metutil::gap;
using metutil::stmrel;

// A four-fix track: 990825 at 0600, 1200, 1800 and 990826 at 0000.
struct Track {
  std::vector<float> dates = {990825, 990825, 990825, 990826};
  std::vector<float> times = {600, 1200, 1800, 0};
  std::vector<float> lats = {20, 21, 22, 24};
  std::vector<float> lons = {60, 61, 63, 64};
};

void run_stmrel(const Track& tr, float base_date, float obs_date, float obs_time, float ref_date,
                float ref_time) {
  float lat = 25.0f;
  float lon = 65.0f;
  stmrel(base_date, obs_date, obs_time, lat, lon, static_cast<std::int32_t>(tr.dates.size()),
         tr.dates, tr.times, tr.lats, tr.lons, ref_date, ref_time);
  rec::write(6, "(' NOT STOPPED',2F8.2)", {lat, lon});
}

// `segments` runs of one value above zero, each followed by one value below.
void run_gap(int segments) {
  std::vector<float> x;
  for (int s = 0; s < segments; ++s) {
    x.push_back(1.0f);
    x.push_back(-1.0f);
  }
  std::array<std::int32_t, metutil::kGapListSize> starts{};
  std::array<std::int32_t, metutil::kGapListSize> ends{};
  std::int32_t gaps = 0;
  gap(x, static_cast<std::int32_t>(x.size()), starts, ends, gaps, 0.0f);
  rec::write(6, "(' GAPS',I5,' LAST STORED',2I5)", {gaps, starts.back(), ends.back()});
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view scenario = argc > 1 ? argv[1] : "";
  if (scenario == "stmrel-bad-reference") {
    run_stmrel(Track{}, 990825, 990825, 1500, 990825, 1700);
  } else if (scenario == "stmrel-before-first-fix") {
    run_stmrel(Track{}, 990825, 990825, 545, 990825, 1800);
  } else if (scenario == "stmrel-equal-fix-times") {
    Track tr;
    tr.times[2] = 1200;  // fixes 2 and 3 both at 990825 1200
    tr.dates.erase(tr.dates.begin());
    tr.times.erase(tr.times.begin());
    tr.lats.erase(tr.lats.begin());
    tr.lons.erase(tr.lons.begin());
    run_stmrel(tr, 990825, 990825, 1200, 990826, 0);
  } else if (scenario == "stmrel-beyond-500-fixes") {
    // Hourly fixes from 990801 0000 on; the observation, 990822 0630, lies
    // between fixes 511 and 512, past the 500 the routine takes into account.
    Track tr{{}, {}, {}, {}};
    for (int i = 0; i < 520; ++i) {
      tr.dates.push_back(static_cast<float>(990801 + i / 24));
      tr.times.push_back(static_cast<float>((i % 24) * 100));
      tr.lats.push_back(20.0f);
      tr.lons.push_back(60.0f);
    }
    run_stmrel(tr, 990801, 990822, 630, 990801, 0);
  } else if (scenario == "gap-too-many") {
    run_gap(102);
  } else if (scenario == "gap-on-channel-9") {
    metutil::param().unit = 9;
    run_gap(150);
  } else if (scenario == "gap-hundred") {
    run_gap(101);
  } else {
    rec::write(0, "(' unknown scenario')");
    rec::close_all();
    return 2;
  }
  rec::stop();
}
