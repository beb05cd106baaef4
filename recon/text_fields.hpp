// Column access and field reads shared by the decoders.
//
// Message lines are read by columns counted from 1. A group may reach past
// the end of the line buffer (a group starting in column 67, or positions
// that keep moving after the input has ended); such columns read as blanks,
// so every access is bounded whatever the position.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/records.hpp"

namespace recon::detail {

// Characters first..first+count-1 of `text` (columns from 1); columns
// outside the text are blanks.
inline std::string cols(std::string_view text, std::int64_t first, std::int64_t count) {
  std::string s(static_cast<std::size_t>(count > 0 ? count : 0), ' ');
  for (std::int64_t k = 0; k < count; ++k) {
    const std::int64_t c = first + k;
    if (c >= 1 && c <= static_cast<std::int64_t>(text.size())) {
      s[static_cast<std::size_t>(k)] = text[static_cast<std::size_t>(c - 1)];
    }
  }
  return s;
}

// The character in column `c`, blank outside the text.
inline char col(std::string_view text, std::int64_t c) {
  return (c >= 1 && c <= static_cast<std::int64_t>(text.size())) ? text[static_cast<std::size_t>(c - 1)]
                                                                  : ' ';
}

// The five-character group beginning at column `p`.
inline std::string group(std::string_view text, std::int64_t p) { return cols(text, p, 5); }

inline bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

inline bool contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

// True when columns 1-30 are all blank: such lines separate the parts of a
// message and are passed over.
inline bool blank30(std::string_view text) {
  return cols(text, 1, 30).find_first_not_of(' ') == std::string::npos;
}

// Formatted read of one integer from columns first..first+count-1. Without an
// error exit a field the record layer cannot read ends the program with the
// failure report; with one, the status is returned.
inline int read_int(std::string_view text, std::int64_t first, std::int64_t count,
                    std::string_view layout, std::int32_t& value, rec::Exits exits = rec::kNoExit) {
  return rec::read_text(cols(text, first, count), layout, {value}, exits);
}

inline int read_real(std::string_view text, std::int64_t first, std::int64_t count,
                     std::string_view layout, float& value, rec::Exits exits = rec::kNoExit) {
  return rec::read_text(cols(text, first, count), layout, {value}, exits);
}

// Powers and trigonometry in double precision, rounded back to single, so the
// digits do not depend on the platform's single-precision library.
inline float pow_d(float base, float exponent) {
  return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}
inline float cos_d(float a) { return static_cast<float>(std::cos(static_cast<double>(a))); }
inline float sin_d(float a) { return static_cast<float>(std::sin(static_cast<double>(a))); }

}  // namespace recon::detail

namespace recon::detail {

// Date number yymmdd of a RECCO or vortex bulletin from the day of month in
// its heading (columns 13-14, or 14-15 when column 13 is blank; above 50 it
// has 50 added). Bulletins of day 1 received late in the month (reference
// day above 27) belong to the following month.
inline float bulletin_date(std::string_view heading, std::int32_t year, std::int32_t month,
                           std::int32_t reference_day) {
  std::int32_t day = 0;
  read_int(heading, col(heading, 13) == ' ' ? 14 : 13, 2, "(i2)", day);
  if (day > 50) day -= 50;
  if (reference_day > 27 && day == 1) {
    month += 1;
    if (month == 13) {
      month = 1;
      year += 1;
      if (year == 100) year = 0;
    }
  }
  return static_cast<float>(std::int64_t{year} * 10000 + std::int64_t{month} * 100 + day);
}

}  // namespace recon::detail
