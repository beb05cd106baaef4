// The station-list builder: from a table of upper-air sounding stations and a
// monthly report of the soundings each station made, lists the positions of
// the stations that launch reliably at 00 and 12 UTC, at 12 UTC only, or at
// 00 UTC only.
//
// Legend of the table's names:
//   iwmo   station number (WMO block and station number)
//   rlatr  latitude in hundredths of a degree, sign as in the table file
//   rlonr  longitude in hundredths of a degree, sign as in the table file
//   name   3-character identifier at the start of each row (read, not used)
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "records/fixed_text.hpp"

namespace stations {

// Capacity of the station table; table rows past it are not read.
inline constexpr int kMaxStations = 15000;
// Mark characters per report record: 00 and 12 UTC for each of 31 days.
inline constexpr int kMarks = 62;
// A count above this (15 or more soundings in the month) is reliable.
inline constexpr int kReliableAbove = 14;

// Channels of the program's files.
inline constexpr int kStdout = 6;
inline constexpr int kTableUnit = 11;     // "sonde.land.tbl"
inline constexpr int kReportUnit = 12;    // "ua_cur.dat"
inline constexpr int kList0012Unit = 13;  // "stnlist0012": reliable at 00 and 12 UTC
inline constexpr int kList12Unit = 14;    // "stnlist12": reliable at 12 UTC only
inline constexpr int kList00Unit = 15;    // "stnlist00": reliable at 00 UTC only

// Record layouts.
inline constexpr std::string_view kRowLayout = "(A3,7X,I5,40X,I5,1X,I6)";
inline constexpr std::string_view kReportLayout = "(A)";
inline constexpr std::string_view kDataLayout = "(2X,I5,45X,62A1)";

// The station table: parallel arrays filled from place 0 in file order, plus
// an index from station number to the last row that holds it, so that a
// month of reports is looked up in log time instead of a scan of the table.
struct StationTable {
  struct IndexEntry {
    std::int32_t station;
    std::int32_t place;
  };

  std::array<std::int32_t, kMaxStations> iwmo{};
  std::array<std::int32_t, kMaxStations> rlatr{};
  std::array<std::int32_t, kMaxStations> rlonr{};
  std::array<rec::FixedText<3>, kMaxStations> name{};
  int nstn = 0;  // rows read; places nstn.. are unfilled and hold no station

  // Appends one row. Returns false, storing nothing, when the table is full.
  bool add(const rec::FixedText<3>& id, std::int32_t station, std::int32_t lat, std::int32_t lon);
  // Rebuilds the index over the rows read so far; call after the last add().
  void build_index();
  // Place of the last row read that holds `station`, or -1 when no row does.
  // Unfilled places never match, station 0 included.
  int find(std::int32_t station) const;

 private:
  std::array<IndexEntry, kMaxStations> index_{};
  int nindex_ = 0;
};

// Marks of one report record: 'X' at odd positions (1, 3, ..., 61) are the
// 00 UTC soundings of days 1 to 31, at even positions the 12 UTC soundings.
// Any other character, blank and lower-case 'x' included, is no mark.
struct MarkCounts {
  int n00 = 0;
  int n12 = 0;
};
MarkCounts count_marks(std::span<const char, kMarks> marks);

// The channel of the list a station with these counts belongs to
// (kList0012Unit, kList12Unit or kList00Unit), or 0 when it is reliable at
// neither time.
int choose_list(MarkCounts counts);

// Reads rows of the table on channel `unit` into `table` until the end of the
// file or until the table is full, then builds its index. A row cut short by
// the end of the file is not kept. A number field that does not read as an
// integer stops the program with the record layer's failure report.
void read_station_table(int unit, StationTable& table);

// Streams the sounding report on channel `unit` to its end, writing one list
// record per reliable known station and an "UNKNOWN STATION: " line on
// standard output per unknown station with at least one mark.
void process_report(int unit, const StationTable& table);

// The whole program: opens the table and the three lists (the lists must not
// exist yet), reads the table, opens and processes the report, and closes
// every file it opened. Returns at the normal end; failures of the record
// layer end the program with its failure report.
void stationlists();

}  // namespace stations
