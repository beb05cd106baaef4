// RECCO decoder.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "recon/recon.hpp"
#include "recon/tests/message_fixture.hpp"

namespace recon {
namespace {

// An observation line: 97779 GGgg4 1QLLL LLL00 AAA13 DDFFF TTDD2 /jHHH.
std::string observation(const std::string& octant_lat, const std::string& lon, const std::string& alt,
                        const std::string& wind, const std::string& temp_dew, const std::string& jhhh) {
  return "97779 15304 1" + octant_lat + " " + lon + "00 " + alt + "13 " + wind + " " + temp_dew + "2 /" +
         jhhh;
}

class RecoTest : public testing::MessageTest {
 protected:
  std::vector<std::string> decode(const std::vector<std::string>& lines, std::int32_t year = 26,
                                  std::int32_t month = 8, std::int32_t reference_day = 20) {
    feed(lines);
    EXPECT_EQ(read_message_line(line_), 0);
    recco(kOutUnit, year, month, reference_day, line_);
    return records();
  }
  Line line_;
};

TEST_F(RecoTest, PositionWindTemperatureAndTheLineThatEndsTheBulletin) {
  const auto recs = decode({"URNT11 KNHC 151630", "AF305 0113A KAREN OB 05",
                            observation("1253", "953", "305", "27530", "1510", "3105"), "",
                            observation("1253", "053", "305", "27530", "5505", "3105"),
                            observation("0253", "853", "305", "27025", "0505", "3105"),
                            "URNT11 KNHC 151700"});
  ASSERT_EQ(recs.size(), 3u);
  // Octant 1 brings back the hundreds of the longitude except in the nineties.
  EXPECT_EQ(recs[0].substr(16, 15), " 25.300  95.300");
  EXPECT_EQ(recs[1].substr(16, 15), " 25.300 105.300");
  EXPECT_EQ(recs[2].substr(16, 15), " 25.300  85.300");
  EXPECT_EQ(recs[0].substr(0, 15), " 6 260815. 1530");
  // 27530: 275 degrees at 30 knots.
  float u = 27.5f, v = 30.0f;
  rdstuv(u, v, 0.0f, 0.0f);
  EXPECT_NEAR(std::stof(recs[0].substr(60, 6)), u, 0.05f);  // one decimal printed
  EXPECT_NEAR(std::stof(recs[0].substr(67, 6)), v, 0.05f);
  // Temperature code 55 is -5 degrees, 05 is +5.
  EXPECT_EQ(recs[1].substr(39, 6), "  -5.0");
  EXPECT_EQ(recs[2].substr(39, 6), "   5.0");
  EXPECT_EQ(line_.trimmed(), "URNT11 KNHC 151700");
}

struct DateCase {
  const char* heading;
  std::int32_t year, month, reference_day;
  const char* date;  // columns 4-10
  friend void PrintTo(const DateCase& c, std::ostream* os) { *os << c.heading << " ref " << c.reference_day; }
};

class RecoDateTest : public RecoTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(RecoDateTest, DayFromTheHeading) {
  const DateCase c = GetParam();
  const auto recs = decode({c.heading, "AF305 0113A KAREN OB 05",
                            observation("1253", "953", "305", "27530", "1510", "3105")},
                           c.year, c.month, c.reference_day);
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].substr(3, 7), c.date);
}

INSTANTIATE_TEST_SUITE_P(
    Headings, RecoDateTest,
    ::testing::Values(DateCase{"URNT11 KNHC 151630", 26, 8, 20, "260815."},
                      DateCase{"URNT11 KNHC  151630", 26, 8, 20, "260815."},  // day in 14-15
                      DateCase{"URNT11 KNHC 650130", 26, 8, 20, "260815."},   // 50 added
                      DateCase{"URNT11 KNHC 010030", 99, 12, 30, "   101."},  // into year 00
                      DateCase{"URNT11 KNHC 010030", 26, 8, 27, "260801."}));  // 27: same month

struct PlatformCase {
  const char* identification;
  const char* code;
};

class RecoPlatformTest : public RecoTest, public ::testing::WithParamInterface<PlatformCase> {};

