#include "metutil/moisture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace metutil {
namespace {

constexpr float kM = -9999.0f;  // a caller's missing value distinct from -999

TEST(SaturationMixingRatio, SteamAndTriplePoints) {
  // At the steam point e equals ps, so with p = 2 ps the ratio is 0.62197.
  // e goes through log10 and back in single precision: a few ulps.
  EXPECT_NEAR(qsatw(373.16f, 2.0f * 1013.246f), 0.62197f, 1e-6f);
  // Water and ice formulas meet at the triple point (6.11 hPa vs 6.1071 hPa).
  const float w = qsatw(273.16f, 1000.0f);
  EXPECT_NEAR(qsati(273.16f, 1000.0f), w, 1e-3f * w);
  EXPECT_NEAR(w, 0.00382f, 0.00002f);
  // Below freezing ice saturates first.
  EXPECT_LT(qsati(253.16f, 800.0f), qsatw(253.16f, 800.0f));
  // fmxr uses a different vapour-pressure fit in g/kg; the fits agree to ~1 %.
  EXPECT_NEAR(fmxr(20.0f, 1000.0f), qsatw(293.16f, 1000.0f) * 1000.0f, 0.02f * 15.0f);
  // Saturation rises with temperature and falls with pressure.
  EXPECT_GT(fmxr(25.0f, 1000.0f), fmxr(20.0f, 1000.0f));
  EXPECT_GT(fmxr(20.0f, 850.0f), fmxr(20.0f, 1000.0f));
}

TEST(Dewpt, CasesAndRejections) {
  const float saturated = dewpt(20.0f, 100.0f);
  EXPECT_LE(saturated, 20.0f);  // never above the temperature
  EXPECT_NEAR(saturated, 20.0f, 1e-4f);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    float t, rh;
  };
  const Case rejected[] = {
      {20, 0},
      {20, -5},
      {20, 101},
      {-999, 50},
      {-998.5f, 50},
      {nan, 50},
      {20, nan},
      {inf, 50},
      {-inf, 50},
      {20, inf},
      // The iteration cannot settle: at absolute zero the vapour pressure is
      // 0 and Newton's step is 0/0; a huge temperature overflows t^2.
      {-273.16f, 50},
      {1e30f, 50},
  };
  for (const auto& c : rejected) {
    SCOPED_TRACE(testing::Message() << c.t << ' ' << c.rh);
    EXPECT_EQ(dewpt(c.t, c.rh), kMissingMoist);
  }
  // Extremely dry air still converges (in under 100 steps) to a finite dew point.
  const float very_dry = dewpt(-40.0f, 1e-30f);
  EXPECT_LT(very_dry, -200.0f);
  EXPECT_GT(very_dry, -273.16f);
}

TEST(Dewpt, InvertsRelhu) {
  // relhu is a ratio of mixing ratios from fmxr's vapour-pressure fit, while
  // dewpt inverts a ratio of vapour pressures from a coarser fit whose slope
  // differs by up to 4 %; the round trip drifts by that share of the
  // dew-point depression (0.4 K at 10 K in cold air), plus rounding.
  struct Level {
    float t, p;
  };
  const Level levels[] = {{30, 1000}, {20, 850}, {0, 700}, {-20, 500}, {-40, 300}};
  for (const auto& lv : levels) {
    for (float depression : {0.5f, 2.0f, 10.0f}) {
      const float td = lv.t - depression;
      SCOPED_TRACE(testing::Message() << lv.t << ' ' << td << ' ' << lv.p);
      const float rh = relhu(lv.t, td, lv.p);
      EXPECT_NEAR(dewpt(lv.t, rh), td, 0.05f * depression + 0.02f);
    }
  }
}

TEST(Relhu, Cases) {
  // 100 * f / f rounds to within one ulp of 100.
  EXPECT_NEAR(relhu(20, 20, 1000), 100.0f, 1e-5f);
  EXPECT_NEAR(relhu(20, 10, 1000), 52.0f, 1.0f);  // es(10)/es(20) is about 0.52
  EXPECT_EQ(relhu(10, 12, 1000), kMissingMoist);  // dew point above temperature
  EXPECT_EQ(relhu(-999, -1000, 1000), kMissingMoist);
  EXPECT_EQ(relhu(20, -999, 1000), kMissingMoist);
  EXPECT_EQ(relhu(20, 10, -999), kMissingMoist);
}

TEST(Rhice, Cases) {
  EXPECT_EQ(rhice(0, 1000, 55, kM), 55.0f);  // at or above freezing: unchanged
  EXPECT_EQ(rhice(12, 1000, 80, kM), 80.0f);
  // At -10 C es over water / es over ice is 2.86 / 2.60.
  EXPECT_NEAR(rhice(-10, 1000, 100, kM), 110.2f, 0.3f);
  EXPECT_NEAR(rhice(-10, 1000, 50, kM), 55.1f, 0.2f);
  EXPECT_EQ(rhice(kM, 1000, 50, kM), kM);
  EXPECT_EQ(rhice(-10, kM, 50, kM), kM);
  EXPECT_EQ(rhice(-10, 1000, kM, kM), kM);
  EXPECT_EQ(rhice(-10, 1000, 0, kM), kM);
  EXPECT_EQ(rhice(5, 1000, -3, kM), kM);
}

