#include "metutil/timeconv.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace metutil {
namespace {

TEST(ClockTime, HmstsAndSthms) {
  struct Case {
    float hhmmss, seconds;
  };
  const Case cases[] = {{123456, 45296}, {235959, 86399}, {0, 0}, {10000, 3600},
                        {59, 59},        {120000, 43200}, {1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hhmmss);
    EXPECT_EQ(hmsts(c.hhmmss), c.seconds);
    EXPECT_EQ(sthms(c.seconds), c.hhmmss);
  }
}

TEST(ClockTime, Xtrtime) {
  struct Case {
    float date, time;
    std::int32_t year, month, day;
    float hours;
  };
  const Case cases[] = {
      {990825, 1345, 99, 8, 25, 13.75f}, {990825, 1300, 99, 8, 25, 13.0f},
      {990825, 0, 99, 8, 25, 0.0f},      {1231, 2359, 0, 12, 31, 23.0f + 59.0f / 60.0f},
      {960229, 30, 96, 2, 29, 0.5f},     {991001, 1430, 99, 10, 1, 14.5f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.date << ' ' << c.time);
    std::int32_t year = -1, month = -1, day = -1;
    float hours = -1.0f;
    xtrtime(c.date, c.time, year, month, day, hours);
    EXPECT_EQ(year, c.year);
    EXPECT_EQ(month, c.month);
    EXPECT_EQ(day, c.day);
    EXPECT_FLOAT_EQ(hours, c.hours);
  }
}

TEST(ClockTime, GarbageNeverOverflows) {
  // Out-of-range values saturate when split (sanitizer builds check this).
  std::int32_t year = 0, month = 0, day = 0;
  float hours = 0.0f;
  xtrtime(std::numeric_limits<float>::quiet_NaN(), 1e30f, year, month, day, hours);
  xtrtime(-3e38f, -1e20f, year, month, day, hours);
  EXPECT_EQ(year, std::numeric_limits<std::int32_t>::min());
  EXPECT_TRUE(hmsts(3e38f) > 0.0f);
  (void)sthms(-3e38f);
}

TEST(Diftime, Cases) {
  struct Case {
    std::int32_t y1, m1, d1;
    float h1;
    std::int32_t y2, m2, d2;
    float h2;
    float hours;
  };
  const Case cases[] = {
      {99, 11, 30, 12, 0, 1, 1, 0, 756},  // 12 h of Nov 30 and 31 days of December
      {99, 12, 31, 23, 0, 1, 1, 1, 2},
      {99, 8, 25, 6, 99, 8, 27, 18.5f, 60.5f},
      {99, 8, 25, 6, 99, 8, 25, 7.25f, 1.25f},
      {99, 8, 31, 18, 99, 9, 1, 6, 12},
      {99, 1, 15, 0, 99, 4, 15, 0, (17 + 28 + 31 + 14) * 24},
      // February has 28 days whatever the year: 96 and 00 were leap years.
      {96, 2, 28, 12, 96, 3, 1, 12, 24},
      {0, 2, 28, 0, 0, 3, 1, 0, 24},
      {99, 12, 31, 0, 0, 3, 1, 0, 24 * (1 + 31 + 28)},
      // Two calendar years of 365 days each.
      {97, 6, 1, 0, 99, 6, 1, 0, 2 * 8760},
      // Month numbers outside 1..12 have no days and are never looked up.
      {99, 0, 1, 0, 99, 14, 1, 0, 8760},
      {99, 0, 1, 0, 99, std::numeric_limits<std::int32_t>::max(), 1, 0, 8760},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y1 << '/' << c.m1 << '/' << c.d1 << ' ' << c.h1 << " to "
                                    << c.y2 << '/' << c.m2 << '/' << c.d2 << ' ' << c.h2);
    float difference = -1.0f;
    diftime(c.y1, c.m1, c.d1, c.h1, c.y2, c.m2, c.d2, c.h2, difference);
    EXPECT_FLOAT_EQ(difference, c.hours);
  }
}

