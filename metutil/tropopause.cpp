#include "metutil/tropopause.hpp"

#include <array>
#include <cstdint>

#include "metutil/interp_wind.hpp"

namespace metutil {

namespace {

constexpr std::size_t kLevels = 19;

// pr: the standard levels, hPa.
constexpr std::array<float, kLevels> pr = {100.0f, 150.0f, 200.0f, 250.0f, 300.0f, 350.0f, 400.0f,
                                           450.0f, 500.0f, 550.0f, 600.0f, 650.0f, 700.0f, 750.0f,
                                           800.0f, 850.0f, 900.0f, 950.0f, 1000.0f};

// rt of troplapsp: thresholds in K/hPa. The 100 hPa row carries the opposite
// sign to the others, as the table has always had it.
constexpr std::array<float, kLevels> rt_p = {
    -0.053f, 0.222f, 0.243f, 0.22f, 0.185f, 0.155f, 0.129f, 0.108f, 0.094f, 0.083f,
    0.076f,  0.072f, 0.067f, 0.06f, 0.055f, 0.052f, 0.057f, 0.062f, 0.051f};

// rt of troplapsz: thresholds in K/m, same sign pattern.
constexpr std::array<float, kLevels> rt_z = {0.00091f,  -0.00529f, -0.0075f,  -0.00811f, -0.00786f,
                                             -0.00743f, -0.00687f, -0.00633f, -0.00601f, -0.00574f,
                                             -0.00565f, -0.00571f, -0.00566f, -0.00536f, -0.00518f,
                                             -0.00515f, -0.00591f, -0.00672f, -0.00566f};

float threshold(const std::array<float, kLevels>& rt, float p, float missing) {
  float value = 0.0f;
  std::int32_t index = 0;
  polate(static_cast<std::int32_t>(kLevels), pr, rt, p, value, index, missing);
  if (p == missing) return missing;
  if (index == -1) return p > pr.back() ? rt.back() : rt.front();
  return value;
}

}  // namespace

float troplapsp(float p, float missing) { return threshold(rt_p, p, missing); }

float troplapsz(float p, float missing) { return threshold(rt_z, p, missing); }

}  // namespace metutil
