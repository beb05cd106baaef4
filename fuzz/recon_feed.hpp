// Shared body of the three message-decoder targets: a feed of message text
// decoded as recondecode does it.
//
// Input: a first line "YEAR MONTH REFDAY [PLATFORM]" (recondecode's numeric
// arguments), then the message file. A first line that is not such a set of
// numbers in recondecode's ranges stays part of the messages and the run takes
// 26 8 29 0; so arbitrary bytes are always a feed, and the seeds steer the
// dates too.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz/harness.hpp"
#include "records/records.hpp"
#include "recon/recon.hpp"

namespace fuzz {

struct ReconRun {
  std::int32_t year = 26;
  std::int32_t month = 8;
  std::int32_t reference_day = 29;
  std::int32_t platform = 0;
};

// Reads up to four blank-separated numbers within recondecode's ranges; no
// value when the line is anything else.
inline std::optional<ReconRun> parse_recon_run(std::string_view line) {
  constexpr std::int32_t low[] = {0, 1, 1, 0};
  constexpr std::int32_t high[] = {99, 12, 31, 99};
  std::int32_t v[4] = {0, 0, 0, 0};
  int n = 0;
  while (!line.empty()) {
    if (line.front() == ' ') {
      line.remove_prefix(1);
      continue;
    }
    if (n == 4) return std::nullopt;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), v[n]);
    if (ec != std::errc() || v[n] < low[n] || v[n] > high[n]) return std::nullopt;
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    if (!line.empty() && line.front() != ' ') return std::nullopt;
    ++n;
  }
  if (n < 3) return std::nullopt;
  return ReconRun{v[0], v[1], v[2], v[3]};
}

inline void run_recon_feed(recon::MessageKind kind, const std::uint8_t* data, std::size_t size) {
  std::string_view text = as_text(data, size);
  ReconRun run;
  const std::size_t eol = text.find('\n');
  if (eol != std::string_view::npos) {
    if (const auto parsed = parse_recon_run(text.substr(0, eol))) {
      run = *parsed;
      text.remove_prefix(eol + 1);
    }
  }
  // The level records go to a file, so the harness checks that its last
  // record is whole whatever way the run ends.
  constexpr std::int32_t kOutUnit = 20;
  fuzz::run_program({{"messages.txt", text}}, [&] {
    recon::reset_dropdata();
    recon::reset_output();
    rec::open(recon::kMessageUnit, "messages.txt", "OLD");
    rec::open(kOutUnit, "levels.txt", "NEW");
    recon::decode_messages(kind, kOutUnit, run.year, run.month, run.reference_day, run.platform);
    rec::stop();
  });
}

}  // namespace fuzz
