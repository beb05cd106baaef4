#include "metutil/timeconv.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "metutil/single_math.hpp"
#include "records/records.hpp"

namespace metutil {

namespace {

using detail::int_part;
using detail::nearest_int;

// moda: month lengths of diftime; February is always 28 days.
constexpr std::array<std::int32_t, 12> moda = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// imonth: month lengths of daycmpr; February is set per call.
constexpr std::array<std::int32_t, 12> imonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days of `month` in `table`; a month number outside 1..12 has none.
std::int64_t month_days(const std::array<std::int32_t, 12>& table, std::int64_t month) {
  if (month < 1 || month > 12) return 0;
  return table[static_cast<std::size_t>(month - 1)];
}

// Adds to `difference` the hours of the whole months first..last of `moda`,
// one month at a time (an empty range adds nothing). Months outside 1..12
// have no days, so only the valid part of the range is walked: a garbage
// month number can neither index past the table nor make the loop long.
float hours_of_months(float difference, std::int64_t first, std::int64_t last) {
  for (std::int64_t k = std::max<std::int64_t>(first, 1); k <= std::min<std::int64_t>(last, 12);
       ++k) {
    difference = difference + static_cast<float>(month_days(moda, k) * 24);
  }
  return difference;
}

constexpr int kStdout = 6;

}  // namespace

float hmsts(float hhmmss) {
  const std::int64_t h = int_part(hhmmss * 0.0001f);
  const float r = hhmmss - static_cast<float>(h * 10000);
  const std::int64_t m = int_part(r * 0.01f);
  return static_cast<float>(h * 3600 + m * 60) + (r - static_cast<float>(m * 100));
}

float sthms(float seconds) {
  const std::int64_t h = int_part(seconds / 3600.0f);
  const float r = seconds - static_cast<float>(h * 3600);
  const std::int64_t m = int_part(r / 60.0f);
  return static_cast<float>(h * 10000 + m * 100) + (r - static_cast<float>(m * 60));
}

void xtrtime(float date, float time, std::int32_t& year, std::int32_t& month, std::int32_t& day,
             float& hours) {
  year = int_part(date / 10000.0f);
  const float in_year = date - static_cast<float>(std::int64_t{year} * 10000);
  month = int_part(in_year / 100.0f);
  day = int_part(in_year - static_cast<float>(std::int64_t{month} * 100));
  // HHMM / 100 lies in [hh, hh + 0.59]; less 0.3 it rounds to hh.
  const std::int64_t hh = nearest_int(time / 100.0f - 0.3f);
  hours = static_cast<float>(hh) + (time - static_cast<float>(hh * 100)) / 60.0f;
}

void diftime(std::int32_t year1, std::int32_t month1, std::int32_t day1, float hours1,
             std::int32_t year2, std::int32_t month2, std::int32_t day2, float hours2,
             float& difference) {
  // Integer parts are carried in 64 bits so that garbage years cannot
  // overflow; for real dates the values are those of 32-bit arithmetic.
  difference = 0.0f;
  std::int64_t m = month1;
  std::int64_t d = day1;
  float h = hours1;

  if (year1 != year2) {
    // Rest of the first year, then 8760 hours for each year strictly
    // between; a year number going down (99 to 00) is the next year.
    std::int64_t years = (std::int64_t{year2} - year1) * 8760 - 8760;
    if (years < 0) years = 0;
    difference = (24.0f - h) + static_cast<float>((month_days(moda, m) - d) * 24 + years);
    difference = hours_of_months(difference, m + 1, 12);
    m = 1;
    d = 1;
    h = 0.0f;
  }
  if (month2 != m) {
    difference = static_cast<float>((month_days(moda, m) - d) * 24) + difference + 24.0f - h;
    difference = hours_of_months(difference, m + 1, std::int64_t{month2} - 1);
    d = 1;
    h = 0.0f;
  }
  difference = difference + static_cast<float>((day2 - d) * 24) - h + hours2;
}

void daycmpr(float date1, float date2, std::int32_t& same, std::int32_t& next) {
  same = 0;
  next = 0;
  auto split = [](float date, std::int64_t& year, std::int64_t& month, std::int64_t& day) {
    year = int_part(date / 10000.0f);
    month = int_part(date / 100.0f) - year * 100;
    day = int_part(date - static_cast<float>(year * 10000) - static_cast<float>(month * 100));
  };
  std::int64_t year1 = 0, month1 = 0, day1 = 0;
  std::int64_t year2 = 0, month2 = 0, day2 = 0;
  split(date1, year1, month1, day1);
  split(date2, year2, month2, day2);

  // A fresh copy per call: a leap year seen once must not stick.
  std::array<std::int32_t, 12> lengths = imonth;
  lengths[1] = year1 % 4 == 0 ? 29 : 28;

  if (date1 == date2) same = 1;
  if (date1 + 1.0f == date2) next = 1;
  if (day2 == 1 && month1 >= 1 && month1 <= 12 && day1 == month_days(lengths, month1)) {
    if (month2 == month1 + 1) next = 1;
    if (month2 == 1 && month1 == 12 && year2 == year1 + 1) next = 1;
  }
}

void stmrel(float base_date, float obs_date, float obs_time, float& lat, float& lon, std::int32_t n,
            std::span<const float> fix_dates, std::span<const float> fix_times,
            std::span<const float> fix_lats, std::span<const float> fix_lons, float ref_date,
            float ref_time) {
  const std::size_t count =
      n <= 0 ? 0
             : std::min({static_cast<std::size_t>(std::min(n, kMaxFixes)), fix_dates.size(),
                         fix_times.size(), fix_lats.size(), fix_lons.size()});

  // Reference fix: where the storm is at the time the map is drawn for.
  std::size_t ref = count;
  for (std::size_t i = 0; i < count; ++i) {
    if (fix_dates[i] == ref_date && fix_times[i] == ref_time) {
      ref = i;
      break;
    }
  }
  if (ref == count) {
    rec::write(kStdout, "(\"*** BAD REFERENCE TIME IN STMREL ***\")");
    rec::stop();
  }
  const float ref_lat = fix_lats[ref];
  const float ref_lon = fix_lons[ref];

  // Hours of every fix and of the observation from midnight of the base date.
  std::int32_t y0 = 0, m0 = 0, d0 = 0;
  float h0 = 0.0f;
  xtrtime(base_date, 0.0f, y0, m0, d0, h0);
  auto hour_of = [&](float date, float time) {
    std::int32_t y = 0, mo = 0, d = 0;
    float h = 0.0f;
    float hours = 0.0f;
    xtrtime(date, time, y, mo, d, h);
    diftime(y0, m0, d0, h0, y, mo, d, h, hours);
    return hours;
  };
  std::array<float, kMaxFixes> fix_hour{};  // F: hour of each fix
  for (std::size_t i = 0; i < count; ++i) fix_hour[i] = hour_of(fix_dates[i], fix_times[i]);
  const float obs_hour = hour_of(obs_date, obs_time);

  std::size_t i = 0;
  while (i + 1 < count && !(fix_hour[i] <= obs_hour && obs_hour <= fix_hour[i + 1])) ++i;
  if (i + 1 >= count) {
    const std::int32_t date_out = int_part(obs_date);
    const std::int32_t time_out = int_part(obs_time);
    rec::write(kStdout,
               "(' **** CANNOT INTERPOLATE FIXES FOR ',I6,1X,I4,' ****',/,"
               "' **** PROGRAM ABORTING ****',/,/)",
               {date_out, time_out});
    rec::stop();
  }
  const float span_hours = fix_hour[i + 1] - fix_hour[i];
  if (std::fabs(span_hours) < 0.0001f) {
    const std::int32_t pair = static_cast<std::int32_t>(i + 1);
    rec::write(kStdout, "('**** FIX TIMES ARE EQUAL IN STMREL***',I5,2F15.5)",
               {pair, fix_hour[i], fix_hour[i + 1]});
    rec::stop();
  }

  const float f = (obs_hour - fix_hour[i]) / span_hours;
  const float storm_lat = fix_lats[i] + (fix_lats[i + 1] - fix_lats[i]) * f;
  const float storm_lon = fix_lons[i] + (fix_lons[i + 1] - fix_lons[i]) * f;
  lat = lat - storm_lat + ref_lat;
  lon = lon - storm_lon + ref_lon;
}

}  // namespace metutil
