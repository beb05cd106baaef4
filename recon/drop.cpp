// Dropsonde message decoder (TEMP DROP form).
//
// The decoder is positional: the identification line has fixed columns, the
// other groups are found by stepping six columns at a time (`tagtst` moves to
// the next line), and each section is recognised by its indicator group.
// Every decoded level is kept in the sounding table; at the end `dropout`
// stamps the launch time and splash position, sorts and writes the sounding.
#include <array>
#include <string>
#include <string_view>

#include "recon/recon.hpp"
#include "recon/text_fields.hpp"

namespace recon {

namespace {

using detail::cols;
using detail::group;
using detail::starts_with;

// Two-character indicators of the standard levels in message order:
// surface, 1000, 925, 850, 700, 500, 400, 300, 250, 200, 150, 100 hPa.
constexpr std::string_view header = "990092857050403025201510";
// Pressure written into each standard level's record (1070 marks the surface).
constexpr std::array<float, 12> prs = {1070.0f, 1000.0f, 925.0f, 850.0f, 700.0f, 500.0f,
                                       400.0f,  300.0f,  250.0f, 200.0f, 150.0f, 100.0f};

std::string_view indicator(int index) { return header.substr(static_cast<std::size_t>(index - 1) * 2, 2); }

// Index of the standard level whose indicator begins the group, or 0.
int standard_level(std::string_view g) {
  for (int k = 1; k <= 12; ++k) {
    if (g.substr(0, 2) == indicator(k)) return k;
  }
  return 0;
}

// Column 11 of the identification line: the last standard level (by index)
// whose group carries a wind group. Any other character sets no limit: a
// dropsonde reports the wind at every standard level it passes through.
int last_wind_level(char c) {
  switch (c) {
    case '/': return 1;
    case '0': return 2;
    case '9': return 3;
    case '8': return 4;
    case '7': return 5;
    case '5': return 6;
    case '4': return 7;
    case '3': return 8;
    case '2': return 10;
    case '1': return 12;
    default: return 12;
  }
}

// Sequence numbers of significant levels: 00, 11, 22, ..., 99, then 11 again.
int next_sequence(int s) { return s == 99 ? 11 : s + 11; }

// True when the group begins with the expected sequence number of a
// significant level. Blanks (met only after the input has ended) and
// characters that are no digits (the end-of-bulletin line, say) are not a
// sequence number: the section ends as at a wrong number, and the levels
// decoded so far are still written.
bool sequence_number(std::string_view g, int expected) {
  const std::string_view head = g.substr(0, 2);
  if (head == "  ") return false;
  std::int32_t seq = -1;
  if (rec::read_text(head, "(i2)", {seq}, rec::kErrExit) != 0) return false;
  return seq == expected;
}

// Reads three digits of pressure; 000 to 099 stand for 1000 to 1099 hPa.
float level_pressure(std::string_view g) {
  std::int32_t hp = 0;
  detail::read_int(g, 3, 3, "(i3)", hp);
  if (hp <= 99) hp += 1000;
  return static_cast<float>(hp);
}

// One call of `drop`: the decoder state and its steps.
class DropDecoder {
 public:
  DropDecoder(std::int32_t unit, std::int32_t platform, std::int32_t year, std::int32_t month,
              std::int32_t reference_day, Line& line)
      : unit_(unit), platform_(platform), year_(year), month_(month), reference_day_(reference_day),
        line_(line) {}

  void run(bool positioned) {
    dropdata().n = 0;
    if (!positioned && !find_identification()) return finish();
    identification();
    part_a();
    if (!after_part_a()) return finish();
    dispatch();
    finish();
  }

 private:
  enum class Next { wind_levels, temperature_levels, launch_time, additional_data, finish };

  // Direct read of the next line; false at the end of the input.
  bool read_line() {
    if (read_message_line(line_) != 0) return false;
    ++serial_;
    return true;
  }

  // Moves to the group `step` columns on (6: the next group).
  void advance(int step = 6) {
    position_ += step;
    tag();
  }
  void tag() {
    const std::int32_t before = position_;
    tagtst(position_, line_);
    if (position_ != before) ++serial_;  // tagtst read a line (position 1)
  }

