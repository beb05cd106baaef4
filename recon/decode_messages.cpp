// Decoding a whole feed of messages as it arrives from the communications
// line: WMO headings, blank lines, "000" lines and one message after another.
#include <string_view>

#include "recon/recon.hpp"

namespace recon {

namespace {

bool is_letter(char c) { return c >= 'A' && c <= 'Z'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A WMO abbreviated heading "TTAAii CCCC YYGGgg"; the date-time group may
// follow the office after one blank or two.
bool is_heading(const Line& line) {
  const std::string_view l = line.view();
  for (std::size_t k = 0; k < 4; ++k) {
    if (!is_letter(l[k])) return false;
  }
  if (!is_digit(l[4]) || !is_digit(l[5]) || l[6] != ' ') return false;
  for (std::size_t k = 7; k < 11; ++k) {
    if (!is_letter(l[k])) return false;
  }
  if (l[11] != ' ') return false;
  const std::size_t first = l[12] == ' ' ? 13 : 12;
  for (std::size_t k = first; k < first + 6; ++k) {
    if (!is_digit(l[k])) return false;
  }
  return true;
}

bool is_part_a(const Line& line) { return line.view().substr(0, 4) == "XXAA"; }

}  // namespace

void decode_messages(MessageKind kind, std::int32_t unit, std::int32_t year, std::int32_t month,
                     std::int32_t reference_day, std::int32_t platform) {
  const auto starts_message = kind == MessageKind::drop ? is_part_a : is_heading;
  Line line;
  bool pending = false;  // the line buffer holds a start line not yet decoded
  for (;;) {
    if (!pending && read_message_line(line) != 0) return;
    pending = false;
    if (!starts_message(line)) continue;
    const Line start = line;
    switch (kind) {
      case MessageKind::drop: {
        const std::int32_t positioned = 1;
        drop(unit, platform, positioned, year, month, reference_day, line);
        break;
      }
      case MessageKind::recco: recco(unit, year, month, reference_day, line); break;
      case MessageKind::vortex: vortex(unit, year, month, reference_day, line); break;
    }
    // A decoder stops at the first line it does not take, which may start
    // the next message. A buffer still holding the start line means that the
    // input ended inside the message; the next read then meets the end too.
    pending = starts_message(line) && !(line == start);
  }
}

}  // namespace recon