TEST(Wlapr, BelowDryAdiabatAndApproachesItInTheCold) {
  // Dry adiabat: dT/dp = Rd T / (cp p).
  auto dry = [](float t, float p) { return 286.998f * (t + 273.16f) / (1004.0f * p); };
  // At 20 C and 1000 hPa the saturated rate is about 4.3 K/km, 0.037 K/hPa.
  EXPECT_NEAR(wlapr(20, 1000), 0.037f, 0.0015f);
  float previous_ratio = 0.0f;
  for (float t : {30.0f, 10.0f, -10.0f, -30.0f, -50.0f, -70.0f}) {
    SCOPED_TRACE(t);
    const float ratio = wlapr(t, 500) / dry(t, 500);
    EXPECT_LT(ratio, 1.0f);
    EXPECT_GT(ratio, previous_ratio);
    previous_ratio = ratio;
  }
  EXPECT_GT(previous_ratio, 0.99f);
}

TEST(Hydrostatic, ThicknessOfAnIsothermalDryLayer) {
  // z2 - z1 = T / (g/Rd) ln(p1/p2); dew point -80 C adds under 1 mm.
  const float z2 = hydroz(1000, 0, -80, 0, 500, 0, -80, 1, kM);
  EXPECT_NEAR(z2, 273.16f / 0.034164f * std::log(2.0f), 0.05f);
  const float p2 = hydrop(1000, 0, -80, 0, 0, -80, z2, 1, kM);
  EXPECT_NEAR(p2, 500.0f, 0.01f);
}

TEST(Hydrostatic, HydropInvertsHydroz) {
  // hydrop takes the upper level's humidity at a dry first-guess pressure
  // instead of iterating; in a deep moist layer that moves p2 by ~0.04 %.
  struct Case {
    float p1, t1, m1, z1, p2, t2, m2;
    std::int32_t kind;
  };
  const Case cases[] = {
      {1000, 25, 20, 100, 850, 15, 10, 1},   // dew points
      {1000, 25, 80, 100, 300, -30, 70, 2},  // relative humidities
      {500, -10, -30, 5600, 700, 5, -5, 1},  // downward
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p1 << " to " << c.p2 << " kind " << c.kind);
    const float z2 = hydroz(c.p1, c.t1, c.m1, c.z1, c.p2, c.t2, c.m2, c.kind, kM);
    EXPECT_EQ(c.p2<c.p1, z2> c.z1);
    EXPECT_NEAR(hydrop(c.p1, c.t1, c.m1, c.z1, c.t2, c.m2, z2, c.kind, kM), c.p2, 5e-4f * c.p2);
  }
}

TEST(Hydrostatic, SaturatedByHumidityEqualsSaturatedByDewPoint) {
  // 100 % relative humidity (kind 2) and a dew point equal to the
  // temperature give the same virtual temperatures, to rounding.
  const float by_rh = hydroz(1000, 25, 100, 0, 700, 10, 100, 2, kM);
  const float by_td = hydroz(1000, 25, 25, 0, 700, 10, 10, 1, kM);
  EXPECT_NEAR(by_rh, by_td, 0.01f);
  // and moisture makes the layer warmer, hence thicker.
  EXPECT_GT(by_td, hydroz(1000, 25, -60, 0, 700, 10, -60, 1, kM) + 10.0f);
}

TEST(Hydrostatic, SameLevelAndMissing) {
  EXPECT_EQ(hydroz(850, 15, 10, 1500, 850, 15, 10, 1, kM), 1500.0f);
  EXPECT_EQ(hydrop(850, 15, 10, 1500, 15, 10, 1500, 1, kM), 850.0f);
  // At 1 hPa both log-pressure weights are zero; the plain mean is used.
  EXPECT_EQ(hydroz(1, -50, -90, 48000, 1, -50, -90, 1, kM), 48000.0f);
  EXPECT_EQ(hydrop(1, -50, -90, 48000, -50, -90, 48000, 1, kM), 1.0f);

  // hydroz needs both pressures positive and everything else above missing.
  EXPECT_EQ(hydroz(1000, 25, 20, 0, 0, 15, 10, 1, kM), kM);
  EXPECT_EQ(hydroz(0, 25, 20, 0, 850, 15, 10, 1, kM), kM);
  EXPECT_EQ(hydroz(1000, kM, 20, 0, 850, 15, 10, 1, kM), kM);
  EXPECT_EQ(hydroz(1000, 25, kM, 0, 850, 15, 10, 1, kM), kM);
  EXPECT_EQ(hydroz(1000, 25, 20, kM, 850, 15, 10, 1, kM), kM);
  EXPECT_EQ(hydroz(1000, 25, 20, 0, 850, kM, 10, 1, kM), kM);
  EXPECT_EQ(hydroz(1000, 25, 20, 0, 850, 15, kM - 1, 1, kM), kM);
  // hydrop tests its inputs against the missing value only.
  EXPECT_EQ(hydrop(kM, 25, 20, 0, 15, 10, 1500, 1, kM), kM);
  EXPECT_EQ(hydrop(1000, 25, 20, 0, kM, 10, 1500, 1, kM), kM);
  EXPECT_EQ(hydrop(1000, 25, 20, 0, 15, 10, kM, 1, kM), kM);
  EXPECT_NE(hydrop(-1000, 25, 20, 0, 15, 10, 1500, 1, kM), kM);
}

}  // namespace
}  // namespace metutil