  std::string current() const { return group(line_.view(), position_); }

  void reset_values() {
    p_ = t_ = rh_ = z_ = u_ = v_ = kMissing;
  }

  void emit(std::int32_t tag_index) {
    out(unit_, platform_, date_, time_, lat_, lon_, p_, t_, rh_, z_, u_, v_, tag_index);
  }

  void decode_wind() {
    wind(line_.view(), position_, u_, v_);
    dstouv(u_, v_, lat_, lon_, knots_);
  }

  void finish() { dropout(unit_, launch_time_, splash_lat_, splash_lon_); }

  // The part-A identification line is the second non-blank line.
  bool find_identification() {
    for (int k = 0; k < 2; ++k) {
      do {
        if (!read_line()) return false;
      } while (detail::blank30(line_.view()));
    }
    return true;
  }

  void identification() {
    const std::string_view l = line_.view();
    std::int32_t day = 0;
    detail::read_int(l, 7, 2, "(i2)", day);
    // Days above 50 say that wind speeds are in knots.
    knots_ = 0;
    if (day > 50) {
      day -= 50;
      knots_ = 1;
    }
    std::int32_t hour = 0;
    detail::read_int(l, 9, 2, "(i2)", hour);
    time_ = static_cast<std::int32_t>(std::int64_t{hour} * 100);
    last_wind_ = last_wind_level(l[10]);
    detail::read_real(l, 15, 3, "(f3.1)", lat_);
    std::int32_t quadrant = 0;
    rec::read_text(cols(l, 19, 5), "(i1,f4.1)", {quadrant, lon_});
    if (quadrant == 1 || quadrant == 3) lon_ = -lon_;
    if (quadrant == 5 || quadrant == 3) lat_ = -lat_;
    // A day before the reference day belongs to the following month.
    std::int32_t y = year_, m = month_;
    if (day < reference_day_) {
      m += 1;
      if (m == 13) {
        m = 1;
        y += 1;
        if (y == 100) y = 0;
      }
    }
    date_ = static_cast<float>(std::int64_t{y} * 10000 + std::int64_t{m} * 100 + day);
    position_ = 31;
  }

  // Standard levels, tropopause and maximum wind.
  void part_a() {
    std::int32_t index = 0;
    for (;;) {
      plev_.fill(0);
      ++index;
      // Only the 925 hPa level may be absent.
      if (index == 3 && starts_with(current(), "85")) index = 4;
      for (;;) {
        reset_values();
        const std::string g = current();
        if (index <= 12 && g.substr(0, 2) == indicator(index)) {
          standard_level_groups(index);
          break;
        }
        if (starts_with(g, "88")) {
          tropopause(g);
          continue;
        }
        if (starts_with(g, "77") || starts_with(g, "66")) maximum_wind(g);
        return;
      }
    }
  }

  void standard_level_groups(int index) {
    plev_[static_cast<std::size_t>(index - 1)] = 1;
    p_ = prs[static_cast<std::size_t>(index - 1)];
    geo(line_.view(), position_, plev_, z_, surface_pressure_);
    advance();
    float p_hum = p_;
    if (index == 1 && surface_pressure_ <= 1070.0f) p_hum = surface_pressure_;
    temdew(line_.view(), position_, p_hum, t_, rh_);
    bool surface_without_wind = false;
    if (index <= last_wind_) {
      advance();
      // A surface group may come without a wind group: then the group here is
      // already the 1000 hPa level, unless the one after it is.
      if (index == 1 && starts_with(current(), "00") &&
          !starts_with(group(line_.view(), position_ + 6), "00")) {
        surface_without_wind = true;
      } else {
        decode_wind();
      }
    }
    if (t_ != kMissing || rh_ != kMissing || z_ != kMissing || u_ != kMissing || v_ != kMissing) {
      emit(kTagMANL);
    }
    if (!surface_without_wind) advance();
  }

  void tropopause(const std::string& g) {
    if (g.substr(2, 3) == "999") {  // no tropopause
      advance();
      return;
    }
    detail::read_real(g, 3, 3, "(f3.0)", p_);
    advance();
    temdew(line_.view(), position_, p_, t_, rh_);
    advance();
    decode_wind();
    if (t_ != kMissing || rh_ != kMissing || u_ != kMissing || v_ != kMissing) emit(kTagTROP);
    advance();
  }

