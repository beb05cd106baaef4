// Coefficients, evaluation and the filtered-analysis driver.
#include <cmath>
#include <string>
#include <vector>

#include "spline/tests/test_support.hpp"

namespace spline::test {
namespace {

constexpr float kTwoPi = 6.2831853f;

class AnalysisTest : public SplineTest {
 protected:
  // Coefficients 1, 2, 3, ... (component 1) and their squares (component 2).
  static void ramp_coefficients(int NX) {
    for (int j = 1; j <= NX; ++j) {
      big().CS(1, j) = static_cast<float>(j);
      big().CS(2, j) = static_cast<float>(j * j) * 0.1f;
    }
  }

  static int analyse(const std::vector<float>& y, const std::vector<float>& values, int kdat, float ynb,
                     float ynt, int nxx, float ydcwl, int kb1 = 1, int kb2 = 1) {
    const std::vector<float> w(y.size(), 1.0f);
    int ierr = -1;
    const int n = static_cast<int>(y.size());
    vicspl(y, w, values, n, n, kdat, ynb, ynt, nxx, ydcwl, kb1, kb2, 0.0f, 0.0f, ierr);
    return ierr;
  }
};

TEST_F(AnalysisTest, PointEvaluationAtTheLowerEnd) {
  grid(10, 0.0f, 10.0f, 21, 10, 3.0f, 4.0f);
  ramp_coefficients(11);
  float out[2];
  spotino(0.0f, big().CS, 1, 2, out);
  const Sp2bcdc& bc = sp2bcdc();
  EXPECT_FLOAT_EQ(out[0], 1.0f * (1.0f + bc.A1) + 2.0f * (0.25f + bc.B1));
  float ika[2];
  spotika(0.0f, big().CS, 1, 2, ika);
  EXPECT_EQ(ika[0], out[0]);
  EXPECT_EQ(ika[1], out[1]);
  // Components without coefficients evaluate to zero; OUT is never overrun.
  float three[3] = {9, 9, 9};
  spotino(4.5f, big().CS, 2, 4, std::span<float>(three, 2));
  EXPECT_EQ(three[1], 0.0f);
  EXPECT_EQ(three[2], 9.0f);
}

// The bulk node evaluation agrees with the single-point evaluators.
TEST_F(AnalysisTest, NodeFieldsMatchPointEvaluation) {
  grid(12, -3.0f, 21.0f, 2, 20, 0.0f, 6.0f);
  ramp_coefficients(13);
  NodeFields& FN = big().FNODE;
  prfkmnd(big().CS, FN, 1, 2);
  for (int i = 1; i <= 13; ++i) {
    float v[2], d[2];
    spotino(sp2node().Y(i), big().CS, 1, 2, v);
    spotder(sp2node().Y(i), big().CS, 1, 2, d);
    for (int k = 0; k < 2; ++k) {
      // Same products, different summation order: a few float ulps.
      EXPECT_NEAR(FN(k + 1, i), v[k], 1e-5f * (1 + std::fabs(v[k]))) << i;
      EXPECT_NEAR(FN(k + 3, i), d[k], 1e-5f * (1 + std::fabs(d[k]))) << i;
    }
  }
}

// Several sub-points per interval and a partial range: point q lies at
// Y(first) + (q-1) DELTAY/jx.
TEST_F(AnalysisTest, SubPointsOfAPartialRange) {
  grid(10, 0.0f, 20.0f, 0, 1);
  ramp_coefficients(11);
  struct Range {
    int n1, n2, n3;
  };
  for (const Range r : {Range{1, 11, 4}, Range{9, 3, 3}, Range{1, 1, 2}, Range{10, 11, 8}, Range{4, 10, 1}}) {
    splinta(big().CS, r.n1, r.n2, r.n3);
    splintd(ybf);
    const int first = std::min(r.n1, r.n2), last = std::max(r.n1, r.n2), jx = std::max(r.n3, 1);
    const int points = (last - first) * jx + 1;
    std::vector<float> out(static_cast<std::size_t>(points) + 1, 7.0f);
    splinto(big().CS, 1, out, 1, points, 1);
    for (int q = 1; q <= points; ++q) {
      float v;
      spotino(sp2node().Y(first) + static_cast<float>(q - 1) * 2.0f / static_cast<float>(jx), big().CS, 1, 1,
              std::span<float>(&v, 1));
      EXPECT_NEAR(out[static_cast<std::size_t>(q - 1)], v, 1e-5f * (1 + std::fabs(v))) << first << " " << q;
    }
    EXPECT_EQ(out.back(), 7.0f);  // nothing past the stated size
  }
}

TEST_F(AnalysisTest, InputAndOutputModes) {
  grid(8, 0.0f, 8.0f);
  ramp_coefficients(9);
  splinta(big().CS, 1, 9, 0);  // N3 = 0 means one sub-point
  splintd(ybf);
  std::vector<float> s(9), out(9);
  splinto(big().CS, 1, s, 1, 9, 1);
  struct Mode {
    int isin, isout;
    float so, si;
  };
  for (const Mode m : {Mode{1, 0, 1, 1}, Mode{-1, -1, -1, -1}, Mode{0, -1, -1, 0}, Mode{-2, 3, 1, -1},
                       Mode{5, -5, -1, 1}}) {
    for (int q = 0; q < 9; ++q) out[static_cast<std::size_t>(q)] = static_cast<float>(q) + 0.5f;
    splints(m.isin, m.isout);
    splinto(big().CS, 1, out, 1, 9, 1);
    for (std::size_t q = 0; q < 9; ++q)
      EXPECT_FLOAT_EQ(out[q], m.so * s[q] + m.si * (static_cast<float>(q) + 0.5f)) << m.isin << "," << m.isout;
    // The modes apply to one evaluation only.
    splinto(big().CS, 1, out, 1, 9, 1);
    EXPECT_EQ(out, s);
  }
}

TEST_F(AnalysisTest, GridChooserExample) {
  std::vector<float> y(50);
  for (int i = 0; i < 50; ++i) y[static_cast<std::size_t>(i)] = static_cast<float>(i);
  int nxx = 0, ierr = -1;
  float ynb = 0, ynt = 0;
  vicsetup(y, 50, 10.0f, nxx, ynb, ynt, 2.0f, ierr, 0);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(nxx, 24);
  EXPECT_EQ(ynb, 0.0f);
  EXPECT_EQ(ynt, 49.0f);

  // Flagged points do not count for the extent.
  std::vector<float> flag(50, 0.0f);
  flag[0] = flag[49] = 1.0f;
  vicsetup2(y, flag, 50, 10.0f, nxx, ynb, ynt, 2.0f, ierr, 0, 1.0f);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(ynb, 1.0f);
  EXPECT_EQ(ynt, 48.0f);
}

// The reason for the package: structure longer than YDCWL passes, shorter
// structure is removed, with the response 1/(1 + (YDCWL/wavelength)^6).
TEST_F(AnalysisTest, FilterResponseOfTwoSinusoids) {
  const int n = 3600;
  const float L = 1200.0f, ydcwl = 60.0f;
  const float lambda_long = 240.0f, lambda_short = 30.0f;
  std::vector<float> y(n), v(n);
  for (int i = 0; i < n; ++i) {
    const float yi = L * static_cast<float>(i) / static_cast<float>(n - 1);
    y[static_cast<std::size_t>(i)] = yi;
    v[static_cast<std::size_t>(i)] =
        std::sin(kTwoPi * yi / lambda_long) + std::cos(kTwoPi * yi / lambda_short + 0.3f);
  }
  ASSERT_EQ(analyse(y, v, 1, 0.0f, L, 200, ydcwl), 0);  // spacing 6: ratio 10

  // Amplitudes by projection onto each wave over whole periods of both,
  // away from the ends.
  const auto amplitude = [&](float lambda) {
    double s = 0, c = 0;
    int count = 0;
    for (float yi = 120.0f; yi < 1080.0f; yi += 0.5f) {
      float val, der;
      spotval(yi, 1, std::span<float>(&val, 1), std::span<float>(&der, 1));
      s += val * std::sin(kTwoPi * yi / lambda);
      c += val * std::cos(kTwoPi * yi / lambda);
      ++count;
    }
    return 2.0 * std::sqrt(s * s + c * c) / count;
  };
  const auto response = [&](float lambda) { return 1.0 / (1.0 + std::pow(ydcwl / lambda, 6.0)); };
  // The response is that of the continuous smoother. The cubic spline has
  // only 5 nodes per short wavelength, which lowers that amplitude by about
  // 0.002 (0.0135 against 0.0154); the long wave matches to 1e-5. 0.005
  // keeps that margin, while a constraint scale off by a factor 2 (short
  // response 0.5 or 0.0002) fails.
  EXPECT_NEAR(amplitude(lambda_long), response(lambda_long), 0.005);   // 0.99976
  EXPECT_NEAR(amplitude(lambda_short), response(lambda_short), 0.005);  // 0.0154
}

TEST_F(AnalysisTest, ConstantDataStaysConstant) {
  std::vector<float> y, v;
  for (int i = 0; i <= 300; ++i) {
    y.push_back(static_cast<float>(i) * 0.5f);
    v.push_back(i % 7 == 3 ? -999.0f : 17.25f);  // missing values are dropped
  }
  ASSERT_EQ(analyse(y, v, 1, 0.0f, 150.0f, 30, 20.0f), 0);
  EXPECT_FLOAT_EQ(means().m[0], 17.25f);
  for (int i = 1; i <= 31; ++i) {
    EXPECT_NEAR(big().FNODE(1, i), 0.0f, 1e-5f);
    EXPECT_NEAR(big().FNODE(3, i), 0.0f, 1e-5f);
  }
  float val, der;
  spotval(33.3f, 1, std::span<float>(&val, 1), std::span<float>(&der, 1));
  EXPECT_NEAR(val, 17.25f, 1e-4f);
}

TEST_F(AnalysisTest, TwoComponentsAndStoredObservations) {
  // Component 2 is a straight line; one observation lacks component 1.
  std::vector<float> y, w, values(2 * 200);
  for (int i = 0; i < 200; ++i) {
    y.push_back(static_cast<float>(i));
    w.push_back(i == 5 ? -3.0f : (i == 6 ? 0.0f : 1.0f));
    values[static_cast<std::size_t>(i)] = i == 10 ? -999.0f : 1.0f;
    values[static_cast<std::size_t>(200 + i)] = 2.0f * static_cast<float>(i);
  }
  int ierr = -1;
  vicspl(y, w, values, 200, 200, 2, 0.0f, 199.0f, 40, 30.0f, 2, 2, 0.0f, 0.0f, ierr);
  ASSERT_EQ(ierr, 0);
  EXPECT_EQ(sp2dtpt().LDX, 199);
  EXPECT_EQ(sp2dtpt().YD(10), 9.0f);
  EXPECT_EQ(sp2dtpt().YD(11), 11.0f);
  // After the density correction every interval holds weight about 1:
  // 5 points of weight 1/5, the weight-0 point stays 0, -3 was stored as 1.
  EXPECT_FLOAT_EQ(sp2dtpt().WD(6), 0.25f);
  EXPECT_EQ(sp2dtpt().WD(7), 0.0f);
  float val[2], der[2];
  spotval(100.0f, 2, val, der);
  EXPECT_NEAR(val[0], 1.0f, 1e-4f);
  // A line is untouched by a third-derivative constraint with free ends.
  EXPECT_NEAR(val[1], 200.0f, 0.05f);
  EXPECT_NEAR(der[1], 2.0f, 1e-3f);
}

// Ratios of filter to spacing of exactly 2 and 15 are proper.
TEST_F(AnalysisTest, RatioLimitsAccepted) {
  std::vector<float> y, v;
  for (int i = 0; i <= 120; ++i) {
    y.push_back(static_cast<float>(i) * 0.5f);
    v.push_back(static_cast<float>(i % 3));
  }
  EXPECT_EQ(analyse(y, v, 1, 0.0f, 60.0f, 30, 4.0f), 0);   // spacing 2, ratio 2
  EXPECT_EQ(analyse(y, v, 1, 0.0f, 60.0f, 30, 30.0f), 0);  // ratio 15
}

TEST_F(AnalysisTest, RejectedInput) {
  std::vector<float> y = {1.0f, 2.0f, 3.0f}, v = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  std::vector<float> w(3, 1.0f);
  int ierr = -1;
  // Only one valid observation: rejected without a record.
  std::vector<float> y1 = {1.0f, -999.0f, -999.0f};
  vicspl(y1, w, v, 3, 3, 1, 0.0f, 4.0f, 4, 2.0f, 1, 1, 0, 0, ierr);
  EXPECT_EQ(ierr, 1);
  // Two are enough for xdatz.
  std::vector<float> y2 = {1.0f, -999.0f, 3.0f};
  xdatz(1, 3, 3, y2, w, v, 0, 0, big().DV, ierr = 0);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(sp2dtpt().LDX, 2);
  EXPECT_EQ(big().DV(1, 3), -999.0f);
}

// The observation table holds 3600 points. One valid observation more is
// refused with the LDX record; the missing ones in between are not counted.
TEST_F(AnalysisTest, ObservationTableHoldsItsLimitAndRefusesOneMore) {
  const std::string path = ::testing::TempDir() + "spline_ldx_records.txt";
  rec::close(6);
  rec::open(6, path, "UNKNOWN");
  const int n = 3602;
  std::vector<float> y(n), w(n, 1.0f), v(n, 2.0f);
  for (int i = 0; i < n; ++i) y[static_cast<std::size_t>(i)] = static_cast<float>(i) * 0.25f;
  y[100] = -999.0f;  // one missing: 3601 valid
  int ierr = -1;
  xdatz(1, n, n, y, w, v, 0, 0, big().DV, ierr);
  EXPECT_EQ(ierr, 1);
  EXPECT_EQ(sp2dtpt().LDX, 3600);
  EXPECT_EQ(sp2dtpt().YD(3600), y[3600]);
  y[200] = -999.0f;  // 3600 valid: accepted, the last one stored in the last slot
  xdatz(1, n, n, y, w, v, 0, 0, big().DV, ierr = 0);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(sp2dtpt().LDX, 3600);
  EXPECT_EQ(sp2dtpt().YD(3600), y[3601]);
  rec::reset_channels();
  rec::open(31, path, "OLD");
  std::vector<std::string> lines;
  rec::FixedText<80> line;
  while (rec::read(31, "(a)", {line}, rec::kEndExit) == 0) lines.emplace_back(line.trimmed());
  rec::close(31);
  EXPECT_EQ(lines, (std::vector<std::string>{"", " ** LDX EXCEEDS LDXDIM IN XDATZ ** 3601 3600"}));
}

TEST_F(AnalysisTest, DateAndClockTime) {
  int iy, im, id;
  float hours;
  xtimesp(951231.0f, 1259.0f, iy, im, id, hours);
  EXPECT_EQ(iy, 95);
  EXPECT_EQ(im, 12);
  EXPECT_EQ(id, 31);
  EXPECT_FLOAT_EQ(hours, 12.0f + 59.0f / 60.0f);
  xtimesp(40102.0f, 1230.0f, iy, im, id, hours);
  EXPECT_EQ(iy, 4);
  EXPECT_EQ(im, 1);
  EXPECT_EQ(id, 2);
  EXPECT_FLOAT_EQ(hours, 12.5f);
}

}  // namespace
}  // namespace spline::test
