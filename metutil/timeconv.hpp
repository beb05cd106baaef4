// Date and clock-time arithmetic for reconnaissance data, and the shift of
// an observation into the frame of a moving storm.
//
// Dates are reals YYMMDD with a two-digit year; clock times are reals HHMM
// (xtrtime, stmrel) or HHMMSS (hmsts, sthms). Split parts are 32-bit
// integers, decimal hours are reals. Values far outside the integer range
// saturate when split; month numbers outside 1..12 are a caller error that
// is read as a month of no days, never outside the month tables.
#pragma once

#include <cstdint>
#include <span>

namespace metutil {

// Most fixes stmrel takes into account (the size of its table of fix hours).
inline constexpr std::int32_t kMaxFixes = 500;

// Seconds since midnight of the clock time `hhmmss`.
float hmsts(float hhmmss);

// Clock time HHMMSS of `seconds` since midnight.
float sthms(float seconds);

// Splits the date `date` (YYMMDD) into year, month, day and the clock time
// `time` (HHMM, minutes 0..59) into decimal hours.
void xtrtime(float date, float time, std::int32_t& year, std::int32_t& month, std::int32_t& day,
             float& hours);

// Hours from the first time to the second, which must not be earlier.
// February always has 28 days here; any change of year (99 to 00 included)
// counts as the next year, and further years as 365 days each.
void diftime(std::int32_t year1, std::int32_t month1, std::int32_t day1, float hours1,
             std::int32_t year2, std::int32_t month2, std::int32_t day2, float hours2,
             float& difference);

// same = 1 when the two dates are equal, next = 1 when date2 is the day
// after date1 (across a month end, and across a year end when the year
// number goes up by one: 991231 to 000101 is not "next"); 0 otherwise.
// February has 29 days when the first date's year is divisible by 4.
void daycmpr(float date1, float date2, std::int32_t& same, std::int32_t& next);

// Moves the observation at (`lat`, `lon`), taken at `obs_date`/`obs_time`,
// with the storm: subtracts the storm position at the observation time
// (linear between the fixes that bracket it) and adds the storm position of
// the reference fix (`ref_date`/`ref_time`). The fixes are n parallel
// entries, in time order; `base_date` is a day not later than any fix or the
// observation. Longitudes keep the caller's sign convention.
//
// Only the first min(n, 500, array sizes) fixes are used. Stops the program
// (plain stop) after a message on standard output when no fix has the
// reference time, when no pair of fixes brackets the observation, or when
// the bracketing fixes have the same time.
void stmrel(float base_date, float obs_date, float obs_time, float& lat, float& lon, std::int32_t n,
            std::span<const float> fix_dates, std::span<const float> fix_times,
            std::span<const float> fix_lats, std::span<const float> fix_lons, float ref_date,
            float ref_time);

}  // namespace metutil
