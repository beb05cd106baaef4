#include "planner/city.hpp"

#include <gtest/gtest.h>

#include <array>

namespace planner {
namespace {

TEST(City, LookupByName) {
  struct Case {
    const char* name;
    float lat, lon;
  };
  const Case cases[] = {
      {"MIAMI", 25.79f, 80.29f},
      {"FT LAUDERDALE", 26.07f, 80.15f},
      {"ANCHORAGE", 61.18f, 150.0f},
      {" MIAMI", -99.0f, -99.0f},  // all 20 characters count, a leading blank too
      {"miami", -99.0f, -99.0f},   // callers fold to upper case first
      {"FT. LAUDERDALE", -99.0f, -99.0f},
  };
  for (const Case& c : cases) {
    rec::FixedText<20> name(c.name);
    float lat = 0.0f;
    float lon = 0.0f;
    city(0, name, lat, lon);
    EXPECT_EQ(lat, c.lat) << c.name;
    EXPECT_EQ(lon, c.lon) << c.name;
    EXPECT_EQ(name, rec::FixedText<20>(c.name));
  }
}

TEST(City, ReverseLookupAndOtherModes) {
  struct Case {
    int mode;
    const char* name;
  };
  const Case cases[] = {{1, "MACDILL"}, {24, "HONOLULU"}, {25, "ANCHORAGE"}, {26, "ERROR"}, {-1, "UNCHANGED"}};
  for (const Case& c : cases) {
    rec::FixedText<20> name("UNCHANGED");
    float lat = 1.5f;
    float lon = 2.5f;
    city(c.mode, name, lat, lon);
    EXPECT_EQ(name.view(), rec::FixedText<20>(c.name).view()) << c.mode;
    EXPECT_EQ(lat, 1.5f);
    EXPECT_EQ(lon, 2.5f);
  }
}

TEST(City, EveryNameIsFoundAndDistinct) {
  // A name given twice would make the later place unreachable by name.
  std::array<rec::FixedText<20>, kCityCount> all;
  for (int mode = 1; mode <= kCityCount; ++mode) {
    rec::FixedText<20>& name = all[static_cast<std::size_t>(mode - 1)];
    float lat = 0.0f;
    float lon = 0.0f;
    city(mode, name, lat, lon);
    city(0, name, lat, lon);
    EXPECT_NE(lat, kCityNotFound) << name.str();
    for (int other = 1; other < mode; ++other) EXPECT_NE(all[static_cast<std::size_t>(other - 1)], name);
  }
}

}  // namespace
}  // namespace planner