TEST(Daycmpr, SameAndNextDay) {
  struct Case {
    float date1, date2;
    std::int32_t same, next;
  };
  // One sequence: a leap-year February seen once must not stay 29 days long.
  const Case cases[] = {
      {990825, 990825, 1, 0},
      {990825, 990826, 0, 1},
      {990825, 990827, 0, 0},
      {990831, 990901, 0, 1},
      {990830, 990901, 0, 0},
      {981231, 990101, 0, 1},
      {991231, 101, 0, 0},  // 00 is not 99 + 1
      {960228, 960229, 0, 1},
      {960229, 960301, 0, 1},
      {960228, 960301, 0, 0},
      {970228, 970301, 0, 1},
      {229, 301, 0, 1},  // 00 divisible by 4
      {990826, 990825, 0, 0},
      // Invalid month: no month end, no table read past its end.
      {991331, 991401, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.date1 << ' ' << c.date2);
    std::int32_t same = -1, next = -1;
    daycmpr(c.date1, c.date2, same, next);
    EXPECT_EQ(same, c.same);
    EXPECT_EQ(next, c.next);
  }
}

// A storm moving north-west: fixes every six hours on Aug 25-26, 1999.
struct Track {
  std::vector<float> dates = {990825, 990825, 990825, 990826};
  std::vector<float> times = {600, 1200, 1800, 0};
  std::vector<float> lats = {20, 21, 22, 24};
  std::vector<float> lons = {60, 61, 63, 64};
};

TEST(Stmrel, ShiftsObservationWithTheStorm) {
  const Track tr;
  struct Case {
    float base, obs_date, obs_time, ref_date, ref_time;
    float lat, lon;  // shifted position of an observation at (25, 65)
  };
  const Case cases[] = {
      // 1500: storm at (21.5, 62); reference fix 1800 at (22, 63).
      {990825, 990825, 1500, 990825, 1800, 25.5f, 66.0f},
      // At a fix time other than the last the storm is at that fix.
      {990825, 990825, 1200, 990825, 1800, 26.0f, 67.0f},
      {990825, 990825, 600, 990825, 600, 25.0f, 65.0f},
      // Across midnight, counted from an earlier base date.
      {990801, 990825, 2100, 990825, 600, 25.0f - 23.0f + 20.0f, 65.0f - 63.5f + 60.0f},
      // At the last fix.
      {990825, 990826, 0, 990825, 1200, 25 - 24 + 21, 65 - 64 + 61},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.obs_date << ' ' << c.obs_time);
    float lat = 25.0f;
    float lon = 65.0f;
    stmrel(c.base, c.obs_date, c.obs_time, lat, lon, 4, tr.dates, tr.times, tr.lats, tr.lons,
           c.ref_date, c.ref_time);
    EXPECT_FLOAT_EQ(lat, c.lat);
    EXPECT_FLOAT_EQ(lon, c.lon);
  }
}

TEST(Stmrel, TrackLongerThanTheTableUsesItsFirst500Fixes) {
  // Hourly fixes for 25 days; the storm moves 0.1 degree north each hour.
  std::vector<float> dates, times, lats, lons;
  for (int i = 0; i < 600; ++i) {
    dates.push_back(static_cast<float>(990801 + i / 24));
    times.push_back(static_cast<float>((i % 24) * 100));
    lats.push_back(10.0f + 0.1f * static_cast<float>(i));
    lons.push_back(50.0f);
  }
  float lat = 30.0f;
  float lon = 55.0f;
  // Observation at 990805 12:30, fix 108 + half an hour; reference = fix 0.
  stmrel(990801, 990805, 1230, lat, lon, 600, dates, times, lats, lons, 990801, 0);
  EXPECT_NEAR(lat, 30.0f - 0.1f * 108.5f, 1e-4f);  // float latitudes near 20
  EXPECT_FLOAT_EQ(lon, 55.0f);
  // n beyond the arrays is bounded by them.
  lat = 30.0f;
  stmrel(990801, 990805, 1230, lat, lon, 100000, dates, times, lats, lons, 990801, 0);
  EXPECT_NEAR(lat, 30.0f - 0.1f * 108.5f, 1e-4f);
}

}  // namespace
}  // namespace metutil
