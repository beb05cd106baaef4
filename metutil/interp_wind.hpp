// Interpolation with missing values and wind components.
//
// Directions are meteorological: degrees clockwise from north, naming the
// direction the wind blows FROM. Components: u toward east, v toward north,
// in the units of the speed. The wind routines mark missing data with -999.
#pragma once

#include <cstdint>
#include <span>

namespace metutil {

// Missing value of the wind-component routines.
inline constexpr float kMissingWind = -999.0f;

// Linear interpolation of y(x) at `xv` in a table of `n` entries whose x and
// y may hold the caller's `missing` value. x may rise or fall with the index.
//  * An entry with x equal to `xv` gives its y (even a missing y) and its
//    1-based index.
//  * Otherwise the first pair of neighbouring non-missing x that brackets
//    `xv` strictly gives the interpolated y (missing when either y is
//    missing); `index` names the entry of the pair with the larger x.
//  * Anything else (xv outside the range of the non-missing x, no bracketing
//    pair, n < 1) gives yv = missing and index = -1.
// Only the first min(n, x.size(), y.size()) entries are looked at.
void polate(std::int32_t n, std::span<const float> x, std::span<const float> y, float xv, float& yv,
            std::int32_t& index, float missing);

// Linear interpolation between (x1, y1) and (x2, y2) at `x`. Returns
// `missing` when any of the four values is missing or when x lies outside
// [min(x1,x2), max(x1,x2)].
float polate2(float x1, float x2, float y1, float y2, float x, float missing);

// Eastward component of a wind from `direction` (degrees) at `speed`;
// -999 when the direction is negative or the speed is -999.
float ucmp(float direction, float speed);

// Northward component; same conventions as ucmp.
float vcmp(float direction, float speed);

// Direction (degrees in [0, 360)) the wind blows from, given its components;
// -999 when either is -999. v is nudged by -0.001 first, so a wind with v = 0
// reads slightly off the cardinal direction (wdcomp(-10, 0) is just below 90).
float wdcomp(float u, float v);

// Wind speed from the components; -999 when either is -999.
float wscomp(float u, float v);

}  // namespace metutil
