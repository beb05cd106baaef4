#include "metutil/tropopause.hpp"

#include <gtest/gtest.h>

namespace metutil {
namespace {

TEST(Tropopause, ThresholdsByPressure) {
  // Interpolated values carry a few ulps of rounding of 0.1-sized numbers.
  constexpr float kTol = 1e-6f;
  struct Case {
    float p, per_hpa, per_m;
  };
  const Case cases[] = {
      {500, 0.094f, -0.00601f},  {475, 0.101f, -0.00617f},  // midway between the 450 and 500 rows
      {100, -0.053f, 0.00091f},                             // the top row has the opposite sign
      {125, 0.0845f, -0.00219f},                            // so halfway to 150 nearly cancels
      {1000, 0.051f, -0.00566f}, {925, 0.0595f, -0.006315f},
      {50, -0.053f, 0.00091f},    // above the table: top row
      {1050, 0.051f, -0.00566f},  // below the table: bottom row
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.p);
    EXPECT_NEAR(troplapsp(c.p, -999.0f), c.per_hpa, kTol);
    EXPECT_NEAR(troplapsz(c.p, -999.0f), c.per_m, kTol);
  }
}

TEST(Tropopause, MissingPressureGivesMissingWhateverItsValue) {
  for (float missing : {-999.0f, 0.0f, 500.0f, 2000.0f}) {
    SCOPED_TRACE(missing);
    EXPECT_EQ(troplapsp(missing, missing), missing);
    EXPECT_EQ(troplapsz(missing, missing), missing);
  }
}

}  // namespace
}  // namespace metutil
