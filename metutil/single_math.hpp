// Arithmetic helpers shared by the utility routines.
//
// The utilities compute in single precision but take their transcendental
// functions (sine, cosine, arc tangent, logarithms, powers of ten,
// exponentials) in double precision and round the result back to single, so
// the digits they produce do not depend on the platform's float library.
// Truncation to a 32-bit integer saturates instead of being undefined for
// values out of range, so garbage dates and times never crash a caller.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace metutil::detail {

static_assert(std::numeric_limits<float>::is_iec559, "IEEE single precision is required");

// Rounds a double-precision result to single (overflow gives infinity).
inline float single(double v) { return static_cast<float>(v); }

inline float sin_d(float a) { return single(std::sin(static_cast<double>(a))); }
inline float cos_d(float a) { return single(std::cos(static_cast<double>(a))); }
inline float atan2_d(float y, float x) {
  return single(std::atan2(static_cast<double>(y), static_cast<double>(x)));
}
inline float log10_d(float v) { return single(std::log10(static_cast<double>(v))); }
inline float log_d(float v) { return single(std::log(static_cast<double>(v))); }
inline float exp_d(float v) { return single(std::exp(static_cast<double>(v))); }
// 10 to the power v.
inline float pow10_d(float v) { return single(std::pow(10.0, static_cast<double>(v))); }

// Integer part (truncation toward zero) as a 32-bit integer. Values beyond
// the integer range saturate at its ends; NaN gives 0.
inline std::int32_t int_part(float v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483648.0f) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0f) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// Nearest integer, halves rounded away from zero; saturating as int_part.
inline std::int32_t nearest_int(float v) {
  if (std::isnan(v)) return 0;
  return int_part(std::round(v));
}

}  // namespace metutil::detail
