#include "metutil/interp_wind.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace metutil {
namespace {

constexpr float kM = -999.0f;  // the caller's missing value in these tables

std::vector<float> levels(bool descending) {
  std::vector<float> x;
  for (int p = 100; p <= 1000; p += 50) x.push_back(static_cast<float>(p));
  if (descending) std::reverse(x.begin(), x.end());
  return x;
}

struct PolateCase {
  std::string name;
  std::vector<float> x;
  std::vector<float> y;
  std::int32_t n;
  float xv;
  float yv;
  std::int32_t index;
};

TEST(Polate, TableOfCases) {
  const auto up = levels(false);
  const auto down = levels(true);
  std::vector<float> y_up;
  for (float p : up) y_up.push_back(p * 0.5f);  // y = x / 2 keeps interpolation exact
  std::vector<float> y_down(y_up.rbegin(), y_up.rend());

  const std::vector<PolateCase> cases = {
      // 475 lies between 450 and 500; the index names the 500 entry in both orders.
      {"rising table", up, y_up, 19, 475.0f, 237.5f, 9},
      {"falling table", down, y_down, 19, 475.0f, 237.5f, 11},
      {"exact level", up, y_up, 19, 500.0f, 250.0f, 9},
      {"exact first", up, y_up, 19, 100.0f, 50.0f, 1},
      {"exact last", up, y_up, 19, 1000.0f, 500.0f, 19},
      {"exact match with missing y", {1, 2, 3}, {10, kM, 30}, 3, 2.0f, kM, 2},
      {"bracket with missing y", {1, 2, 3}, {10, kM, 30}, 3, 2.5f, kM, 3},
      {"below range", up, y_up, 19, 50.0f, kM, -1},
      {"above range", up, y_up, 19, 1050.0f, kM, -1},
      {"single entry, no match", {5}, {7}, 1, 6.0f, kM, -1},
      {"single entry, match", {5}, {7}, 1, 5.0f, 7.0f, 1},
      {"empty table", {}, {}, 0, 1.0f, kM, -1},
      {"negative n", {1, 2}, {1, 2}, -3, 1.5f, kM, -1},
      {"all x missing", {kM, kM}, {1, 2}, 2, kM, kM, -1},
      // A missing x splits the table: 100..300 has no pair of non-missing neighbours.
      {"missing x breaks the bracket", {100, kM, 300}, {1, 2, 3}, 3, 200.0f, kM, -1},
      {"missing x skipped for exact", {100, kM, 300}, {1, 2, 3}, 3, 300.0f, 3.0f, 3},
      // n larger than the arrays: only the arrays are read.
      {"n beyond arrays", {1, 2, 3}, {10, 20, 30}, 50, 2.5f, 25.0f, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    float yv = 123.0f;
    std::int32_t index = 123;
    polate(c.n, c.x, c.y, c.xv, yv, index, kM);
    EXPECT_FLOAT_EQ(yv, c.yv);
    EXPECT_EQ(index, c.index);
  }
}

TEST(Polate, InterpolatesNonLinearTableLinearly) {
  // y[i+1] - (x[i+1] - xv) (y[i+1] - y[i]) / (x[i+1] - x[i]) between 10 and 20.
  const std::vector<float> x = {0, 10, 20};
  const std::vector<float> y = {0, 100, 400};
  float yv = 0.0f;
  std::int32_t index = 0;
  polate(3, x, y, 12.5f, yv, index, kM);
  EXPECT_FLOAT_EQ(yv, 175.0f);
  EXPECT_EQ(index, 3);
}

TEST(Polate2, TableOfCases) {
  struct Case {
    float x1, x2, y1, y2, x, expected;
  };
  const Case cases[] = {
      {1, 3, 10, 30, 2, 20},    {1, 3, 10, 30, 4, kM},  {1, 3, 10, 30, 0, kM},
      {2, 2, 5, 7, 2, 5},       {1, 3, 10, 30, 3, 30},  {1, 3, 10, 30, 1, 10},
      {3, 1, 30, 10, 2.5f, 25}, {kM, 3, 10, 30, 2, kM}, {1, kM, 10, 30, 2, kM},
      {1, 3, kM, 30, 2, kM},    {1, 3, 10, kM, 2, kM},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.x1 << ' ' << c.x2 << ' ' << c.y1 << ' ' << c.y2 << ' ' << c.x);
    EXPECT_FLOAT_EQ(polate2(c.x1, c.x2, c.y1, c.y2, c.x, kM), c.expected);
  }
}

TEST(WindComponents, CardinalDirectionsAndMissing) {
  // The stored 57.2958 deg/rad is 1e-6 off 180/pi, so a component that should
  // vanish keeps a residue of about 1e-5 of the speed.
  constexpr float kTol = 1e-3f;
  struct Case {
    float dir, speed, u, v;
  };
  const Case cases[] = {
      {90, 10, -10, 0},   // from the east, blowing west
      {0, 10, 0, -10},    // from the north; direction 0 is valid
      {360, 10, 0, -10},  // same wind
      {180, 5, 0, 5},     // from the south
      {270, 8, 8, 0},     // from the west
      {45, 2, -1.41421356f, -1.41421356f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dir);
    EXPECT_NEAR(ucmp(c.dir, c.speed), c.u, kTol);
    EXPECT_NEAR(vcmp(c.dir, c.speed), c.v, kTol);
  }
  EXPECT_EQ(ucmp(-1, 10), kMissingWind);
  EXPECT_EQ(vcmp(-1, 10), kMissingWind);
  EXPECT_EQ(ucmp(0, -999), kMissingWind);
  EXPECT_EQ(vcmp(0, -999), kMissingWind);
}

TEST(WindComponents, DirectionAndSpeedInvertComponents) {
  // The -0.001 nudge of v turns the direction by at most 0.001/speed rad
  // (0.006 degrees at 10 m/s); rounding adds far less.
  for (float dir : {5.0f, 80.0f, 135.0f, 190.0f, 260.0f, 315.0f, 359.0f}) {
    for (float speed : {10.0f, 35.0f}) {
      SCOPED_TRACE(testing::Message() << dir << " at " << speed);
      const float u = ucmp(dir, speed);
      const float v = vcmp(dir, speed);
      EXPECT_NEAR(wdcomp(u, v), dir, 0.01f);
      EXPECT_NEAR(wscomp(u, v), speed, 1e-4f * speed);
    }
  }
}

TEST(WindComponents, WdcompEdges) {
  EXPECT_EQ(wdcomp(0, -10), 0.0f);    // from the north
  const float east = wdcomp(-10, 0);  // v = 0 becomes -0.001: just short of 90
  EXPECT_LT(east, 90.0f);
  EXPECT_GT(east, 89.99f);
  EXPECT_EQ(wdcomp(0, 0), 0.0f);
  EXPECT_EQ(wdcomp(-999, 1), kMissingWind);
  EXPECT_EQ(wdcomp(1, -999), kMissingWind);
}

TEST(WindComponents, Wscomp) {
  EXPECT_EQ(wscomp(3, 4), 5.0f);
  EXPECT_EQ(wscomp(-3, -4), 5.0f);
  EXPECT_EQ(wscomp(-999, 4), kMissingWind);
  EXPECT_EQ(wscomp(3, -999), kMissingWind);
}

}  // namespace
}  // namespace metutil
