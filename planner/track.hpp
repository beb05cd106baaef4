// Mission track planner: one track file becomes a waypoint list, and the
// waypoint list becomes the turn table and the drop table of a mission plan.
//
// Units: positions in degrees (latitude north, longitude WEST positive unless
// stated), distances in nautical miles, speeds in knots, times in hours.
#pragma once

#include <array>
#include <span>

#include "records/fixed_text.hpp"

namespace planner {

// Channels of one track's files.
inline constexpr int kTrackUnit = 14;   // current<N>.ftk, read
inline constexpr int kTurnsUnit = 7;    // turns<N>.txt
inline constexpr int kDropsUnit = 8;    // drops<N>.txt, also the failure line
inline constexpr int kPointsUnit = 9;   // points<N>
inline constexpr int kHurrlocUnit = 72; // hurrloc<N>, the storm centre
inline constexpr int kScreenUnit = 6;   // standard output: echo lines

inline constexpr int kMaxEntries = 100;  // waypoint list capacity
inline constexpr int kMaxPlaces = 10;    // named-place list capacity
// Radius of an entry that is not storm-relative.
inline constexpr float kNotStormRelative = -99.0f;

// One entry of the waypoint list.
struct Waypoint {
  float lat = 0.0f;
  float lon = 0.0f;               // west positive
  rec::FixedText<1> code;         // record code, upper case; 'D' for interpolated points
  rec::FixedText<1> flag;         // ' ', 'E' (codes E and F) or 'S' (storm-relative)
  float radius = kNotStormRelative;  // nm from the storm centre, or -99
  float azimuth = 0.0f;           // degrees clockwise from north (storm-relative only)
};

// A waypoint given by a departure-base name; the turn table prints the name.
struct NamedPlace {
  rec::FixedText<20> name;
  int entry = 0;
};

// Everything one call of trackdis learns from its track file.
struct TrackPlan {
  std::array<Waypoint, kMaxEntries> waypoints{};  // entry e is waypoints[e - 1]
  std::array<NamedPlace, kMaxPlaces> places{};
  int place_count = 0;
  int last_entry = 0;  // entry of the 'Z' waypoint: the tables run over 1..last_entry

  // Header record.
  int aircraft = 0;
  rec::FixedText<8> takeoff;
  rec::FixedText<20> title;
  rec::FixedText<12> file_name;

  // Plan parameters, from the aircraft table and any 'C' record.
  float cruise_speed = 0.0f;  // knots
  int lower_altitude = 0;     // thousands of feet
  int upper_altitude = 0;

  Waypoint& entry(int e) { return waypoints[static_cast<std::size_t>(e - 1)]; }
  const Waypoint& entry(int e) const { return waypoints[static_cast<std::size_t>(e - 1)]; }
};

// Cruise speed and default altitudes of an aircraft number; 0, 0, 0 for an
// aircraft not in the table.
struct Aircraft {
  int number;
  float cruise_speed;
  int lower_altitude;
  int upper_altitude;
};
Aircraft aircraft_parameters(int number);

// Fills entries j .. j+n-1 with n points evenly spaced (straight in degrees)
// between entry j-1 (A) and `b`, and stores `b` as entry j+n. The points get
// code 'D', flag 'S' only when both A and B are storm-relative, radius -99.
// Needs 2 <= j and j + n <= kMaxEntries, n >= 1.
void interpolate(TrackPlan& plan, int j, int n, const Waypoint& b);

// Splits x (degrees or hours) into a signed whole part and minutes 0..59,
// rounded to the nearest minute. The sign rides on the whole part only, so
// -0.25 gives 0 and 15. Values beyond the integer range (and NaN) saturate,
// so they print as asterisks in any narrow field.
void dgmn(float x, int& whole, int& minutes);

// One row of a plan table before it is formatted.
struct TableRow {
  int number = 0;  // row number (turn table from 0) or drop number (from 1)
  int entry = 0;   // waypoint entry
  float leg = 0.0f;
  float total = 0.0f;
  float time = 0.0f;  // hours since takeoff
};

// Rows of the turn table: every entry 1..last_entry whose code is not X, H or
// D, the distance chain running from turn point to turn point. Returns the
// row count; `rows` must hold kMaxEntries.
int turn_rows(const TrackPlan& plan, std::span<TableRow> rows);
// Rows of the drop table: entries with code blank, D or E; the distance chain
// runs through every entry except X and H.
int drop_rows(const TrackPlan& plan, std::span<TableRow> rows);

// Entry's place name, if it was given by name (the last pair that names it).
const NamedPlace* find_place(const TrackPlan& plan, int entry);

// Writes the plan header, the turn table and the drop table, then closes the
// track file, the turn table and the drop table.
void write_plan(const TrackPlan& plan);

// Plans one track: opens its five files, reads the track file into the
// waypoint list (writing the points file, storm-position file and echo
// lines), then writes the plan tables. On a failing open or an unknown
// place name it writes the failure line on the drop-table channel and stops
// the program; a waypoint list that would pass 100 entries stops it silently.
void trackdis(int track_number, const rec::FixedText<12>& track_file);

// The program: plans current1.ftk to current4.ftk in turn, then stops.
[[noreturn]] void trackplan();

}  // namespace planner
