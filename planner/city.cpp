#include "planner/city.hpp"

#include <array>

namespace planner {

namespace {

// Place names, upper case, single blanks between words, no punctuation.
constexpr std::array<rec::FixedText<20>, kCityCount> names = {
    "MACDILL",     "OPA LOCKA",    "TAMIAMI",    "MIAMI",       "FT LAUDERDALE",
    "SAN JUAN",    "ST CROIX",     "BARBADOS",   "GRAND CAYMAN", "BERMUDA",
    "BOSTON",      "PROVIDENCE",   "ANDREWS",    "CHARLESTON",  "SAVANNAH",
    "JACKSONVILLE", "NEW ORLEANS", "CORPUS CHRISTI", "KEESLER", "HOMESTEAD",
    "ROBINS",      "ELLINGTON",    "CURACAO",    "HONOLULU",    "ANCHORAGE",
};

// Positions of the places above: latitude (deg N), longitude (deg W).
constexpr std::array<std::array<float, 2>, kCityCount> xpos = {{
    {27.85f, 82.52f}, {25.91f, 80.28f}, {25.65f, 80.43f}, {25.79f, 80.29f},  {26.07f, 80.15f},
    {18.44f, 66.00f}, {17.70f, 64.80f}, {13.06f, 59.49f}, {19.29f, 81.36f},  {32.36f, 64.68f},
    {42.37f, 71.01f}, {41.73f, 71.43f}, {38.81f, 76.87f}, {32.90f, 80.04f},  {32.13f, 81.20f},
    {30.23f, 81.68f}, {29.99f, 90.26f}, {27.77f, 97.50f}, {30.41f, 88.92f},  {25.49f, 80.39f},
    {32.64f, 83.59f}, {29.61f, 95.16f}, {12.18f, 68.97f}, {21.30f, 157.90f}, {61.18f, 150.00f},
}};

}  // namespace

void city(int mode, rec::FixedText<20>& name, float& lat, float& lon) {
  if (mode == 0) {
    for (int i = 0; i < kCityCount; ++i) {
      if (name == names[i]) {
        lat = xpos[i][0];
        lon = xpos[i][1];
        return;
      }
    }
    lat = kCityNotFound;
    lon = kCityNotFound;
  } else if (mode >= 1 && mode <= kCityCount) {
    name = names[mode - 1];
  } else if (mode > kCityCount) {
    name.assign("ERROR");
  }
}

}  // namespace planner
