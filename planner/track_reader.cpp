// Reading a track file into the waypoint list, with the plot files and echo
// lines written on the way, and the program's driver.
//
// A track file is a header record (aircraft number, takeoff time, title)
// followed by waypoint records: a code character in column 1 and a 20-column
// text from column 3 that holds a position ("26 78"), a storm-relative point
// ("STMR 120 270", nm and degrees from the storm centre) or a departure-base
// name. 'I' records ask for interpolated drop points on the next leg, 'C'
// records change the flight levels, and the 'Z' record closes the track.
#include <array>
#include <span>

#include "planner/city.hpp"
#include "planner/geometry.hpp"
#include "planner/track.hpp"
#include "records/records.hpp"

namespace planner {

namespace {

constexpr std::array<Aircraft, 5> kAircraft = {{
    {42, 290.0f, 18, 25},
    {43, 290.0f, 18, 25},
    {49, 442.0f, 41, 45},
    {50, 290.0f, 18, 25},
    {51, 320.0f, 18, 25},
}};

constexpr const char* kWaypointLayout = "(A1,1X,A)";
constexpr const char* kHeaderLayout = "(I2,1X,A8,1X,A20)";
constexpr const char* kPlainPoint = "(2F7.3)";
constexpr const char* kMarkedPoint = "(2F7.3,1X,A1)";

// Storm-relative radii are given in nm and converted with 111.1 km per 60 nm
// (srlatlon itself measures with 111.12).
constexpr float kKmPer60Nm = 111.1f;

// The one failure message of the planner. It goes to the drop-table channel:
// into dropsN.txt when that is open, otherwise into the channel's default
// file fort.8. Then the run ends normally.
[[noreturn]] void fail_track() {
  rec::write_list(kDropsUnit, {" OPEN OR READ OR CITY ERROR IN SUBROUTINE TRACK"});
  rec::stop();
}

template <std::size_t N>
void fold_upper(rec::FixedText<N>& text) {
  for (std::size_t i = 0; i < N; ++i) {
    uppercase(text.span().subspan(i), static_cast<int>(N - i));
  }
}

enum class Given { position, storm_relative, place };

// Plot records of one entry resolved without interpolation. A 'T' point is
// marked for the plotter; an 'H' position is the storm centre and goes to
// the storm-position file instead; the closing 'Z' is plotted as a point and
// marked; a departure base is marked when it is a 'T', 'A' or 'Z' point.
void write_points(const Waypoint& w, Given given) {
  const char c = w.code[0];
  bool plain = false;
  bool marked = false;
  switch (given) {
    case Given::position:
      plain = c != 'H' && c != 'T';
      marked = c == 'T' || c == 'Z';
      break;
    case Given::storm_relative:
      plain = c != 'T';
      marked = c == 'T';
      break;
    case Given::place:
      marked = c == 'T' || c == 'A' || c == 'Z';
      plain = !marked;
      break;
  }
  if (plain) rec::write(kPointsUnit, kPlainPoint, {w.lat, w.lon});
  if (marked) rec::write(kPointsUnit, kMarkedPoint, {w.lat, w.lon, "T"});
}

// The storm centre, east-positive longitude, from the last 'H' position.
struct StormCentre {
  bool known = false;
  bool recorded = false;  // the storm-position file has been written and closed
  float lat = 0.0f;
  float lon = 0.0f;
};

// Resolves a waypoint text into w's position: as a latitude and longitude,
// else as "STMR" radius and azimuth around the storm centre, else as a
// departure-base name. Takes the failure path for an unknown name, and for a
// storm-relative point when the track has given no storm centre yet.
Given resolve(const rec::FixedText<20>& text, Waypoint& w, StormCentre& storm) {
  float lat = 0.0f;
  float lon = 0.0f;
  if (rec::read_list(text.view(), {lat, lon}, rec::kErrExit) == 0) {
    w.lat = lat;
    w.lon = lon;
    w.radius = kNotStormRelative;
    rec::write_list(kScreenUnit, {lat, lon, w.code});
    if (w.code[0] == 'H') {
      storm.known = true;
      storm.lat = lat;
      storm.lon = -lon;
      // The storm-position file holds the first storm centre only: once
      // closed it must not be opened again, and a transfer on the closed
      // channel would create a stray default file.
      if (!storm.recorded) {
        rec::write_list(kHurrlocUnit, {storm.lat, storm.lon});
        rec::close(kHurrlocUnit);
        storm.recorded = true;
      }
    }
    return Given::position;
  }

  if (text.columns(1, 4) == "STMR") {
    float r = 0.0f;
    float a = 0.0f;
    rec::read_list(text.columns(5, 16), {r, a});
    // Without a storm centre the point would be placed around (0, 0).
    if (!storm.known) fail_track();
    const float km = r * kKmPer60Nm / 60.0f;
    float slat = 0.0f;
    float slon = 0.0f;
    srlatlon(storm.lat, storm.lon, a, km, slat, slon);
    w.lat = slat;
    w.lon = -slon;
    w.flag.assign("S");
    w.radius = km * 60.0f / kKmPer60Nm;
    w.azimuth = a;
    return Given::storm_relative;
  }

  rec::FixedText<20> name = text;
  float clat = 0.0f;
  float clon = 0.0f;
  city(0, name, clat, clon);
  if (clat == kCityNotFound) fail_track();
  w.lat = clat;
  w.lon = clon;
  w.radius = kNotStormRelative;
  return Given::place;
}

// Records the place name of an entry. The list holds 10 names; later named
// entries keep their positions and print as positions in the turn table.
void add_place(TrackPlan& plan, const rec::FixedText<20>& name, int entry) {
  if (plan.place_count >= kMaxPlaces) return;
  plan.places[static_cast<std::size_t>(plan.place_count)] = NamedPlace{name, entry};
  ++plan.place_count;
}

void read_track(TrackPlan& plan) {
  rec::read(kTrackUnit, kHeaderLayout, {plan.aircraft, plan.takeoff, plan.title});
  fold_upper(plan.title);
  const Aircraft ac = aircraft_parameters(plan.aircraft);
  plan.cruise_speed = ac.cruise_speed;
  plan.lower_altitude = ac.lower_altitude;
  plan.upper_altitude = ac.upper_altitude;

  StormCentre storm;
  int next = 1;          // entry the next waypoint record takes
  int pending = 0;       // interpolation count for the next leg, 0 when none
  int interp_entry = 0;  // entry held by the pending 'I' record

  for (;;) {
    rec::FixedText<1> code;
    rec::FixedText<20> text;
    // A track that ends before its 'Z' waypoint has no defined extent; a plan
    // cut short there would be wrong without saying so, so it is a read error.
    if (rec::read(kTrackUnit, kWaypointLayout, {code, text}, rec::kEndExit) == rec::kEndOfFile) fail_track();
    fold_upper(code);
    fold_upper(text);
    const char c = code[0];

    if (c == 'I') {
      int count = 0;
      rec::read_list(text.view(), {count});
      if (interp_entry != 0) {
        // A second 'I' before the leg's end point replaces the count and
        // shares the entry the first one took.
        pending = count;
      } else if (count > 0 && next > 1) {
        if (next > kMaxEntries) rec::stop();
        interp_entry = next;
        pending = count;
        ++next;
      }
      // A count of 0 or less (or no leg start before it) asks for nothing;
      // such an 'I' record then holds no entry, which would otherwise stay in
      // the list without a position.
      if (pending <= 0 && interp_entry != 0) {
        next = interp_entry;
        interp_entry = 0;
        pending = 0;
      }
      continue;
    }

    if (c == 'C') {
      rec::read_list(text.view(), {plan.lower_altitude, plan.upper_altitude});
      continue;
    }

    Waypoint w;
    w.code = code;
    w.flag.assign((c == 'E' || c == 'F') ? "E" : " ");
    const int provisional = pending > 0 ? interp_entry + 1 : next;
    const Given given = resolve(text, w, storm);
    if (given == Given::place) add_place(plan, text, provisional);

    int entry = 0;
    if (pending > 0) {
      const int j = interp_entry;
      // Compared before adding, so that a count near the integer limit
      // cannot wrap around into a small entry number.
      if (pending > kMaxEntries - j) rec::stop();
      entry = j + pending;
      interpolate(plan, j, pending, w);
      if (given == Given::place && plan.place_count > 0) {
        NamedPlace& last = plan.places[static_cast<std::size_t>(plan.place_count - 1)];
        if (last.entry == provisional) last.entry = entry;
      }
      const bool mark = c == 'T';
      for (int e = j; e <= entry; ++e) {
        const Waypoint& p = plan.entry(e);
        if (mark) {
          rec::write(kPointsUnit, kMarkedPoint, {p.lat, p.lon, "T"});
        } else {
          rec::write(kPointsUnit, kPlainPoint, {p.lat, p.lon});
        }
      }
      pending = 0;
      interp_entry = 0;
    } else {
      entry = next;
      write_points(w, given);
      if (entry > kMaxEntries) rec::stop();
      plan.entry(entry) = w;
    }
    next = entry + 1;

    if (c == 'Z') {
      plan.last_entry = entry;
      return;
    }
  }
}

}  // namespace

Aircraft aircraft_parameters(int number) {
  for (const Aircraft& a : kAircraft) {
    if (a.number == number) return a;
  }
  return Aircraft{number, 0.0f, 0, 0};
}

void interpolate(TrackPlan& plan, int j, int n, const Waypoint& b) {
  const Waypoint a = plan.entry(j - 1);
  const bool both_storm = a.flag[0] == 'S' && b.flag[0] == 'S';
  const float steps = static_cast<float>(n + 1);
  for (int i = 1; i <= n; ++i) {
    Waypoint& p = plan.entry(j + i - 1);
    const float fi = static_cast<float>(i);
    p.lat = a.lat + fi * (b.lat - a.lat) / steps;
    p.lon = a.lon + fi * (b.lon - a.lon) / steps;
    p.code.assign("D");
    p.flag.assign(both_storm ? "S" : " ");
    p.radius = kNotStormRelative;
    p.azimuth = 0.0f;
  }
  plan.entry(j + n) = b;
}

void trackdis(int track_number, const rec::FixedText<12>& track_file) {
  TrackPlan plan;
  plan.file_name = track_file;

  rec::FixedText<10> turns_name;
  rec::FixedText<10> drops_name;
  rec::FixedText<7> points_name;
  rec::FixedText<8> hurrloc_name;
  rec::write_text(turns_name, "(\"turns\",I1.1,\".txt\")", {track_number});
  rec::write_text(drops_name, "(\"drops\",I1.1,\".txt\")", {track_number});
  rec::write_text(points_name, "(\"points\",I1.1)", {track_number});
  rec::write_text(hurrloc_name, "(\"hurrloc\",I1.1)", {track_number});

  if (rec::open(kTrackUnit, track_file, "OLD", rec::kErrExit) != 0 ||
      rec::open(kTurnsUnit, turns_name, "UNKNOWN", rec::kErrExit) != 0 ||
      rec::open(kDropsUnit, drops_name, "UNKNOWN", rec::kErrExit) != 0 ||
      rec::open(kPointsUnit, points_name, "NEW", rec::kErrExit) != 0 ||
      rec::open(kHurrlocUnit, hurrloc_name, "NEW", rec::kErrExit) != 0) {
    fail_track();
  }

  read_track(plan);
  write_plan(plan);
}

void trackplan() {
  for (int n = 1; n <= 4; ++n) {
    rec::FixedText<12> name("current .ftk");
    // The track number goes into the 8th character, a one-character record.
    rec::write_text(std::span<char>(name.data() + 7, 1), "(i1)", {n});
    trackdis(n, name);
  }
  rec::stop();
}

}  // namespace planner
