// Level records: out and dropout.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "recon/recon.hpp"
#include "recon/tests/message_fixture.hpp"

namespace recon {
namespace {

using LevelRecordTest = testing::MessageTest;

// A level with the fields that matter here; the rest are typical values.
struct Level {
  float p;
  float u = kMissing, v = kMissing;
  std::int32_t tag = kTagSIGL;
  std::int32_t time = 1200;
  float date = 260315.0f;
};

void keep(const Level& l) {
  out(20, 2, l.date, l.time, 25.0f, 80.0f, l.p, 20.0f, 80.0f, kMissing, l.u, l.v, l.tag);
}

std::string table_record(int k) { return std::string(dropdata().records[static_cast<std::size_t>(k)].view()); }

TEST_F(LevelRecordTest, RecordLayoutAndWhereEachTagGoes) {
  feed({});
  const int unit = kOutUnit;
  for (std::int32_t tag : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1}) {
    out(unit, 7, 260831.0f, 1148, 25.35f, 88.27f, 850.0f, 22.4f, 67.3f, 1475.0f, -5.2f, 3.1f, tag);
  }
  EXPECT_EQ(output().count, 11);
  ASSERT_EQ(dropdata().n, 8);
  // The height field runs straight into the u field; the table keeps the 78
  // characters and two blanks.
  EXPECT_EQ(table_record(1),
            " 7 260831. 1148  25.350  88.270  850.0   22.4   67.3  1475.0  -5.2    3.1 MANL  ");
  const std::vector<std::string> kept_tags = {"0000", "MANL", "SIGL", "ADDL", "MWND", "TROP", "DLMW", "0000"};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(table_record(k).substr(74), kept_tags[static_cast<std::size_t>(k)] + "  ");
  const auto written = records();
  ASSERT_EQ(written.size(), 3u);
  EXPECT_EQ(written[0],
            " 7 260831. 1148  25.350  88.270  850.0   22.4   67.3  1475.0  -5.2    3.1 RECO");
  EXPECT_EQ(written[1].substr(74), "SUPV");
  EXPECT_EQ(written[2].substr(74), "0000");
}

TEST_F(LevelRecordTest, EmptyTableWritesNothing) {
  feed({});
  dropout(kOutUnit, 1200, 25.0f, 80.0f);
  EXPECT_TRUE(records().empty());
}

TEST_F(LevelRecordTest, StableDescendingSortAndWindShear) {
  feed({});
  keep({850.0f});                              // significant temperature level
  keep({1070.0f, 2.0f, 1.0f, kTagMANL});       // surface
  keep({850.0f, 5.0f, 3.0f});                  // significant wind level, same pressure
  keep({200.0f, -120.0f, 10.5f, kTagMANL});    // a three-digit component keeps its sign
  keep({1099.0f, 4.0f, 4.0f, kTagDLMW});       // deep-layer mean
  keep({1000.0f, 1.0f, 1.0f, kTagMANL});
  dropout(kOutUnit, 1205, 25.35f, 88.27f);
  const auto lines = records();
  ASSERT_EQ(lines.size(), 7u);
  const std::vector<std::string> order = {"1099.0", "1070.0", "1000.0", " 850.0", " 850.0", " 200.0", "8520.0"};
  for (std::size_t k = 0; k < order.size(); ++k) EXPECT_EQ(lines[k].substr(32, 6), order[k]) << k;
  // The two 850 hPa levels in decoding order: temperature first, wind last.
  EXPECT_EQ(lines[3].substr(60, 13), " -99.0  -99.0");
  EXPECT_EQ(lines[4].substr(60, 13), "   5.0    3.0");
  // Shear record: 200 hPa minus 850 hPa (the later 850 hPa record), with the
  // platform, date, time and position of the first record.
  EXPECT_EQ(lines[6],
            " 2 260315. 1205  25.350  88.270 8520.0  -99.0  -99.0   -99.0-125.0    7.5 WSHR");
  // The table keeps the finished records.
  EXPECT_EQ(dropdata().n, 6);
  EXPECT_EQ(table_record(0).substr(32, 6), "1099.0");
}

TEST_F(LevelRecordTest, NoShearWhenA200Or850WindIsMissing) {
  feed({});
  keep({850.0f, 5.0f, 3.0f});
  keep({850.0f});  // the later record at 850 hPa decides, even without wind
  keep({200.0f, 20.0f, 10.0f});
  dropout(kOutUnit, 9999, kNoPosition, 0.0f);
  auto lines = records();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2].substr(32, 6), " 200.0");
  // No launch time and no position: the records stay as decoded.
  EXPECT_EQ(lines[0].substr(0, 31), " 2 260315. 1200  25.000  80.000");
}

TEST_F(LevelRecordTest, FullTableDropsFurtherRecords) {
  feed({});
  for (int k = 0; k < kMaxDropRecords + 5; ++k) keep({static_cast<float>(1000 - k)});
  EXPECT_EQ(dropdata().n, kMaxDropRecords);
  EXPECT_EQ(output().count, kMaxDropRecords + 5);
  dropout(kOutUnit, 9999, kNoPosition, 0.0f);
  const auto lines = records();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kMaxDropRecords));
  EXPECT_EQ(lines.back().substr(32, 6), " 801.0");
}

// The launch time replaces every record's time; a record stamped 0000 with a
// launch after 2300 moves back one day.
struct StampCase {
  float date;
  std::int32_t time, launch;
  const char* columns_4_15;  // date and time fields afterwards
  friend void PrintTo(const StampCase& c, std::ostream* os) {
    *os << c.date << " " << c.time << " launch " << c.launch;
  }
};

class StampTest : public testing::MessageTest, public ::testing::WithParamInterface<StampCase> {};

TEST_P(StampTest, LaunchTimeAndDateRollback) {
  const StampCase c = GetParam();
  feed({});
  keep({850.0f, kMissing, kMissing, kTagSIGL, c.time, c.date});
  dropout(kOutUnit, c.launch, kNoPosition, 0.0f);
  EXPECT_EQ(table_record(0).substr(3, 12), c.columns_4_15);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, StampTest,
    ::testing::Values(StampCase{260301.0f, 0, 2330, "260228. 2330"},     // into February
                      StampCase{260315.0f, 0, 2330, "260314. 2330"},
                      StampCase{260501.0f, 0, 2359, "260430. 2359"},     // 30-day month
                      StampCase{260101.0f, 0, 2330, "251231. 2330"},     // into last year
                      StampCase{101.0f, 0, 2330, "991231. 2330"},        // year 00 becomes 99
                      StampCase{301.0f, 0, 2330, "  0228. 2330"},        // year 00 stays blank
                      StampCase{260301.0f, 1200, 2330, "260301. 2330"},  // not stamped 0000
                      StampCase{260301.0f, 0, 2300, "260301. 2300"},     // launch not after 2300
                      StampCase{260301.0f, 0, 9999, "260301.    0"}));   // no launch time

}  // namespace
}  // namespace recon
