// Node grid, boundary folding and the six basis functions.
#include <cmath>

#include "spline/tests/test_support.hpp"

namespace spline::test {
namespace {

class BasisTest : public SplineTest {};

TEST_F(BasisTest, GridAndDerivedCoefficients) {
  grid(8, 10.0f, 26.0f, 0, 0, 0, 0, 3, 12.566371f);
  const Sp2node& node = sp2node();
  EXPECT_EQ(node.NX, 9);
  EXPECT_FLOAT_EQ(node.DELTAY, 2.0f);
  EXPECT_FLOAT_EQ(node.Y(1), 10.0f);
  EXPECT_FLOAT_EQ(node.Y(9), 26.0f);
  const Sp2bcdc& bc = sp2bcdc();
  EXPECT_FLOAT_EQ(bc.inv_dy, 0.5f);
  EXPECT_FLOAT_EQ(bc.three_dy, 1.5f);
  EXPECT_FLOAT_EQ(bc.six_dy2, 1.5f);
  EXPECT_FLOAT_EQ(bc.SIGMA, 1.0f);  // 4 pi / (2 pi * 2)
}

TEST_F(BasisTest, InteriorShape) {
  grid(10, 0.0f, 10.0f);
  const int J = 5;
  EXPECT_FLOAT_EQ(ybf(J, 4.0f), 1.0f);
  EXPECT_FLOAT_EQ(ybf(J, 3.0f), 0.25f);
  EXPECT_FLOAT_EQ(ybf(J, 5.0f), 0.25f);
  EXPECT_EQ(ybf(J, 2.0f), 0.0f);
  EXPECT_EQ(ybf(J, 6.5f), 0.0f);
  EXPECT_FLOAT_EQ(ysbf(J, 4.5f), ybf(J, 4.5f));
  EXPECT_FLOAT_EQ(dysbf(J, 4.0f), 0.0f);
  EXPECT_FLOAT_EQ(dysbf(J, 3.0f), 0.75f);
  EXPECT_FLOAT_EQ(dysbf(J, 5.0f), -0.75f);
  EXPECT_FLOAT_EQ(ddysbf(J, 4.0f), -3.0f);
  EXPECT_FLOAT_EQ(ddysbf(J, 3.0f), 1.5f);
  // Nodes outside the grid have no function.
  EXPECT_EQ(ybf(0, 0.0f), 0.0f);
  EXPECT_EQ(ybf(12, 10.0f), 0.0f);
}

// The position-unit derivatives are the node-unit ones over the spacing.
TEST_F(BasisTest, PositionAndNodeDerivativesAgree) {
  grid(6, 0.0f, 3.0f, 10, 21, 1.0f, 2.0f);
  for (int J = 1; J <= 7; ++J)
    for (float y = 0.0f; y <= 3.0f; y += 0.125f) {
      EXPECT_NEAR(dybf(J, y), dysbf(J, y) / 0.5f, 1e-5f) << J << " " << y;
      EXPECT_NEAR(ddybf(J, y), ddysbf(J, y) / 0.25f, 1e-4f) << J << " " << y;
    }
}

// Every basis function meets the boundary condition of its end's type.
// n is the outward normal: d/dn = -d/dx at YNB and +d/dx at YNT.
struct BoundaryCase {
  int type;
  float ybcwl;  // boundary length scale, position units
};

class BoundaryConditionTest : public SplineTest, public ::testing::WithParamInterface<BoundaryCase> {};

TEST_P(BoundaryConditionTest, HoldsForEveryBasisFunctionAtBothEnds) {
  const BoundaryCase bcase = GetParam();
  const float dy = 2.0f;
  grid(8, 0.0f, 16.0f, bcase.type, bcase.type, bcase.ybcwl, bcase.ybcwl);
  const float s = bcase.ybcwl / (6.2831855f * dy);  // length scale in node spacings / 2 pi
  for (int end = 0; end < 2; ++end) {
    const float y = end == 0 ? 0.0f : 16.0f;
    const float sign = end == 0 ? -1.0f : 1.0f;
    for (int J = 1; J <= 9; ++J) {
      const float f = ybf(J, y);
      const float fn = sign * dysbf(J, y);
      const float fnn = ddysbf(J, y);
      float residual = 0;
      switch (bcase.type) {
        case 0: residual = f; break;
        case 1: residual = fn; break;
        case 2: residual = fnn; break;
        case 10: residual = f + s * fn; break;
        case 20: residual = f + s * s * fnn; break;
        case 21: residual = fn + s * fnn; break;
      }
      // Terms are of order 1; single-precision cancellation leaves ~1e-7.
      EXPECT_NEAR(residual, 0.0f, 2e-6f) << "type " << bcase.type << " end " << end << " J " << J;
    }
  }
  // Values at the lower end carry the folded virtual node.
  EXPECT_FLOAT_EQ(ybf(1, 0.0f), 1.0f + sp2bcdc().A1);
  EXPECT_FLOAT_EQ(ybf(2, 0.0f), 0.25f + sp2bcdc().B1);
}

INSTANTIATE_TEST_SUITE_P(Types, BoundaryConditionTest,
                         ::testing::Values(BoundaryCase{0, 0}, BoundaryCase{1, 0}, BoundaryCase{2, 0},
                                           BoundaryCase{10, 7.0f}, BoundaryCase{20, 7.0f},
                                           BoundaryCase{21, 7.0f}));

TEST_F(BasisTest, LargestGridAccepted) {
  grid(239, 0.0f, 239.0f);
  EXPECT_EQ(sp2node().NX, 240);
  EXPECT_FLOAT_EQ(sp2node().Y(240), 239.0f);
}

TEST_F(BasisTest, ComponentCheck) {
  setkpx(2);
  pridspk(0);  // 1..4 passes
  setkpx(4);
  pridspk(0);
  EXPECT_EQ(sp2komp().KPX, 4);
}

TEST_F(BasisTest, SettersOnlyStore) {
  setspid("TRACK 7 TEMPERATURE");
  setspnd(5, 1.0f, 6.0f);
  EXPECT_EQ(sp2pric().identification.trimmed(), "TRACK 7 TEMPERATURE");
  EXPECT_EQ(sp2pric().identification.size(), 121u);
  EXPECT_EQ(sp2node().NX, 0);  // nothing derived before splover
}

}  // namespace
}  // namespace spline::test
