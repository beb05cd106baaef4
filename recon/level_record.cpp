// Level records: keeping or writing them (`out`) and finishing a dropsonde
// sounding (`dropout`).
#include <algorithm>
#include <array>
#include <string_view>

#include "recon/recon.hpp"
#include "recon/text_fields.hpp"

namespace recon {

namespace {

constexpr std::string_view kLevelLayout =
    "(I2,1X,F7.0,1X,I4,1X,2(F7.3,1X),3(F6.1,1X),F7.1,2(F6.1,1X),A4)";

// Four characters per tag index, index 0 first.
constexpr std::string_view kTags = "0000MANLSIGLADDLRECOSUPVMWNDTROPDLMW";

// Days of each month for moving a date back one day; leap years are not
// considered (index 0 is December, reached from January).
constexpr std::array<int, 13> kMonthLength = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::string_view tag_text(std::int32_t tag_index) {
  if (tag_index >= 1 && tag_index <= 8) return kTags.substr(static_cast<std::size_t>(tag_index) * 4, 4);
  return kTags.substr(0, 4);
}

// Free-form read of a number from a field of a finished record. A blank field
// (the year 00 is written as two blanks) counts as 0. Returns false when the
// field holds no number at all (a field of asterisks).
template <typename T>
bool read_field(const rec::FixedText<80>& record, int first, int count, T& value) {
  T v{};
  const int st = rec::read_list(detail::cols(record.view(), first, count), {v}, rec::kErrEndExit);
  if (st == rec::kEndOfFile) {
    value = T{};
    return true;
  }
  if (st != 0) return false;
  value = v;
  return true;
}

// The launch was on the day before the record's date: move the date
// (yymmdd in columns 4-9) back one day, across month and year ends.
void move_back_one_day(rec::FixedText<80>& record) {
  std::int32_t day = 0;
  if (!read_field(record, 8, 2, day)) return;
  day -= 1;
  if (day != 0) {
    rec::write_text(record.field(8, 2), "(i2.2)", {day});
    return;
  }
  std::int32_t month = 0;
  if (!read_field(record, 6, 2, month)) return;
  month -= 1;
  day = (month >= 0 && month <= 12) ? kMonthLength[static_cast<std::size_t>(month)] : 31;
  if (month == 0) {
    month = 12;
    std::int32_t year = 0;
    if (!read_field(record, 4, 2, year)) return;
    year -= 1;
    if (year < 0) year = 99;
    rec::write_text(record.field(4, 2), "(i2.2)", {year});
  }
  rec::write_text(record.field(6, 2), "(i2.2)", {month});
  rec::write_text(record.field(8, 2), "(i2.2)", {day});
}

// Pressure of a table record (columns 33-38). A field too wide for its
// layout holds asterisks; it sorts as 0, after every real level.
float record_pressure(const rec::FixedText<80>& record) {
  float p = 0.0f;
  if (!read_field(record, 33, 6, p)) p = 0.0f;
  return p;
}

}  // namespace

DropData& dropdata() {
  static DropData area;
  return area;
}

void reset_dropdata() { dropdata() = DropData{}; }

Output& output() {
  static Output area;
  return area;
}

void reset_output() { output() = Output{}; }

void out(const std::int32_t& unit, const std::int32_t& platform, const float& date,
         const std::int32_t& time, const float& latitude, const float& longitude,
         const float& pressure, const float& temperature, const float& humidity,
         const float& height, const float& u, const float& v, const std::int32_t& tag_index) {
  const rec::FixedText<4> tag(tag_text(tag_index));
  output().count += 1;
  const bool kept = tag_index <= 3 || tag_index == 6 || tag_index == 7 || tag_index == 8;
  if (!kept) {
    rec::write(unit, kLevelLayout,
               {platform, date, time, latitude, longitude, pressure, temperature, humidity, height,
                u, v, tag});
    return;
  }
  DropData& table = dropdata();
  if (table.n < 0) table.n = 0;
  if (table.n >= kMaxDropRecords) return;  // full: the record is dropped
  table.n += 1;
  rec::write_text(table.records[static_cast<std::size_t>(table.n - 1)], kLevelLayout,
                  {platform, date, time, latitude, longitude, pressure, temperature, humidity,
                   height, u, v, tag});
}

void dropout(const std::int32_t& unit, const std::int32_t& launch_time, const float& latitude,
             const float& longitude) {
  DropData& table = dropdata();
  const int n = std::clamp(table.n, 0, kMaxDropRecords);
  auto& records = table.records;
  std::array<float, kMaxDropRecords> pressure{};

  // Stamping pass: the launch time and the splash position arrive at the end
  // of the message, after every level has been kept.
  for (int i = 0; i < n; ++i) {
    auto& r = records[static_cast<std::size_t>(i)];
    pressure[static_cast<std::size_t>(i)] = record_pressure(r);
    if (latitude != kNoPosition) {
      rec::write_text(r.field(17, 15), "(f7.3,1x,f7.3)", {latitude, longitude});
    }
    if (launch_time <= 2399) {
      std::int32_t t = -1;
      if (rec::read_text(r.columns(12, 4), "(i4)", {t}, rec::kErrExit) != 0) t = -1;
      // A level stamped 0000 with a launch just before midnight was launched
      // on the day before the message's nominal date.
      if (t == 0 && launch_time > 2300) move_back_one_day(r);
      rec::write_text(r.field(12, 4), "(i4)", {launch_time});
    }
  }

  // Stable sort into descending pressure: a record is moved up only past
  // records of strictly lower pressure, so equal pressures keep their
  // decoding order. Markers 1099 (deep-layer mean) and 1070 (surface) lead.
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (pressure[static_cast<std::size_t>(j)] > pressure[static_cast<std::size_t>(i)]) {
        std::rotate(records.begin() + i, records.begin() + j, records.begin() + j + 1);
        std::rotate(pressure.begin() + i, pressure.begin() + j, pressure.begin() + j + 1);
      }
    }
  }

  rec::FixedText<80> shear;
  if (n > 0) shear = records[0];
  float u200 = kMissing, v200 = kMissing, u850 = kMissing, v850 = kMissing;

  for (int i = 0; i < n; ++i) {
    const auto& r = records[static_cast<std::size_t>(i)];
    const float p = pressure[static_cast<std::size_t>(i)];
    if (p == 200.0f || p == 850.0f) {
      // The whole u and v fields are read, sign column included, so that a
      // component of 100 m/s or more keeps its sign; an unreadable field
      // counts as missing.
      float u = kMissing, v = kMissing;
      if (!read_field(r, 61, 6, u)) u = kMissing;
      if (!read_field(r, 68, 6, v)) v = kMissing;
      if (p == 200.0f) {
        u200 = u;
        v200 = v;
      } else {
        u850 = u;
        v850 = v;
      }
    }
    rec::write(unit, "(a)", {r});
  }

  if (u200 != kMissing && v200 != kMissing && u850 != kMissing && v850 != kMissing) {
    const float marker = 8520.0f;
    rec::write_text(shear.field(33, 6), "(f6.1)", {marker});
    rec::write_text(shear.field(40, 21), "(f6.1,1x,f6.1,1x,f7.1)", {kMissing, kMissing, kMissing});
    const float du = u200 - u850;
    const float dv = v200 - v850;
    rec::write_text(shear.field(61, 13), "(f6.1,1x,f6.1)", {du, dv});
    rec::assign_padded(shear.field(75, 4), "WSHR");
    rec::write(unit, "(a)", {shear});
  }
}

int read_message_line(Line& line) {
  // Read into a scratch buffer so that the caller's line is left as it was
  // when the input has ended.
  Line next;
  const int st = rec::read(kMessageUnit, "(a)", {next}, rec::kEndExit);
  if (st != 0) return st;
  line = next;
  return 0;
}

}  // namespace recon
