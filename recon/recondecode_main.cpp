// recondecode KIND FILE YEAR MONTH REFDAY [PLATFORM]
//
// Decodes every message of one kind in a file as it arrives from the
// communications line and writes the level records to standard output.
// KIND is drop, recco or vortex; YEAR has two digits; REFDAY is the
// reference day of the date rules; PLATFORM is the dropsonde platform code
// (default 0).
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "records/records.hpp"
#include "recon/recon.hpp"

namespace {

constexpr int kStandardOutput = 6;
constexpr int kStandardError = 0;

std::optional<std::int32_t> parse_int(std::string_view s, std::int32_t low, std::int32_t high) {
  std::int32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < low || v > high) return std::nullopt;
  return v;
}

std::optional<recon::MessageKind> parse_kind(std::string_view s) {
  if (s == "drop") return recon::MessageKind::drop;
  if (s == "recco") return recon::MessageKind::recco;
  if (s == "vortex") return recon::MessageKind::vortex;
  return std::nullopt;
}

int usage() {
  rec::write(kStandardError, "(a)",
             {"usage: recondecode drop|recco|vortex FILE YEAR(00-99) MONTH(1-12) REFDAY(1-31) "
              "[PLATFORM(0-99)]"});
  rec::close_all();
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || argc > 7) return usage();
  const auto kind = parse_kind(argv[1]);
  const auto year = parse_int(argv[3], 0, 99);
  const auto month = parse_int(argv[4], 1, 12);
  const auto reference_day = parse_int(argv[5], 1, 31);
  const auto platform = argc == 7 ? parse_int(argv[6], 0, 99) : std::optional<std::int32_t>(0);
  if (!kind || !year || !month || !reference_day || !platform) return usage();

  // A missing file ends the run with the failure report naming it.
  rec::open(recon::kMessageUnit, argv[2], "OLD");
  recon::decode_messages(*kind, kStandardOutput, *year, *month, *reference_day, *platform);
  rec::stop();
}
