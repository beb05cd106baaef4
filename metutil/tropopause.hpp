// Lapse-rate thresholds for tropopause tests on a sounding, by pressure.
#pragma once

namespace metutil {

// Threshold lapse rate in K/hPa at pressure `p` (hPa): the tabled value at a
// standard level 100, 150, ..., 1000 hPa, linear in pressure between levels,
// the 100 hPa value above 100 hPa and the 1000 hPa value below 1000 hPa.
// Returns `missing` when p equals `missing`.
float troplapsp(float p, float missing);

// The same in K/m.
float troplapsz(float p, float missing);

}  // namespace metutil
