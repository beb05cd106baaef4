#include "planner/geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace planner {
namespace {

struct Distance {
  float lat1, lon1, lat2, lon2;
  float nm;
  float tol;  // the reference values are quoted to two decimals
};

TEST(Gcdistance, KnownLegs) {
  const Distance cases[] = {
      {25.0f, 80.0f, 25.0f, 80.0f, 0.0f, 0.0f},         // a point with itself: exactly 0
      {0.0f, 0.0f, 0.0f, 1.0f, 60.108f, 0.001f},        // one degree on R = 3443.93 nm, not 60
      {25.79f, 80.29f, 26.0f, 78.0f, 124.47f, 0.006f},  // legs of the MIAMI mission
      {26.0f, 78.0f, 28.0f, 76.0f, 161.01f, 0.006f},
      {28.0f, 76.0f, 25.79f, 80.29f, 265.55f, 0.006f},
  };
  for (const Distance& c : cases) {
    EXPECT_NEAR(gcdistance(c.lat1, c.lon1, c.lat2, c.lon2), c.nm, c.tol)
        << c.lat1 << "," << c.lon1 << " -> " << c.lat2 << "," << c.lon2;
  }
  EXPECT_EQ(gcdistance(25.0f, 80.0f, 25.0f, 80.0f), 0.0f);
}

TEST(Gcdistance, SameForEitherLongitudeSign) {
  EXPECT_EQ(gcdistance(25.79f, 80.29f, 28.0f, 76.0f), gcdistance(25.79f, -80.29f, 28.0f, -76.0f));
}

TEST(Gcdistance, NearlyCoincidentPointsStayFinite) {
  // Neighbouring floats: the cosine of such tiny arcs rounds to 1 or just
  // above it; unclamped, acos would return NaN for some of them.
  for (float lat = -80.0f; lat <= 80.0f; lat += 0.37f) {
    for (float lon = 0.0f; lon < 180.0f; lon += 7.3f) {
      const float d1 = gcdistance(lat, lon, lat, std::nextafter(lon, 200.0f));
      const float d2 = gcdistance(lat, lon, std::nextafter(lat, 90.0f), lon);
      ASSERT_TRUE(std::isfinite(d1) && std::isfinite(d2)) << lat << " " << lon;
      EXPECT_LT(d1, 0.01f);
      EXPECT_LT(d2, 0.01f);
    }
  }
  // Antipodes: the cosine may round just below -1.
  EXPECT_NEAR(gcdistance(10.0f, 20.0f, -10.0f, -160.0f), 3443.9324f * 3.1415927f, 0.01f);
}

TEST(Srlatlon, DistanceAndAzimuth) {
  struct Case {
    float az, dist, lat, lon;
  };
  // From 25 N, 75 W (east positive: -75). Reference positions to three
  // decimals; 0.001 degrees is about 0.1 km.
  const Case cases[] = {
      {90.0f, 185.2f, 25.0f, -73.164f},
      {0.0f, 185.2f, 26.664f, -75.0f},
  };
  for (const Case& c : cases) {
    float lat = 0.0f;
    float lon = 0.0f;
    srlatlon(25.0f, -75.0f, c.az, c.dist, lat, lon);
    EXPECT_NEAR(lat, c.lat, 0.001f) << "az " << c.az;
    EXPECT_NEAR(lon, c.lon, 0.001f) << "az " << c.az;
  }
}

TEST(Srlatlon, ZeroDistanceIsTheStart) {
  float lat = 1.0f;
  float lon = 1.0f;
  srlatlon(25.0f, -75.0f, 123.0f, 0.0f, lat, lon);
  EXPECT_EQ(lat, 25.0f);
  EXPECT_EQ(lon, -75.0f);
}

TEST(Srlatlon, NearThePolesStaysFinite) {
  // Above about 89.5 degrees a degree of longitude is under one whole km.
  for (float lat0 : {89.5f, 89.99f, 90.0f, -90.0f}) {
    for (float az : {0.0f, 90.0f, 225.0f}) {
      float lat = 0.0f;
      float lon = 0.0f;
      srlatlon(lat0, 10.0f, az, 50.0f, lat, lon);
      EXPECT_TRUE(std::isfinite(lat) && std::isfinite(lon)) << lat0 << " az " << az;
    }
  }
}

TEST(Azimuth, SlightlySmallDegreeConstant) {
  struct Case {
    float a, b, deg;
  };
  // The reference values carry four decimals.
  const Case cases[] = {{1.0f, 1.0f, 45.0005f}, {-1.0f, 0.0f, 180.0019f}, {0.0f, -1.0f, 269.9991f}};
  for (const Case& c : cases) EXPECT_NEAR(azimuth(c.a, c.b), c.deg, 0.0001f) << c.a << "," << c.b;
}

TEST(Deg360, WholeTurns) {
  struct Case {
    float in, out;
  };
  const Case cases[] = {
      {360.0f, 360.0f},  {-360.0f, 0.0f},  {725.0f, 5.0f},     {0.0f, 0.0f},
      {-0.5f, 359.5f},   {3600.5f, 0.5f},  {7200.0f, 360.0f},  {-7200.0f, 0.0f},
      {-1e-10f, 360.0f},  // the last addition rounds to a full turn
      {1e12f, 144.0f},    // 999999995904 = 2777777766 turns + 144
      {-1e12f, 216.0f},
  };
  for (const Case& c : cases) {
    float x = c.in;
    deg360(x);
    EXPECT_EQ(x, c.out) << "in " << c.in;
    EXPECT_FALSE(std::signbit(x)) << "in " << c.in;
  }
}

TEST(Deg360, NonFiniteReturnsUnchanged) {
  float inf = std::numeric_limits<float>::infinity();
  deg360(inf);
  EXPECT_EQ(inf, std::numeric_limits<float>::infinity());
  float minus_inf = -inf;
  deg360(minus_inf);
  EXPECT_EQ(minus_inf, -inf);
  float nan = std::numeric_limits<float>::quiet_NaN();
  deg360(nan);
  EXPECT_TRUE(std::isnan(nan));
}

TEST(CaseFolding, OnlyAsciiLettersOfTheFirstCharacter) {
  std::string up = "az Z0 \xe9";
  for (std::size_t i = 0; i < up.size(); ++i) uppercase(std::span<char>(up).subspan(i), 1);
  EXPECT_EQ(up, "AZ Z0 \xe9");
  std::string down = "AZ a9 \xc9";
  for (std::size_t i = 0; i < down.size(); ++i) lowercase(std::span<char>(down).subspan(i), 1);
  EXPECT_EQ(down, "az a9 \xc9");

  std::string two = "ab";
  uppercase(two, 2);  // the first character only
  EXPECT_EQ(two, "Ab");
}

}  // namespace
}  // namespace planner
