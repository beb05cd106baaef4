// The two tables of a mission plan: the track distance table (turn points,
// legs, running total, elapsed time) and the drop locations table.
#include <climits>
#include <cmath>

#include "planner/geometry.hpp"
#include "planner/track.hpp"
#include "records/records.hpp"

namespace planner {

namespace {

// Each turn costs a fixed time allowance (hours) on top of the cruise time;
// the closing 'Z' turn gets it twice.
constexpr float kTurnAllowance = 0.167f;

constexpr const char* kHeader =
    "(1X,72('='),/,1X,'HURRICANE SYNOPTIC SURVEILLANCE MISSION PLAN: ',A20,/,/,"
    "1X,'Prepared by the Quorvath',1X,'File: ',A,/,/,"
    "1X,'Aircraft: N',I2,'KX    Altitude: FL',I2,'0-',I2,'0    Proposed takeoff: ',A8,/,"
    "1X,72('='),/,/,/,1X,A30,/)";

constexpr const char* kTurnTop = "(1X,'===========================================================')";
constexpr const char* kTurnTitles =
    "(1X,' #      LAT      LON     RAD/AZM     LEG    TOTAL     TIME',/,"
    "'        (d m)    (d/m)    (nm/dg)     (nm)   (nm)     (h:mm)')";
constexpr const char* kTurnRule = "(1X,'-----------------------------------------------------------')";
constexpr const char* kTurnNamed = "(1X,I2,A1,4X,A16,12X,2X,F4.0,3X,F5.0,4X,I2,':',I2.2)";
constexpr const char* kTurnPosition = "(1X,I2,A1,2X,2(I4,1X,I2.2,2X),12X,2X,F4.0,3X,F5.0,4X,I2,':',I2.2)";
constexpr const char* kTurnStorm =
    "(1X,I2,A1,2X,2(I4,1X,I2.2,2X),2X,I3,'/',I3.3,5X,F4.0,3X,F5.0,4X,I2,':',I2.2)";

constexpr const char* kDropTop = "(1X,'==========================================')";
constexpr const char* kDropTitles =
    "(1X,' #      LAT      LON      RAD/AZM    TIME',/,"
    "'        (d m)    (d m)     (nm/dg)   (h:mm)')";
constexpr const char* kDropRule = "(1X,'------------------------------------------')";
constexpr const char* kDropGap = "(/)";
constexpr const char* kDropStorm = "(1X,I2,A1,2X,2(I4,1X,I2.2,2X),3X,I3,'/',I3.3,3X,I2,':',I2.2)";
constexpr const char* kDropOther = "(1X,I2,A1,2X,2(I4,1X,I2.2,2X),13X,I2,':',I2.2)";

// Float to int cut towards zero; out-of-range values and NaN saturate (they
// only ever reach narrow print fields, which then show asterisks).
int trunc_to_int(float v) {
  if (std::isnan(v) || v >= 2147483648.0f) return INT_MAX;
  if (v <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(v);
}

// Nearest whole number, halves away from zero.
int nearest_int(float v) { return trunc_to_int(std::round(v)); }

bool is_code(const Waypoint& w, char c) { return w.code[0] == c; }

// Hours to fly `total` nautical miles. An aircraft outside the aircraft table
// has no cruise speed: its times are NaN and print as "**:**".
float cruise_hours(float total, float cruise_speed) {
  if (cruise_speed == 0.0f) return std::nanf("");
  return total / cruise_speed;
}

void write_header(int unit, const TrackPlan& plan, const rec::FixedText<30>& table_name) {
  rec::write(unit, kHeader,
             {plan.title, plan.file_name, plan.aircraft, plan.lower_altitude, plan.upper_altitude, plan.takeoff,
              table_name});
}

// The printed pieces of one table row: degrees and minutes of the position,
// hours and minutes of the elapsed time, and the storm-relative radius and
// azimuth as whole numbers.
struct RowText {
  int lat_whole = 0, lat_minutes = 0, lon_whole = 0, lon_minutes = 0, hours = 0, minutes = 0;
  int radius = 0, azimuth = 0;
};

RowText row_text(const Waypoint& w, float time) {
  RowText t;
  dgmn(w.lat, t.lat_whole, t.lat_minutes);
  dgmn(w.lon, t.lon_whole, t.lon_minutes);
  dgmn(time, t.hours, t.minutes);
  t.radius = nearest_int(w.radius);
  t.azimuth = nearest_int(w.azimuth);
  return t;
}

void write_turn_table(const TrackPlan& plan) {
  write_header(kTurnsUnit, plan, "TRACK DISTANCE TABLE");
  rec::write(kTurnsUnit, kTurnTop);
  rec::write(kTurnsUnit, kTurnTitles);
  rec::write(kTurnsUnit, kTurnRule);

  std::array<TableRow, kMaxEntries> rows;
  const int count = turn_rows(plan, rows);
  for (int i = 0; i < count; ++i) {
    const TableRow& row = rows[static_cast<std::size_t>(i)];
    const Waypoint& w = plan.entry(row.entry);
    const RowText t = row_text(w, row.time);
    if (const NamedPlace* place = find_place(plan, row.entry)) {
      rec::write(kTurnsUnit, kTurnNamed, {row.number, w.flag, place->name, row.leg, row.total, t.hours, t.minutes});
    } else if (w.radius >= 0.0f) {
      rec::write(kTurnsUnit, kTurnStorm,
                 {row.number, w.flag, t.lat_whole, t.lat_minutes, t.lon_whole, t.lon_minutes, t.radius, t.azimuth,
                  row.leg, row.total, t.hours, t.minutes});
    } else {
      rec::write(kTurnsUnit, kTurnPosition,
                 {row.number, w.flag, t.lat_whole, t.lat_minutes, t.lon_whole, t.lon_minutes, row.leg, row.total,
                  t.hours, t.minutes});
    }
  }
  rec::write(kTurnsUnit, kTurnRule);
}

void write_drop_table(const TrackPlan& plan) {
  write_header(kDropsUnit, plan, "DROP LOCATIONS");
  rec::write(kDropsUnit, kDropTop);
  rec::write(kDropsUnit, kDropTitles);
  rec::write(kDropsUnit, kDropRule);
  rec::write(kDropsUnit, kDropGap);

  std::array<TableRow, kMaxEntries> rows;
  const int count = drop_rows(plan, rows);
  for (int i = 0; i < count; ++i) {
    const TableRow& row = rows[static_cast<std::size_t>(i)];
    const Waypoint& w = plan.entry(row.entry);
    const RowText t = row_text(w, row.time);
    if (w.radius >= 0.0f) {
      rec::write(kDropsUnit, kDropStorm,
                 {row.number, w.flag, t.lat_whole, t.lat_minutes, t.lon_whole, t.lon_minutes, t.radius, t.azimuth,
                  t.hours, t.minutes});
    } else {
      rec::write(kDropsUnit, kDropOther,
                 {row.number, w.flag, t.lat_whole, t.lat_minutes, t.lon_whole, t.lon_minutes, t.hours, t.minutes});
    }
  }
  rec::write(kDropsUnit, kDropRule);
}

}  // namespace

void dgmn(float x, int& whole, int& minutes) {
  const float ax = std::fabs(x);
  whole = trunc_to_int(ax);
  const float m = (ax - static_cast<float>(whole)) * 60.0f;
  minutes = trunc_to_int(m + 0.5f);
  if (minutes == 60) {
    minutes = 0;
    if (whole < INT_MAX) whole = whole + 1;
  }
  if (x < 0.0f) whole = -whole;
}

const NamedPlace* find_place(const TrackPlan& plan, int entry) {
  for (int i = plan.place_count - 1; i >= 0; --i) {
    const NamedPlace& p = plan.places[static_cast<std::size_t>(i)];
    if (p.entry == entry) return &p;
  }
  return nullptr;
}

int turn_rows(const TrackPlan& plan, std::span<TableRow> rows) {
  int count = 0;
  int current = 0;
  int previous = 0;
  float total = 0.0f;
  for (int e = 1; e <= plan.last_entry; ++e) {
    const Waypoint& w = plan.entry(e);
    if (is_code(w, 'X') || is_code(w, 'H') || is_code(w, 'D')) continue;
    previous = current;
    current = e;
    if (previous == 0) previous = current;
    const Waypoint& a = plan.entry(previous);
    const float leg = gcdistance(w.lat, w.lon, a.lat, a.lon);
    total = total + leg;
    float time = cruise_hours(total, plan.cruise_speed);
    if (count > 0) time = time + kTurnAllowance;
    if (is_code(w, 'Z')) time = time + kTurnAllowance;
    rows[static_cast<std::size_t>(count)] = TableRow{count, e, leg, total, time};
    ++count;
  }
  return count;
}

int drop_rows(const TrackPlan& plan, std::span<TableRow> rows) {
  int count = 0;
  int current = 0;
  int previous = 0;
  float total = 0.0f;
  for (int e = 1; e <= plan.last_entry; ++e) {
    const Waypoint& w = plan.entry(e);
    if (is_code(w, 'X') || is_code(w, 'H')) continue;
    previous = current;
    current = e;
    if (previous == 0) previous = current;
    const Waypoint& a = plan.entry(previous);
    const float leg = gcdistance(w.lat, w.lon, a.lat, a.lon);
    total = total + leg;
    // Every drop carries one turn allowance; the chain passes through turn
    // points too, but only blank, 'D' and 'E' entries are drops.
    const float time = cruise_hours(total, plan.cruise_speed) + kTurnAllowance;
    if (is_code(w, ' ') || is_code(w, 'D') || is_code(w, 'E')) {
      rows[static_cast<std::size_t>(count)] = TableRow{count + 1, e, leg, total, time};
      ++count;
    }
  }
  return count;
}

void write_plan(const TrackPlan& plan) {
  write_turn_table(plan);
  write_drop_table(plan);
  rec::close(kTrackUnit);
  rec::close(kTurnsUnit);
  rec::close(kDropsUnit);
}

}  // namespace planner