TEST_P(RecoPlatformTest, FromTheIdentificationLine) {
  const auto recs = decode({"URNT11 KNHC 151630", "", GetParam().identification,
                            observation("1253", "953", "305", "27530", "1510", "3105")});
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].substr(0, 2), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Words, RecoPlatformTest,
                         ::testing::Values(PlatformCase{"AF305 0113A KAREN OB 05", " 6"},
                                           PlatformCase{"VELM 0113A KAREN OB 05", " 3"},
                                           PlatformCase{"AF305 VELM KAREN OB 05", " 3"},
                                           PlatformCase{"NOAA2 0213A KAREN OB 02", " 0"}));

TEST_F(RecoTest, DewPointFromTheDewLineOrLost) {
  const auto recs = decode({"URNT11 KNHC 151630", "AF305 0113A KAREN OB 05",
                            observation("1253", "953", "305", "27530", "15//", "3105"), "DEW POINT -2.5",
                            observation("1253", "953", "305", "27530", "15//", "3105"),
                            observation("1253", "953", "305", "27530", "1510", "3105"), "NNNN"});
  ASSERT_EQ(recs.size(), 2u);
  float rh = 0;
  relhum(700.0f, 15.0f, -2.5f, rh);
  EXPECT_NEAR(std::stof(recs[0].substr(46, 6)), rh, 0.05f);
  relhum(700.0f, 15.0f, 0.0f, rh);  // the next observation was taken for the dew line
  EXPECT_NEAR(std::stof(recs[1].substr(46, 6)), rh, 0.05f);
  EXPECT_EQ(line_.trimmed(), "NNNN");
}

TEST_F(RecoTest, UnreadableTemperatureEndsTheBulletin) {
  const auto recs = decode({"URNT11 KNHC 151630", "AF305 0113A KAREN OB 05",
                            observation("1253", "953", "305", "27530", "1510", "3105"),
                            observation("1253", "953", "305", "27530", "////", "3105"),
                            observation("1253", "953", "305", "27530", "1510", "3105")});
  EXPECT_EQ(recs.size(), 1u);
  EXPECT_EQ(next_message_line().substr(0, 5), "97779");  // the rest is not read
}

struct PressCase {
  const char* alt;
  const char* jhhh;
  float pressure, height;
  friend void PrintTo(const PressCase& c, std::ostream* os) { *os << c.jhhh; }
};

class RpressTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(RpressTest, PressureAndHeightOfTheIndicatedSurface) {
  const PressCase c = GetParam();
  const Line line(observation("1253", "953", c.alt, "27530", "1510", c.jhhh));
  float p = 0, z = 0;
  rpress(line, p, z);
  EXPECT_NEAR(p, c.pressure, 0.05f);  // standard-atmosphere values quoted to 0.1 hPa
  EXPECT_EQ(z, c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Indicators, RpressTest,
    ::testing::Values(PressCase{"305", "0010", 1070.0f, 1010.0f},  // sea-level pressure
                      PressCase{"305", "0985", 1070.0f, 985.0f},
                      PressCase{"305", "1180", 200.0f, 11800.0f},  // 200 hPa: 1800 + 10000
                      PressCase{"305", "1880", 200.0f, 8800.0f},
                      PressCase{"150", "2496", 850.0f, 1496.0f}, PressCase{"150", "2850", 850.0f, 850.0f},
                      PressCase{"305", "3105", 700.0f, 3105.0f}, PressCase{"550", "4588", 500.0f, 5880.0f},
                      PressCase{"700", "5757", 400.0f, 7570.0f}, PressCase{"900", "6963", 300.0f, 9630.0f},
                      PressCase{"104", "7036", 250.0f, 10360.0f},  // 250 hPa: 360 + 10000
                      PressCase{"920", "8512", 293.1f, 9320.0f},   // D-value -12 dam
                      PressCase{"305", "8010", 705.6f, 2950.0f},   // D-value +10 dam
                      PressCase{"305", "9///", 696.6f, kMissing}));  // flight level only

}  // namespace
}  // namespace recon