  // Part A ends after the maximum wind; its shear group is not read.
  void maximum_wind(const std::string& g) {
    if (g.substr(2, 3) == "999") return;
    detail::read_real(g, 3, 3, "(f3.0)", p_);
    advance();
    decode_wind();
    if (u_ != kMissing || v_ != kMissing) emit(kTagMWND);
  }

  // Passes over the part-A sections up to part B; collects the 62626 remark.
  // False at the end of the input.
  bool after_part_a() {
    for (;;) {
      if (!read_line()) return false;
      const std::string head = cols(line_.view(), 1, 5);
      if (detail::blank30(line_.view()) || head == "31313" || head == "51515" || head == "61616") {
        continue;
      }
      if (head != "62626") return true;
      if (!remark()) return false;
      if (starts_with(line_.view(), "XXBB")) return true;
    }
  }

  // The 62626 remark: copied up to "=" (columns 1-65 of each line), then
  // searched for the splash position and the deep-layer-mean wind. False
  // when the input ends before the remark does.
  bool remark() {
    rec::FixedText<200> text;
    std::size_t stored = 0;
    std::int32_t c = 1;
    for (;;) {
      if (c > 65) {
        if (!read_line()) return false;
        if (starts_with(line_.view(), "XXBB")) break;
        c = 1;
      }
      const char ch = line_[static_cast<std::size_t>(c - 1)];
      if (ch == '=') break;
      // A remark longer than the text is cut; the rest is read up to its "=".
      if (stored < text.size()) text[stored++] = ch;
      ++c;
    }
    const std::string_view r = text.view();
    for (std::size_t at = r.find("SPL "); at != std::string_view::npos; at = r.find("SPL ", at + 1)) {
      splash_position(r, static_cast<std::int64_t>(at) + 1);
    }
    for (std::size_t at = r.find("DLM WND "); at != std::string_view::npos;
         at = r.find("DLM WND ", at + 1)) {
      deep_layer_mean(r, static_cast<std::int32_t>(at) + 1);
    }
    return true;
  }

  // "SPL 2535N08827W": degrees and hundredths, hemisphere letters.
  void splash_position(std::string_view r, std::int64_t start) {
    std::int32_t lat_deg = 0, lat_hund = 0, lon_deg = 0, lon_hund = 0;
    rec::FixedText<1> ns, ew;
    rec::read_text(cols(r, start + 4, 11), "(2i2,a1,i3,i2,a1)",
                   {lat_deg, lat_hund, ns, lon_deg, lon_hund, ew});
    splash_lat_ = static_cast<float>(lat_deg) + static_cast<float>(lat_hund) / 100.0f;
    if (ns == "S") splash_lat_ = -splash_lat_;
    splash_lon_ = static_cast<float>(lon_deg) + static_cast<float>(lon_hund) / 100.0f;
    if (ew == "E") splash_lon_ = -splash_lon_;
  }

  // "DLM WND dddff ttttbb": the layer's mean wind between two pressures; a
  // top below the bottom has dropped its thousands (010 is 1010 hPa).
  void deep_layer_mean(std::string_view r, std::int32_t start) {
    reset_values();
    wind(r, start + 8, u_, v_);
    dstouv(u_, v_, lat_, lon_, knots_);
    std::int32_t b1 = 0, b2 = 0;
    rec::read_text(cols(r, start + 14, 6), "(2i3)", {b1, b2});
    if (b1 < b2) b1 += 1000;
    p_ = 1099.0f;
    z_ = (static_cast<float>(b1) + static_cast<float>(b2)) / 2.0f;
    t_ = rh_ = kMissing;
    if (u_ != kMissing || v_ != kMissing) emit(kTagDLMW);
  }

  // Part B and the sections that follow it, until a group not decoded here.
  void dispatch() {
    Next next = select();
    while (next != Next::finish) {
      switch (next) {
        case Next::wind_levels: next = wind_levels(); break;
        case Next::temperature_levels: next = temperature_levels(); break;
        case Next::launch_time: next = launch_time(); break;
        case Next::additional_data: next = additional_data(); break;
        case Next::finish: break;
      }
    }
  }

