// Normal equations: the constraint integrals against direct quadrature of
// the folded basis functions, the data products, and the point rejection.
#include <cmath>
#include <memory>

#include "spline/tests/test_support.hpp"

namespace spline::test {
namespace {

class NormalTest : public SplineTest {
 protected:
  // Constraint band of order kdc (no data) for a grid of nxx unit intervals.
  static BandRows constraint(int nxx, int kdc, float sigma_wavelength, int kb1, int kb2) {
    grid(nxx, 0.0f, static_cast<float>(nxx), kb1, kb2, 3.0f, 5.0f, kdc, sigma_wavelength);
    sp2macq() = Sp2macq{nxx + 2, nxx - 1, nxx - 2, nxx - 3};
    spliqbg();
    BandRows R;
    spladdq(R);
    return R;
  }

  // Integral over the grid of the product of the n-th x-derivatives of the
  // folded basis functions J and K. Second derivatives are linear on each
  // interval, so two-point Gauss quadrature is exact; third derivatives are
  // the constant slope of the second.
  static double integral(int J, int K, int n) {
    const int nxx = sp2node().NX - 1;
    double sum = 0;
    for (int i = 0; i < nxx; ++i) {
      const float a = static_cast<float>(i), b = a + 1.0f;
      if (n == 2) {
        const double g = 0.5 / std::sqrt(3.0);
        for (double x : {0.5 - g, 0.5 + g})
          sum += 0.5 * ddysbf(J, a + static_cast<float>(x)) * ddysbf(K, a + static_cast<float>(x));
      } else {
        const auto slope = [&](int L) {
          return (ddysbf(L, a + 0.75f) - ddysbf(L, a + 0.25f)) / 0.5;
        };
        sum += slope(J) * slope(K);
      }
      (void)b;
    }
    return sum;
  }
};

struct ConstraintCase {
  int nxx, kdc, kb1, kb2;
};

class ConstraintTest : public NormalTest, public ::testing::WithParamInterface<ConstraintCase> {};

// The class integrals, folded for each boundary type, are the integrals of
// the squared derivative of the field, times SIGMA^(2n).
TEST_P(ConstraintTest, MatchesQuadratureOfFoldedBasis) {
  const ConstraintCase c = GetParam();
  const float ydcwl = 6.2831855f * 1.5f;  // SIGMA = 1.5 on unit spacing
  const BandRows R = constraint(c.nxx, c.kdc, ydcwl, c.kb1, c.kb2);
  const int n = c.kdc < 3 ? 2 : 3;
  const double scale = std::pow(1.5, 2 * n);
  const int NX = c.nxx + 1;
  for (int j = 1; j <= NX; ++j)
    for (int d = 1; d <= 4 && j + d - 1 <= NX; ++d) {
      const double expect = scale * integral(j, j + d - 1, n);
      // Entries reach ~200; float tables and basis values give ~1e-6 relative.
      EXPECT_NEAR(R(j, d), expect, 1e-4 * (1.0 + std::fabs(expect))) << "row " << j << " d " << d;
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, ConstraintTest,
                         ::testing::Values(ConstraintCase{8, 3, 0, 0}, ConstraintCase{8, 2, 1, 2},
                                           ConstraintCase{9, 3, 10, 20}, ConstraintCase{7, 3, 21, 1},
                                           ConstraintCase{5, 3, 2, 10}, ConstraintCase{4, 3, 10, 21},
                                           ConstraintCase{4, 2, 0, 1}));

TEST_F(NormalTest, OrdersAboveThreeUseTheThirdDerivative) {
  const BandRows r3 = constraint(10, 3, 20.0f, 1, 1);
  const BandRows r4 = constraint(10, 4, 20.0f, 1, 1);
  EXPECT_EQ(r3.v, r4.v);
}

// With first-derivative-free ends the folded functions still sum to a
// constant, which the derivative constraint does not penalise.
TEST_F(NormalTest, ConstantFieldIsFreeOfConstraint) {
  const BandRows R = constraint(12, 3, 40.0f, 1, 1);
  pasdexx(13);
  auto S = std::make_unique<Matrix>();
  anrtos0(R, *S);
  for (int i = 1; i <= 13; ++i) {
    float row = 0, mag = 0;
    for (int j = 1; j <= 13; ++j) {
      row += (*S)(i, j);
      mag += std::fabs((*S)(i, j));
    }
    EXPECT_NEAR(row, 0.0f, 1e-6f * mag) << i;  // single-precision cancellation
  }
}

TEST_F(NormalTest, DataProductsWithoutFilter) {
  grid(6, 0.0f, 6.0f, 1, 1, 0, 0, 3, 0.0f);  // SIGMA 0: constraint vanishes
  Sp2dtpt& dt = sp2dtpt();
  dt.LDX = 3;
  dt.YD(1) = 2.0f;  // on node 3
  dt.WD(1) = 2.0f;  // acts as 1
  dt.YD(2) = 2.0f;
  dt.WD(2) = 0.0f;  // never contributes
  dt.YD(3) = 6.0f;  // exactly on YNT: accepted
  dt.WD(3) = 0.5f;
  splimac();
  pasdexx(7);
  clrade();
  Matrix& BS = big().BS;
  getamr(BS);
  EXPECT_FLOAT_EQ(BS(3, 3), 1.0f);
  EXPECT_FLOAT_EQ(BS(2, 3), 0.25f);
  EXPECT_FLOAT_EQ(BS(2, 4), 0.0625f);
  EXPECT_EQ(BS(1, 3), 0.0f);
  // The point on YNT: node 7 carries 1 + A2 = 1, node 6 0.25 + B2 = 0.5.
  EXPECT_FLOAT_EQ(BS(7, 7), 0.5f);
  EXPECT_FLOAT_EQ(BS(6, 7), 0.25f);
  EXPECT_FLOAT_EQ(BS(6, 6), 0.125f);
  EXPECT_EQ(BS(7, 3), BS(3, 7));
  // A second accumulation adds no data, only the (zero) constraint again.
  getamr(BS);
  EXPECT_FLOAT_EQ(BS(3, 3), 1.0f);
}

TEST_F(NormalTest, EvenlySpacedPointsAndDescription) {
  grid(10, 5.0f, 25.0f);
  xdtpta(11);
  EXPECT_EQ(sp2dtpt().LDX, 11);
  EXPECT_FLOAT_EQ(sp2dtpt().YD(1), 5.0f);
  EXPECT_FLOAT_EQ(sp2dtpt().YD(6), 15.0f);
  EXPECT_FLOAT_EQ(sp2dtpt().YD(11), 25.0f);
  EXPECT_EQ(sp2dtpt().WD(11), 1.0f);
  EXPECT_EQ(sp2dchr().text.view(),
            " XDTPTA **      LINEAR DATA POINT ARRAY   11 POINTS WITH  POINTS ON BOUNDARIES  ");
  xdtpta(5000);  // limited to the table
  EXPECT_EQ(sp2dtpt().LDX, 3600);
}

}  // namespace
}  // namespace spline::test
