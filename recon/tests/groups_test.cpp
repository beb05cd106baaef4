// Group decoders and wind conversions.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "recon/recon.hpp"
#include "recon/tests/message_fixture.hpp"

namespace recon {
namespace {

// Single-precision results of short formulas: agreement to 1e-4 (absolute,
// for values of order 1 to 100) is far tighter than any coding step and far
// looser than float rounding.
constexpr float kTol = 1e-4f;

TEST(Relhum, MixingRatioRatioCappedAtSaturation) {
  float rh = 0.0f;
  relhum(1000.0f, 25.0f, 15.0f, rh);
  EXPECT_NEAR(rh, 52.401f, 1e-2f);  // value of the formula in double precision
  relhum(850.0f, 10.0f, -10.0f, rh);
  EXPECT_NEAR(rh, 23.096f, 1e-2f);
  relhum(1000.0f, 20.0f, 20.0f, rh);
  EXPECT_NEAR(rh, 100.0f, kTol);
  relhum(1000.0f, 20.0f, 25.0f, rh);  // supersaturated: capped
  EXPECT_EQ(rh, 100.0f);
}

struct UvCase {
  float direction, speed, u, v;
  friend void PrintTo(const UvCase& c, std::ostream* os) { *os << c.direction << " deg"; }
};

class UvcompTest : public ::testing::TestWithParam<UvCase> {};

TEST_P(UvcompTest, ComponentsOfTheWindBlowingFromDirection) {
  const UvCase c = GetParam();
  float d = c.direction, s = c.speed;
  uvcomp(d, s);
  EXPECT_NEAR(d, c.u, kTol);
  EXPECT_NEAR(s, c.v, kTol);
  float u = 0, v = 0;
  const float d2 = c.direction, s2 = c.speed;
  uvcomp2(d2, s2, u, v);
  EXPECT_EQ(u, d);
  EXPECT_EQ(v, s);
}

INSTANTIATE_TEST_SUITE_P(Directions, UvcompTest,
                         ::testing::Values(UvCase{360.0f, 10.0f, 0.0f, -10.0f},  // from the north
                                           UvCase{0.0f, 10.0f, 0.0f, -10.0f},
                                           UvCase{270.0f, 10.0f, 10.0f, 0.0f},  // from the west
                                           UvCase{90.0f, 4.0f, -4.0f, 0.0f},
                                           UvCase{180.0f, 4.0f, 0.0f, 4.0f},
                                           UvCase{225.0f, 2.0f, 1.4142135f, 1.4142135f}));

TEST(Dstouv, DecodesTheCodedWind) {
  const float lat = 25.0f, lon = 80.0f;
  // 27530: 275 degrees, 30 knots.
  float d = 27.0f, s = 530.0f;
  dstouv(d, s, lat, lon, 1);
  float u = 275.0f, v = 30.0f * 0.514444f;
  uvcomp(u, v);
  EXPECT_EQ(d, u);
  EXPECT_EQ(s, v);
  // The same group in m/s.
  d = 27.0f, s = 530.0f;
  dstouv(d, s, lat, lon, 0);
  u = 275.0f, v = 30.0f;
  uvcomp(u, v);
  EXPECT_EQ(d, u);
  EXPECT_EQ(s, v);
  // A missing wind stays missing.
  d = kMissing, s = kMissing;
  dstouv(d, s, lat, lon, 1);
  EXPECT_EQ(d, kMissing);
  EXPECT_EQ(s, kMissing);
}

TEST(Rdstuv, TensOfDegreesAndKnots) {
  float d = 27.5f, s = 30.0f;
  rdstuv(d, s, 0.0f, 0.0f);
  float u = 275.0f, v = 30.0f * 0.514444f;
  uvcomp(u, v);
  EXPECT_EQ(d, u);
  EXPECT_EQ(s, v);
}

// ---- Decoders that read fields through the record layer ----------------

struct TemdewCase {
  const char* group;
  float pressure;
  float temperature;
  float dew_point;  // kMissing: humidity expected missing
  friend void PrintTo(const TemdewCase& c, std::ostream* os) { *os << '"' << c.group << '"'; }
};

class TemdewTest : public ::testing::TestWithParam<TemdewCase> {};

TEST_P(TemdewTest, TemperatureAndHumidity) {
  const TemdewCase c = GetParam();
  const Line line(std::string("99010 ") + c.group);
  float t = 0, rh = 0;
  temdew(line.view(), 7, c.pressure, t, rh);
  EXPECT_NEAR(t, c.temperature, kTol);
  if (c.dew_point == kMissing) {
    EXPECT_EQ(rh, kMissing);
  } else {
    float expected = 0;
    relhum(c.pressure, c.temperature, c.dew_point, expected);
    EXPECT_NEAR(rh, expected, 1e-3f);  // dew points differ by float rounding of the depression
  }
}

INSTANTIATE_TEST_SUITE_P(
    Groups, TemdewTest,
    ::testing::Values(TemdewCase{"274//", 1000.0f, 27.4f, kMissing},  // even tenths: above zero
                      TemdewCase{"275//", 500.0f, -27.5f, kMissing},  // odd tenths: below zero
                      TemdewCase{"00056", 1000.0f, 0.0f, -6.0f},      // 56: six whole degrees
                      TemdewCase{"27450", 1000.0f, 27.4f, 22.4f},     // 50: 5.0 in tenths
                      TemdewCase{"27451", 1000.0f, 27.4f, 26.4f},     // 51: one degree
                      TemdewCase{"27455", 1000.0f, 27.4f, 22.4f},     // 55: five degrees
                      TemdewCase{"13012", 700.0f, 13.0f, 11.8f},      // 12: 1.2 in tenths
                      TemdewCase{"/////", 1000.0f, kMissing, kMissing},
                      TemdewCase{"///56", 1000.0f, kMissing, kMissing},  // no temperature, no humidity
                      TemdewCase{"     ", 1000.0f, kMissing, kMissing}));

struct GeoCase {
  int level;  // 1 surface, 2 1000 hPa, ... 12 100 hPa
  const char* group;
  float surface_pressure;
  float height;
  friend void PrintTo(const GeoCase& c, std::ostream* os) {
    *os << c.group << " surface " << c.surface_pressure;
  }
};

class GeoTest : public ::testing::TestWithParam<GeoCase> {};

TEST_P(GeoTest, HeightRuleOfTheFlaggedLevel) {
  const GeoCase c = GetParam();
  std::array<std::int32_t, 12> flags{};
  flags[static_cast<std::size_t>(c.level - 1)] = 1;
  const Line line(std::string("XXAA 70007 ") + c.group);
  float height = -12.0f, sfc = c.surface_pressure;
  geo(line.view(), 12, flags, height, sfc);
  EXPECT_EQ(height, c.height);
  EXPECT_EQ(sfc, c.level == 1 && c.height != -12.0f ? c.height : c.surface_pressure);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, GeoTest,
    ::testing::Values(GeoCase{1, "99010", 9999.0f, 1010.0f},  // surface pressure
                      GeoCase{1, "99985", 9999.0f, 985.0f},
                      GeoCase{1, "99///", 9999.0f, -12.0f},  // unchanged
                      GeoCase{2, "00520", 1010.0f, -20.0f},  // below sea level
                      GeoCase{2, "00120", 1010.0f, 120.0f},
                      GeoCase{3, "92540", 1010.0f, 540.0f},
                      GeoCase{3, "92540", 920.0f, -40.0f},
                      GeoCase{4, "85476", 1010.0f, 1476.0f}, GeoCase{4, "85476", 940.0f, 1476.0f},
                      GeoCase{4, "85540", 1010.0f, 1540.0f}, GeoCase{4, "85540", 950.0f, 540.0f},
                      GeoCase{5, "70105", 1010.0f, 3105.0f}, GeoCase{5, "70105", 955.0f, 2105.0f},
                      GeoCase{5, "70950", 1010.0f, 2950.0f},
                      GeoCase{6, "50588", 1010.0f, 5880.0f}, GeoCase{7, "40757", 1010.0f, 7570.0f},
                      GeoCase{8, "30963", 1010.0f, 9630.0f}, GeoCase{9, "25036", 1010.0f, 10360.0f},
                      GeoCase{10, "20239", 1010.0f, 12390.0f},
                      GeoCase{12, "10650", 1010.0f, 16500.0f}));

TEST(Wind, DirectionTensAndCodedSpeed) {
  float d = 0, s = 0;
  wind(Line("27530").view(), 1, d, s);
  EXPECT_EQ(d, 27.0f);
  EXPECT_EQ(s, 530.0f);
  wind(Line("27530 /////").view(), 7, d, s);
  EXPECT_EQ(d, kMissing);
  EXPECT_EQ(s, kMissing);
  // Past the end of the line: nothing there.
  d = s = 0;
  wind(Line("27530").view(), 67, d, s);
  EXPECT_EQ(d, kMissing);
  EXPECT_EQ(s, kMissing);
}

using TagtstTest = testing::MessageTest;

TEST_F(TagtstTest, MovesToTheNextLineOnlyWhenNoGroupIsLeft) {
  feed({"AAAAA BBBBB CCCCC DDDDD EEEEE FFFFF GGGGG HHHHH IIIII JJJJJ KKKKK LLLLL",
        "22222", "33333 44444"});
  Line line;
  ASSERT_EQ(read_message_line(line), 0);
  std::int32_t p = 61;
  tagtst(p, line);  // the eleventh group: stays
  EXPECT_EQ(p, 61);
  EXPECT_EQ(line.view().substr(0, 5), "AAAAA");
  p = 67;  // a group in column 67 is never read
  tagtst(p, line);
  EXPECT_EQ(p, 1);
  EXPECT_EQ(line.trimmed(), "22222");
  p = 7;  // blank columns: next line
  tagtst(p, line);
  EXPECT_EQ(p, 1);
  EXPECT_EQ(line.trimmed(), "33333 44444");
  p = 13;  // end of input: nothing changes
  tagtst(p, line);
  EXPECT_EQ(p, 13);
  EXPECT_EQ(line.trimmed(), "33333 44444");
}

}  // namespace
}  // namespace recon