  Next select() {
    // A part-B identification line is entered once; a section found later on
    // the same line is dispatched by its group.
    if (starts_with(line_.view(), "XXBB") && part_b_line_ != serial_) {
      part_b_line_ = serial_;
      position_ = 31;
      tag();
      const std::string g = current();
      if (g == "21212") return Next::wind_levels;
      if (g == "31313") return Next::launch_time;
      return Next::temperature_levels;
    }
    const std::string g = current();
    if (g == "21212") return Next::wind_levels;
    if (g == "31313") return Next::launch_time;
    if (g == "51515") return Next::additional_data;
    return Next::finish;
  }

  // 21212: sequence number and pressure, then the wind group.
  Next wind_levels() {
    advance();
    int expected = 0;
    for (;;) {
      const std::string g = current();
      if (!sequence_number(g, expected)) return select();
      if (g.substr(2, 3) == "///") {
        advance();
        advance();
      } else {
        reset_values();
        p_ = level_pressure(g);
        advance();
        decode_wind();
        if (u_ != kMissing || v_ != kMissing) emit(kTagSIGL);
        advance();
      }
      expected = next_sequence(expected);
    }
  }

  // Significant temperature levels: sequence number and pressure, then the
  // temperature group.
  Next temperature_levels() {
    int expected = 0;
    for (;;) {
      const std::string g = current();
      if (!sequence_number(g, expected)) return Next::finish;
      if (g.substr(2, 3) == "///") {
        advance();
        position_ += 6;
      } else {
        reset_values();
        p_ = level_pressure(g);
        advance();
        temdew(line_.view(), position_, p_, t_, rh_);
        if (t_ != kMissing || rh_ != kMissing) emit(kTagSIGL);
        position_ += 6;
      }
      tag();
      const std::string after = current();
      if (after == "21212" || after == "31313") return select();
      expected = next_sequence(expected);
    }
  }

  // 31313 sr rara sasa 8GGgg: the launch time is the hhmm of the 8GGgg group.
  Next launch_time() {
    detail::read_int(line_.view(), position_ + 13, 4, "(i4)", launch_time_);
    advance(18);
    return select();
  }

  // 51515: additional heights of standard levels, each introduced by 10190;
  // 1016x groups and the group after them are passed over.
  Next additional_data() {
    advance();
    for (;;) {
      const std::string g = current();
      if (g == "10190") {
        advance();
        plev_.fill(0);
        reset_values();
        const int k = standard_level(current());
        if (k > 0) {
          plev_[static_cast<std::size_t>(k - 1)] = 1;
          p_ = prs[static_cast<std::size_t>(k - 1)];
          geo(line_.view(), position_, plev_, z_, surface_pressure_);
          if (z_ != kMissing) emit(kTagADDL);
        }
        advance();
      } else if (starts_with(g, "1016")) {
        advance(12);
      } else {
        return Next::finish;
      }
    }
  }

  const std::int32_t unit_, platform_, year_, month_, reference_day_;
  Line& line_;
  std::int64_t serial_ = 0;        // lines read by this call
  std::int64_t part_b_line_ = -1;  // serial of the line part B was started on

  float date_ = 0.0f;
  std::int32_t time_ = 0;
  float lat_ = 0.0f, lon_ = 0.0f;
  std::int32_t knots_ = 0;
  int last_wind_ = 0;
  float surface_pressure_ = 9999.0f;
  std::int32_t position_ = 31;
  std::int32_t launch_time_ = 9999;
  float splash_lat_ = kNoPosition, splash_lon_ = kNoPosition;
  float p_ = kMissing, t_ = kMissing, rh_ = kMissing, z_ = kMissing, u_ = kMissing, v_ = kMissing;
  std::array<std::int32_t, 12> plev_{};
};

}  // namespace

void drop(const std::int32_t& unit, const std::int32_t& platform, const std::int32_t& positioned,
          const std::int32_t& year, const std::int32_t& month, const std::int32_t& reference_day,
          Line& line) {
  DropDecoder decoder(unit, platform, year, month, reference_day, line);
  decoder.run(positioned == 1);
}

}  // namespace recon
