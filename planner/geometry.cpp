#include "planner/geometry.hpp"

#include <algorithm>
#include <cmath>

namespace planner {

float gcdistance(float lat1, float lon1, float lat2, float lon2) {
  // Earth radius in nautical miles: 6378.163 km, 111.12 km per 60 nm.
  const float r = 6378.163f * 60.0f / 111.12f;
  if (lat1 == lat2 && lon1 == lon2) return 0.0f;
  const float pi = static_cast<float>(std::acos(-1.0));
  auto radians = [pi](float x) { return static_cast<double>((x + x) * pi / 360.0f); };
  const double phi1 = radians(lat1);
  const double lam1 = radians(lon1);
  const double phi2 = radians(lat2);
  const double lam2 = radians(lon2);
  double c = std::cos(lam2 - lam1) * std::cos(phi1) * std::cos(phi2) + std::sin(phi1) * std::sin(phi2);
  // Rounding can push the cosine of a tiny (or nearly half-turn) arc just
  // past +-1, where acos has no value.
  c = std::clamp(c, -1.0, 1.0);
  return static_cast<float>(std::acos(c)) * r;
}

namespace {

// Single-precision cosine and sine: computed in double, rounded once.
float cos1(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }
float sin1(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }

}  // namespace

void srlatlon(float lat0, float lon0, float az, float dist, float& lat, float& lon) {
  constexpr float pi = 3.1415927f;
  const float theta = (90.0f - az) * pi / 180.0f;  // math angle, counter-clockwise from east
  float dx = dist * cos1(theta);                   // km east
  float dy = dist * sin1(theta);                   // km north

  // Kilometres per degree of latitude (klat) and of longitude (klon) at
  // lat0, cut to whole kilometres.
  const float phi = lat0 * pi / 180.0f;
  const float klat = std::trunc(111.13209f - 0.56605f * cos1(2.0f * phi) + 0.00012f * cos1(4.0f * phi) -
                                0.000002f * cos1(6.0f * phi));
  const float klon =
      std::trunc(111.41513f * cos1(phi) - 0.09455f * cos1(3.0f * phi) + 0.00012f * cos1(5.0f * phi));

  auto place = [&] {
    lat = lat0 + dy / klat;
    // At the pole a degree of longitude has no length: keep the meridian.
    lon = klon != 0.0f ? lon0 + dx / klon : lon0;
  };
  place();

  // Check the first estimate against the great-circle distance and rescale.
  const float d = gcdistance(lat0, lon0, lat, lon) * 111.12f / 60.0f;
  if (d != 0.0f) {
    const float scale = dist / d;
    dx = dx * scale;
    dy = dy * scale;
    place();
  }
}

float azimuth(float a, float b) {
  constexpr float kDegree = 0.017453112f;  // one degree in radians, slightly small
  float x = static_cast<float>(std::atan2(static_cast<double>(b), static_cast<double>(a))) / kDegree;
  deg360(x);
  return x;
}

void deg360(float& x) {
  // An infinite angle would loop forever; NaN fails both tests and stops.
  if (std::isinf(x)) return;
  // Subtracting 360 from a float is exact while |x| < 2^27, so the loop below
  // computes the exact remainder; fmod gives the same value directly for
  // large magnitudes, where the loop would be slow or (past 2^32) stuck.
  if (std::fabs(x) > 720.0f) {
    const float r = std::fmod(x, 360.0f);
    if (x > 0.0f) {
      x = r == 0.0f ? 360.0f : r;
    } else {
      x = r == 0.0f ? 0.0f : r;
    }
  }
  for (;;) {
    if (x > 360.0f) {
      x = x - 360.0f;
    } else if (x < 0.0f) {
      x = x + 360.0f;
    } else {
      break;
    }
  }
}

void uppercase(std::span<char> text, [[maybe_unused]] int length) {
  if (text.empty()) return;
  const auto c = static_cast<unsigned char>(text[0]);
  if (c >= 97 && c <= 122) text[0] = static_cast<char>(c - 32);
}

void lowercase(std::span<char> text, [[maybe_unused]] int length) {
  if (text.empty()) return;
  const auto c = static_cast<unsigned char>(text[0]);
  if (c >= 65 && c <= 90) text[0] = static_cast<char>(c + 32);
}

}  // namespace planner
