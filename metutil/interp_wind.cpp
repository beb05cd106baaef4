#include "metutil/interp_wind.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "metutil/single_math.hpp"

namespace metutil {

namespace {

// Degrees per radian as the wind routines have always used it (a hair above
// 180/pi); keeping it keeps their digits.
constexpr float kDegPerRad = 57.2958f;

// Start values of the range search in polate: any real table value replaces them.
constexpr float kRangeLowStart = 9999999.0f;
constexpr float kRangeHighStart = -9999999.0f;

}  // namespace

void polate(std::int32_t n, std::span<const float> x, std::span<const float> y, float xv, float& yv,
            std::int32_t& index, float missing) {
  const std::size_t count =
      n <= 0 ? 0 : std::min({static_cast<std::size_t>(n), x.size(), y.size()});
  yv = missing;
  index = -1;

  for (std::size_t i = 0; i < count; ++i) {
    if (x[i] != missing && x[i] == xv) {
      yv = y[i];
      index = static_cast<std::int32_t>(i + 1);
      return;
    }
  }
  if (count < 2) return;

  // Range of the non-missing x; the first of equal extremes wins.
  float xmax = kRangeHighStart;
  float xmin = kRangeLowStart;
  std::size_t imax = 0;
  std::size_t imin = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (x[i] == missing) continue;
    if (x[i] > xmax) {
      xmax = x[i];
      imax = i;
    }
    if (x[i] < xmin) {
      xmin = x[i];
      imin = i;
    }
  }
  if (!(xmin < xmax && xmin <= xv && xv <= xmax)) return;

  for (std::size_t i = 0; i + 1 < count; ++i) {
    const float xa = x[i];
    const float xb = x[i + 1];
    if (xa == missing || xb == missing) continue;
    if (!((xa < xv && xv < xb) || (xa > xv && xv > xb))) continue;
    yv = y[i + 1] - (xb - xv) * (y[i + 1] - y[i]) / (xb - xa);
    if (y[i + 1] == missing || y[i] == missing) yv = missing;
    // Name the entry with the larger x: i+1 in a rising table, i in a falling one.
    index = static_cast<std::int32_t>(imin < imax ? i + 2 : i + 1);
    return;
  }
}

float polate2(float x1, float x2, float y1, float y2, float x, float missing) {
  if (x1 == missing || x2 == missing || y1 == missing || y2 == missing) return missing;
  if ((x > x1 && x > x2) || (x < x1 && x < x2)) return missing;
  if (x == x1) return y1;
  if (x == x2) return y2;
  // x1 == x2 cannot get here: x would equal x1 or lie outside.
  return y1 + (x - x1) / (x2 - x1) * (y2 - y1);
}

namespace {

// Math angle (counter-clockwise from east, in radians) of the vector a wind
// from `direction` blows toward.
float wind_angle(float direction) {
  float a = 270.0f - direction;
  if (a < 0.0f) a = a + 360.0f;
  return a / kDegPerRad;
}

}  // namespace

float ucmp(float direction, float speed) {
  if (direction < 0.0f || speed == kMissingWind) return kMissingWind;
  return detail::cos_d(wind_angle(direction)) * speed;
}

float vcmp(float direction, float speed) {
  if (direction < 0.0f || speed == kMissingWind) return kMissingWind;
  return detail::sin_d(wind_angle(direction)) * speed;
}

float wdcomp(float u, float v) {
  if (u == kMissingWind || v == kMissingWind) return kMissingWind;
  // The nudge keeps atan2 off (0, 0); 0.001 itself is spared so that it does
  // not become exactly zero.
  const float vn = v == 0.001f ? v : v - 0.001f;
  float d = detail::atan2_d(-u, -vn) * kDegPerRad;
  if (d < 0.0f) d = d + 360.0f;
  return d;
}

float wscomp(float u, float v) {
  if (u == kMissingWind || v == kMissingWind) return kMissingWind;
  return std::sqrt(u * u + v * v);
}

}  // namespace metutil
