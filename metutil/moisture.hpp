// Moisture and hydrostatic relations.
//
// Temperatures are degrees Celsius unless the argument is named a kelvin
// temperature; pressures hPa; heights metres; relative humidities percent.
// Single precision throughout.
#pragma once

#include <cstdint>

namespace metutil {

// Missing value of dewpt and relhu.
inline constexpr float kMissingMoist = -999.0f;

// dewpt gives up after this many Newton steps and returns -999; only inputs
// far outside the atmosphere's range (dew points near absolute zero,
// temperatures beyond the float range) need that many.
inline constexpr int kDewptMaxIterations = 200;

// Saturation mixing ratio over water (kg/kg) at kelvin temperature `tk` and
// pressure `p`, from the Goff-Gratch vapour pressure.
float qsatw(float tk, float p);

// Saturation mixing ratio over ice (kg/kg), Goff-Gratch formula over ice.
float qsati(float tk, float p);

// Saturation mixing ratio over water in g/kg at `t` (Celsius) and `p`.
float fmxr(float t, float p);

// Dew point (Celsius) of air at `t` with relative humidity `rh` (percent),
// by Newton iteration on the vapour-pressure curve; never above `t`.
// -999 when t < -998, rh > 100, rh <= 0, either is not finite, or the
// iteration does not settle within kDewptMaxIterations steps.
float dewpt(float t, float rh);

// Relative humidity (percent, over water) from temperature `t`, dew point
// `td` and pressure `p`; -999 when any is -999 or below, or td > t.
float relhu(float t, float td, float p);

// Relative humidity over ice from the humidity over water `rh` at `t`, `p`.
// Returns `missing` when t, p or rh is missing or rh <= 0, and rh itself at
// or above 0 Celsius.
float rhice(float t, float p, float rh, float missing);

// Lapse rate dT/dp (K/hPa) along the saturated adiabat at `t`, `p`.
float wlapr(float t, float p);

// Height (m) of the level at pressure p2 above (or below) the level at p1,
// z1, from the layer's mean virtual temperature. The moisture arguments are
// relative humidities (percent) when kind == 2, dew points otherwise.
// Returns `missing` unless p1 > 0, p2 > 0 and the other inputs exceed
// `missing`.
float hydroz(float p1, float t1, float moist1, float z1, float p2, float t2, float moist2,
             std::int32_t kind, float missing);

// Pressure of the level at height z2, the inverse of hydroz: the moisture of
// the upper level is taken at a first dry estimate of p2 (one pass, no
// iteration). Returns `missing` unless every input exceeds `missing`;
// pressures are not tested against zero.
float hydrop(float p1, float t1, float moist1, float z1, float t2, float moist2, float z2,
             std::int32_t kind, float missing);

}  // namespace metutil
