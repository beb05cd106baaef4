// recondecode KIND FILE YEAR MONTH REFDAY [PLATFORM]
//
// Decodes every message of one kind in a file as it arrives from the
// communications line (WMO headings, blank lines, "000" lines, several
// messages one after another) and writes the level records to standard
// output. KIND is drop, recco or vortex; YEAR has two digits; REFDAY is the
// reference day of the date rules; PLATFORM is the dropsonde platform code
// (default 0). Every line beginning "XXAA" starts a dropsonde message; every
// heading line ("UZNT13 KNHC 200250") starts a RECCO or vortex bulletin.
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

bool is_letter(char c) { return c >= 'A' && c <= 'Z'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A WMO abbreviated heading: TTAAii CCCC YYGGgg, the date-time group after
// one or two blanks.
bool is_heading(const recon::Line& line) {
  const std::string_view l = line.view();
  for (int k = 0; k < 4; ++k) {
    if (!is_letter(l[static_cast<std::size_t>(k)])) return false;
  }
  if (!is_digit(l[4]) || !is_digit(l[5]) || l[6] != ' ') return false;
  for (int k = 7; k < 11; ++k) {
    if (!is_letter(l[static_cast<std::size_t>(k)])) return false;
  }
  if (l[11] != ' ') return false;
  const std::size_t first = l[12] == ' ' ? 13 : 12;
  for (std::size_t k = first; k < first + 6; ++k) {
    if (!is_digit(l[k])) return false;
  }
  return true;
}

bool is_part_a(const recon::Line& line) { return line.view().substr(0, 4) == "XXAA"; }

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
  const std::string_view kind = argv[1];
  const auto year = parse_int(argv[3], 0, 99);
  const auto month = parse_int(argv[4], 1, 12);
  const auto reference_day = parse_int(argv[5], 1, 31);
  const auto platform = argc == 7 ? parse_int(argv[6], 0, 99) : std::optional<std::int32_t>(0);
  if ((kind != "drop" && kind != "recco" && kind != "vortex") || !year || !month ||
      !reference_day || !platform) {
    return usage();
  }

  rec::open(recon::kMessageUnit, argv[2], "OLD");

  const bool drop = kind == "drop";
  auto starts_message = drop ? is_part_a : is_heading;
  recon::Line line;
  bool pending = false;  // the line buffer holds a start line not yet decoded
  for (;;) {
    if (!pending && recon::read_message_line(line) != 0) break;
    pending = false;
    if (!starts_message(line)) continue;
    const recon::Line start = line;
    if (drop) {
      const std::int32_t positioned = 1;
      recon::drop(kStandardOutput, *platform, positioned, *year, *month, *reference_day, line);
    } else if (kind == "recco") {
      recon::recco(kStandardOutput, *year, *month, *reference_day, line);
    } else {
      recon::vortex(kStandardOutput, *year, *month, *reference_day, line);
    }
    // A decoder stops at the first line it does not take, which may start the
    // next message. A buffer still holding the start line means the input
    // ended inside the message (the next read then finds the end too).
    pending = starts_message(line) && !(line == start);
  }
  rec::stop();
}
