#include "metutil/moisture.hpp"

#include <cmath>

#include "metutil/single_math.hpp"

namespace metutil {

namespace {

using detail::exp_d;
using detail::log10_d;
using detail::log_d;
using detail::pow10_d;

constexpr float kCelsiusToKelvin = 273.16f;
constexpr float kVirtualFactor = 0.609f;     // Tv = T (1 + 0.609 q)
constexpr float kGravityOverRd = 0.034164f;  // g / Rd, K/m
constexpr float kRd = 286.998f;              // gas constant of dry air, J/(kg K)
constexpr float kRdCp = 288145.97f;          // Rd times cp (1004)
constexpr float kEpsilonQ = 0.62197f;        // Mw / Md in the Goff-Gratch ratios
constexpr float kEpsilonW = 0.62198f;        // Mw / Md in fmxr and wlapr

// Steam point and its saturation pressure; ice point and its pressure.
constexpr float ts = 373.16f;
constexpr float ps = 1013.246f;
constexpr float to = 273.16f;
constexpr float po = 6.1071f;

// Saturation vapour pressure over water (hPa) as fmxr and wlapr use it.
float fmxr_vapour(float tk) {
  return 10.0f * pow10_d(22.5518f - 2937.4f / tk - 4.9283f * log10_d(tk));
}

// Log-pressure weighted mean of two virtual temperatures. When the weights
// cancel (p1 * p2 = 1 hPa^2, e.g. both levels at 1 hPa) the plain mean is
// taken instead of dividing zero by zero.
float layer_mean_tv(float p1, float tv1, float p2, float tv2) {
  const float l1 = log_d(std::fabs(p1));
  const float l2 = log_d(std::fabs(p2));
  const float wsum = l1 + l2;
  if (wsum == 0.0f) return (tv1 + tv2) * 0.5f;
  return (l1 * tv1 + l2 * tv2) / wsum;
}

// Specific humidities of the two levels: from relative humidity (kind 2)
// or from dew point.
void level_humidities(std::int32_t kind, float p1, float t1, float m1, float p2, float t2, float m2,
                      float& q1, float& q2) {
  if (kind == 2) {
    q1 = qsatw(t1 + kCelsiusToKelvin, p1) * m1 * 0.01f;
    q2 = qsatw(t2 + kCelsiusToKelvin, p2) * m2 * 0.01f;
  } else {
    q1 = qsatw(m1 + kCelsiusToKelvin, p1);
    q2 = qsatw(m2 + kCelsiusToKelvin, p2);
  }
}

}  // namespace

float qsatw(float tk, float p) {
  const float r = ts / tk;
  const float log_e = -7.90298f * (r - 1.0f) + 5.02808f * log10_d(r) +
                      (pow10_d(11.344f * (1.0f - tk / ts)) - 1.0f) * 1.3816f * (-1e-7f) +
                      (pow10_d(-3.49149f * (r - 1.0f)) - 1.0f) * 8.1328f * 0.001f + log10_d(ps);
  const float e = pow10_d(log_e);
  return kEpsilonQ * e / (p - e);
}

float qsati(float tk, float p) {
  const float r = to / tk;
  const float log_e =
      -9.09718f * (r - 1.0f) - 3.56654f * log10_d(r) + 0.876793f * (1.0f - tk / to) + log10_d(po);
  const float e = pow10_d(log_e);
  return kEpsilonQ * e / (p - e);
}

float fmxr(float t, float p) {
  const float e = fmxr_vapour(t + kCelsiusToKelvin);
  return e * 621.98f / (p - e);
}

float dewpt(float t, float rh) {
  if (!std::isfinite(t) || !std::isfinite(rh)) return kMissingMoist;
  if (t < -998.0f || rh > 100.0f || rh <= 0.0f) return kMissingMoist;

  // es(t) = 10^(9.4051 - 2353/t); its derivative is es * 2353 ln(10) / t^2.
  auto es = [](float tk) { return pow10_d(9.4051f - 2353.0f / tk); };
  constexpr float kDerivFactor = 5417.98f;

  const float tk = t + kCelsiusToKelvin;
  const float sat = es(tk);
  const float target = rh * 0.01f * sat;
  float tn = tk;
  float h = sat;
  float previous = 0.0f;
  for (int step = 0; step < kDewptMaxIterations; ++step) {
    const float next = tn + (target - h) / (h * kDerivFactor / (tn * tn));
    if (std::fabs(previous - next) < 0.005f) {
      const float td = (tk - kCelsiusToKelvin) - (tk - next);
      return td < t ? td : t;
    }
    previous = next;
    tn = next;
    h = es(next);
  }
  // The iteration did not settle (it runs into NaN or infinity for inputs
  // beyond the vapour-pressure curve's range): no dew point.
  return kMissingMoist;
}

float relhu(float t, float td, float p) {
  if (t <= -999.0f || td <= -999.0f || p <= -999.0f || td > t) return kMissingMoist;
  return 100.0f * fmxr(td, p) / fmxr(t, p);
}

float rhice(float t, float p, float rh, float missing) {
  if (t == missing || p == missing || rh == missing || rh <= 0.0f) return missing;
  if (t >= 0.0f) return rh;
  const float tk = t + kCelsiusToKelvin;
  const float q = qsatw(tk, p) * rh * 0.01f;
  return q / qsati(tk, p) * 100.0f;
}

float wlapr(float t, float p) {
  const float tk = t + kCelsiusToKelvin;
  const float e = fmxr_vapour(tk);
  const float w = e * kEpsilonW / (p - e);
  const float latent = (2500.0f - 2.274f * t) * 1000.0f;  // J/kg
  const float lr = latent / tk;
  return (w * lr + kRd) * kRd * tk / (p * (w * kEpsilonW * lr * lr + kRdCp));
}

float hydroz(float p1, float t1, float moist1, float z1, float p2, float t2, float moist2,
             std::int32_t kind, float missing) {
  if (!(p1 > 0.0f && p2 > 0.0f && t1 > missing && moist1 > missing && z1 > missing &&
        t2 > missing && moist2 > missing)) {
    return missing;
  }
  float q1 = 0.0f;
  float q2 = 0.0f;
  level_humidities(kind, p1, t1, moist1, p2, t2, moist2, q1, q2);
  const float tv1 = (t1 + kCelsiusToKelvin) * (q1 * kVirtualFactor + 1.0f);
  const float tv2 = (t2 + kCelsiusToKelvin) * (q2 * kVirtualFactor + 1.0f);
  const float tvm = layer_mean_tv(p1, tv1, p2, tv2);
  return z1 - tvm / kGravityOverRd * log_d(std::fabs(p2) / p1);
}

float hydrop(float p1, float t1, float moist1, float z1, float t2, float moist2, float z2,
             std::int32_t kind, float missing) {
  if (!(p1 > missing && t1 > missing && moist1 > missing && z1 > missing && t2 > missing &&
        moist2 > missing && z2 > missing)) {
    return missing;
  }
  // Dry first guess from the harmonic mean temperature of the layer.
  const float t1k = t1 + kCelsiusToKelvin;
  const float t2k = t2 + kCelsiusToKelvin;
  const float tm = t1k * 2.0f * t2k / (t1k + t2k);
  const float p2_guess = p1 * exp_d((z1 - z2) * kGravityOverRd / tm);

  float q1 = 0.0f;
  float q2 = 0.0f;
  level_humidities(kind, p1, t1, moist1, p2_guess, t2, moist2, q1, q2);
  const float tv1 = t1k * (q1 * kVirtualFactor + 1.0f);
  const float tv2 = t2k * (q2 * kVirtualFactor + 1.0f);
  const float tvm = layer_mean_tv(p1, tv1, p2_guess, tv2);
  return p1 * exp_d((z1 - z2) * kGravityOverRd / tvm);
}

}  // namespace metutil
