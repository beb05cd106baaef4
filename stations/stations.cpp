#include "stations/stations.hpp"

#include <algorithm>
#include <memory>

#include "records/records.hpp"

namespace stations {

namespace {

// Blank-padded to 14 characters as the report's name field is held; the
// record layer drops the trailing blanks when it opens the file.
const rec::FixedText<14> kReportName("ua_cur.dat");

bool index_less(const StationTable::IndexEntry& a, const StationTable::IndexEntry& b) {
  return a.station != b.station ? a.station < b.station : a.place < b.place;
}

// Writes the station's position in degrees, single precision, with the sign
// the table gave it.
void write_position(int unit, const StationTable& table, int place) {
  const float lat = static_cast<float>(table.rlatr[place]) / 100.0f;
  const float lon = static_cast<float>(table.rlonr[place]) / 100.0f;
  rec::write_list(unit, {lat, lon});
}

}  // namespace

bool StationTable::add(const rec::FixedText<3>& id, std::int32_t station, std::int32_t lat,
                       std::int32_t lon) {
  if (nstn >= kMaxStations) return false;
  name[nstn] = id;
  iwmo[nstn] = station;
  rlatr[nstn] = lat;
  rlonr[nstn] = lon;
  ++nstn;
  return true;
}

void StationTable::build_index() {
  for (int i = 0; i < nstn; ++i) index_[i] = {iwmo[i], i};
  nindex_ = nstn;
  std::sort(index_.begin(), index_.begin() + nindex_, index_less);
}

int StationTable::find(std::int32_t station) const {
  // Entries of one station are ordered by place: the last of them is the
  // latest row, which wins over earlier rows of the same station.
  const auto end = index_.begin() + nindex_;
  const auto it = std::upper_bound(index_.begin(), end, IndexEntry{station, kMaxStations}, index_less);
  if (it == index_.begin()) return -1;
  const auto& last = *(it - 1);
  return last.station == station ? last.place : -1;
}

MarkCounts count_marks(std::span<const char, kMarks> marks) {
  MarkCounts counts;
  for (int i = 0; i < kMarks; i += 2) {
    if (marks[i] == 'X') ++counts.n00;
    if (marks[i + 1] == 'X') ++counts.n12;
  }
  return counts;
}

int choose_list(MarkCounts counts) {
  const bool at00 = counts.n00 > kReliableAbove;
  const bool at12 = counts.n12 > kReliableAbove;
  if (at00 && at12) return kList0012Unit;
  if (at12) return kList12Unit;
  if (at00) return kList00Unit;
  return 0;
}

void read_station_table(int unit, StationTable& table) {
  while (table.nstn < kMaxStations) {
    // Read into fresh values so that a row the end of the file cuts short
    // leaves no half-filled place behind.
    rec::FixedText<3> id;
    std::int32_t station = 0;
    std::int32_t lat = 0;
    std::int32_t lon = 0;
    if (rec::read(unit, kRowLayout, {id, station, lat, lon}, rec::kEndExit) == rec::kEndOfFile) break;
    table.add(id, station, lat, lon);
  }
  table.build_index();
}

void process_report(int unit, const StationTable& table) {
  rec::FixedText<130> line;
  auto next = [&]() { return rec::read(unit, kReportLayout, {line}, rec::kEndExit) == 0; };

  // The first two records are title lines; the third is the first one
  // examined (usually the "STATION" column header).
  for (int i = 0; i < 3; ++i) {
    if (!next()) return;
  }
  for (;;) {
    // A column header starts each page; the record after it is data, even
    // when it is another header.
    if (line.view().substr(0, 7) == "STATION") {
      if (!next()) return;
    }
    std::int32_t station = 0;
    std::array<char, kMarks> marks{};
    rec::read_text(line, kDataLayout, {station, rec::Into::chars(marks)});
    const MarkCounts counts = count_marks(marks);
    // A station that made no sounding is passed over without a lookup.
    if (counts.n00 != 0 || counts.n12 != 0) {
      const int place = table.find(station);
      if (place < 0) {
        rec::write_list(kStdout, {"UNKNOWN STATION: ", station});
      } else if (const int list = choose_list(counts); list != 0) {
        write_position(list, table, place);
      }
    }
    if (!next()) return;
  }
}

void stationlists() {
  // About 350 kB with its index: kept off the stack.
  auto table = std::make_unique<StationTable>();

  rec::open(kTableUnit, "sonde.land.tbl", "OLD");
  rec::open(kList0012Unit, "stnlist0012", "NEW");
  rec::open(kList12Unit, "stnlist12", "NEW");
  rec::open(kList00Unit, "stnlist00", "NEW");
  read_station_table(kTableUnit, *table);

  rec::open(kReportUnit, kReportName, "OLD");
  process_report(kReportUnit, *table);

  // Closing here rather than leaving it to the program end lets the builder
  // run again in the same process (the benchmark does): a report channel
  // left connected would keep its end-of-file flag.
  for (const int unit : {kTableUnit, kReportUnit, kList0012Unit, kList12Unit, kList00Unit}) {
    rec::close(unit);
  }
}

}  // namespace stations
