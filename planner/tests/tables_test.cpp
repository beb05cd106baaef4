#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>

#include "planner/track.hpp"

namespace planner {
namespace {

TEST(Dgmn, SplitsDegreesAndHours) {
  struct Case {
    float x;
    int whole, minutes;
  };
  const Case cases[] = {
      {25.9999f, 26, 0},   // 59.994 minutes round up to the next whole
      {-12.5f, -12, 30},
      {-0.25f, 0, 15},     // the sign rides on the whole part only
      {13.06f, 13, 4},     // BARBADOS prints 13 04, not 13 03
      {59.49f, 59, 29},
      {2.167f, 2, 10},
      {4.334f, 4, 20},
      {0.0f, 0, 0},
  };
  for (const Case& c : cases) {
    int whole = -1;
    int minutes = -1;
    dgmn(c.x, whole, minutes);
    EXPECT_EQ(whole, c.whole) << c.x;
    EXPECT_EQ(minutes, c.minutes) << c.x;
  }
}

TEST(Dgmn, UnprintableValuesSaturate) {
  // No cruise speed gives NaN hours; absurd inputs give huge degrees. Both
  // must land beyond every print field (asterisks), never in undefined casts.
  for (float x : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e20f}) {
    int whole = 0;
    int minutes = 0;
    dgmn(x, whole, minutes);
    EXPECT_EQ(whole, INT_MAX) << x;
    EXPECT_GE(minutes, 100) << x;
  }
  int whole = 0;
  int minutes = 0;
  dgmn(-1e20f, whole, minutes);
  EXPECT_EQ(whole, -INT_MAX);
}

Waypoint at(float lat, float lon, char code, char flag = ' ') {
  Waypoint w;
  w.lat = lat;
  w.lon = lon;
  w.code = std::string_view(&code, 1);
  w.flag = std::string_view(&flag, 1);
  return w;
}

TEST(Interpolate, EvenSpacingAndFlags) {
  TrackPlan plan;
  plan.entry(1) = at(20.0f, 60.0f, ' ');
  interpolate(plan, 2, 3, at(24.0f, 64.0f, 'T'));
  const float lats[] = {21.0f, 22.0f, 23.0f};
  for (int i = 0; i < 3; ++i) {
    const Waypoint& p = plan.entry(2 + i);
    EXPECT_EQ(p.lat, lats[i]);
    EXPECT_EQ(p.lon, lats[i] + 40.0f);
    EXPECT_EQ(p.code[0], 'D');
    EXPECT_EQ(p.flag[0], ' ');
    EXPECT_EQ(p.radius, kNotStormRelative);
  }
  EXPECT_EQ(plan.entry(5).code[0], 'T');
  EXPECT_EQ(plan.entry(5).lat, 24.0f);

  // Points between two storm-relative points are storm-relative too, but a
  // single storm-relative end is not enough.
  plan.entry(1) = at(20.0f, 60.0f, ' ', 'S');
  interpolate(plan, 2, 1, at(24.0f, 64.0f, ' ', 'S'));
  EXPECT_EQ(plan.entry(2).flag[0], 'S');
  interpolate(plan, 2, 1, at(24.0f, 64.0f, ' ', 'E'));
  EXPECT_EQ(plan.entry(2).flag[0], ' ');
}

// The mission MIAMI - (26, 78) - [one interpolated drop] - (28, 76) - MIAMI
// flown by aircraft 43 at 290 knots.
TrackPlan miami_mission() {
  TrackPlan plan;
  plan.cruise_speed = 290.0f;
  plan.entry(1) = at(25.79f, 80.29f, 'T');
  plan.entry(2) = at(26.0f, 78.0f, ' ');
  interpolate(plan, 3, 1, at(28.0f, 76.0f, ' '));
  plan.entry(5) = at(25.79f, 80.29f, 'Z');
  plan.places[0] = {"MIAMI", 1};
  plan.places[1] = {"MIAMI", 5};
  plan.place_count = 2;
  plan.last_entry = 5;
  return plan;
}

struct Expected {
  int number, entry;
  float leg, total, time;
  int hours, minutes;
};

void expect_rows(std::span<const TableRow> rows, std::span<const Expected> expected) {
  ASSERT_EQ(rows.size(), expected.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Expected& e = expected[i];
    EXPECT_EQ(rows[i].number, e.number) << "row " << i;
    EXPECT_EQ(rows[i].entry, e.entry) << "row " << i;
    // Legs and totals are quoted to two decimals, times to four.
    EXPECT_NEAR(rows[i].leg, e.leg, 0.006f) << "row " << i;
    EXPECT_NEAR(rows[i].total, e.total, 0.012f) << "row " << i;
    EXPECT_NEAR(rows[i].time, e.time, 0.00006f) << "row " << i;
    int h = 0;
    int m = 0;
    dgmn(rows[i].time, h, m);
    EXPECT_EQ(h, e.hours) << "row " << i;
    EXPECT_EQ(m, e.minutes) << "row " << i;
  }
}

TEST(PlanRows, MiamiMission) {
  const TrackPlan plan = miami_mission();
  std::array<TableRow, kMaxEntries> rows;

  const int turns = turn_rows(plan, rows);
  // Turn row 2 flies straight from entry 2 to entry 4, past the drop point.
  const Expected turn_expected[] = {
      {0, 1, 0.0f, 0.0f, 0.0f, 0, 0},
      {1, 2, 124.47f, 124.47f, 0.5962f, 0, 36},
      {2, 4, 161.01f, 285.48f, 1.1514f, 1, 9},
      {3, 5, 265.55f, 551.03f, 2.2341f, 2, 14},  // the 'Z' row carries two allowances
  };
  expect_rows(std::span(rows).first(static_cast<std::size_t>(turns)), turn_expected);

  const int drops = drop_rows(plan, rows);
  const Expected drop_expected[] = {
      {1, 2, 124.47f, 124.47f, 0.5962f, 0, 36},
      {2, 3, 0.0f, 0.0f, 0.8743f, 0, 52},
      {3, 4, 0.0f, 285.476f, 1.1514f, 1, 9},
  };
  ASSERT_EQ(drops, 3);
  for (int i = 0; i < drops; ++i) {
    const auto u = static_cast<std::size_t>(i);
    EXPECT_EQ(rows[u].number, drop_expected[u].number);
    EXPECT_EQ(rows[u].entry, drop_expected[u].entry);
    EXPECT_NEAR(rows[u].time, drop_expected[u].time, 0.00006f);
    int h = 0;
    int m = 0;
    dgmn(rows[u].time, h, m);
    EXPECT_EQ(h, drop_expected[u].hours);
    EXPECT_EQ(m, drop_expected[u].minutes);
  }
  // The drop chain reaches entry 4 through the drop point: a longer total
  // than the straight turn leg (285.476 against 285.472).
  EXPECT_NEAR(rows[2].total, 285.476f, 0.002f);
  const int t = turn_rows(plan, rows);
  ASSERT_EQ(t, 4);
  EXPECT_NEAR(rows[2].total, 285.472f, 0.002f);

  EXPECT_EQ(find_place(plan, 5)->name, rec::FixedText<20>("MIAMI"));
  EXPECT_EQ(find_place(plan, 3), nullptr);
}

TEST(PlanRows, FirstRowsAndSkippedCodes) {
  std::array<TableRow, kMaxEntries> rows;
  TrackPlan plan;
  plan.cruise_speed = 290.0f;
  // 'X' and 'H' are plotted only; the first turn row is the blank-coded base.
  plan.entry(1) = at(30.0f, 70.0f, 'X');
  plan.entry(2) = at(25.0f, 70.0f, 'H');
  plan.entry(3) = at(25.79f, 80.29f, ' ');
  plan.entry(4) = at(26.0f, 78.0f, 'E', 'E');
  plan.entry(5) = at(26.5f, 77.0f, 'Z');
  plan.last_entry = 5;

  ASSERT_EQ(turn_rows(plan, rows), 3);
  EXPECT_EQ(rows[0].entry, 3);
  EXPECT_EQ(rows[0].time, 0.0f);
  EXPECT_EQ(rows[0].leg, 0.0f);

  // A base given with a blank code is the first drop, at one allowance; the
  // 'E' point before the 'Z' is a drop, the 'Z' never is.
  ASSERT_EQ(drop_rows(plan, rows), 2);
  EXPECT_EQ(rows[0].entry, 3);
  EXPECT_EQ(rows[0].time, 0.167f);
  EXPECT_EQ(rows[1].entry, 4);

  // A list whose only turn point is the 'Z': row 0 with the 'Z' allowance.
  TrackPlan z_only;
  z_only.cruise_speed = 290.0f;
  z_only.entry(1) = at(26.0f, 78.0f, 'Z');
  z_only.last_entry = 1;
  ASSERT_EQ(turn_rows(z_only, rows), 1);
  EXPECT_EQ(rows[0].time, 0.167f);
  int h = 0;
  int m = 0;
  dgmn(rows[0].time, h, m);
  EXPECT_EQ(m, 10);

  // No cruise speed (aircraft outside the table): times have no value.
  z_only.cruise_speed = 0.0f;
  ASSERT_EQ(turn_rows(z_only, rows), 1);
  EXPECT_TRUE(std::isnan(rows[0].time));
}

TEST(Aircraft, Table) {
  EXPECT_EQ(aircraft_parameters(49).cruise_speed, 442.0f);
  EXPECT_EQ(aircraft_parameters(49).lower_altitude, 41);
  EXPECT_EQ(aircraft_parameters(49).upper_altitude, 45);
  EXPECT_EQ(aircraft_parameters(51).cruise_speed, 320.0f);
  EXPECT_EQ(aircraft_parameters(44).cruise_speed, 0.0f);
  EXPECT_EQ(aircraft_parameters(44).upper_altitude, 0);
}

}  // namespace
}  // namespace planner
