// Band conversion, dense products and the double-precision inversion.
#include <cmath>
#include <memory>
#include <vector>

#include "spline/tests/test_support.hpp"

namespace spline::test {
namespace {

class MatrixTest : public SplineTest {
 protected:
  static Matrix& S() { return big().BS; }
  static Matrix& SI() { return big().BSINV; }
  // Matrices are 230 kB each: kept off the stack.
  static std::unique_ptr<Matrix> fresh(const Matrix& from = Matrix{}) {
    return std::make_unique<Matrix>(from);
  }
};

TEST_F(MatrixTest, IdentityInvertsToItself) {
  pasdexx(5);
  for (int i = 1; i <= 5; ++i) S()(i, i) = 1.0f;
  std::vector<double> a(25, 0.0), v(25, 0.0);
  for (int i = 0; i < 5; ++i) a[static_cast<std::size_t>(i * 6)] = 1.0;
  std::vector<int> iw(10);
  double det = 0;
  int ier = -1;
  invmtx(a, 5, v, 5, 5, det, iw, ier);
  EXPECT_EQ(ier, 0);
  EXPECT_EQ(det, 1.0);
  EXPECT_EQ(v, a);
  aneginv(S(), SI());
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(SI()(i, j), i == j ? 1.0f : 0.0f);
}

// The determinant is carried as a mantissa below 1 and a decade count,
// stepped with the single-precision 0.1: 10^3 counts 4 decades.
TEST_F(MatrixTest, DeterminantDecades) {
  std::vector<double> a(9, 0.0), v(9);
  a[0] = a[4] = a[8] = 10.0;
  std::vector<int> iw(6);
  double det = 0;
  int ier = -1;
  invmtx(a, 3, v, 3, 3, det, iw, ier);
  EXPECT_EQ(ier, 0);
  EXPECT_GT(det, 1000.0);
  EXPECT_NEAR(det, 1000.0, 1e-3);
  EXPECT_DOUBLE_EQ(v[0], 0.1);
}

TEST_F(MatrixTest, DeterminantBeyondRangeStillDeliversInverse) {
  pasdexx(50);
  for (int i = 1; i <= 50; ++i) S()(i, i) = 10.0f;
  aneginv(S(), SI());  // IER 1 is accepted
  for (int i = 1; i <= 50; ++i) EXPECT_FLOAT_EQ(SI()(i, i), 0.1f);
  EXPECT_EQ(SI()(1, 2), 0.0f);

  std::vector<double> a(2500, 0.0), v(2500);
  for (std::size_t i = 0; i < 50; ++i) a[i * 51] = 10.0;
  std::vector<int> iw(100);
  double det = 0;
  int ier = -1;
  invmtx(a, 50, v, 50, 50, det, iw, ier);
  EXPECT_EQ(ier, 1);
  EXPECT_EQ(det, 51.0);  // one decade more than the true exponent
}

// A non-finite entry leaves no usable inverse. An infinite one is the
// largest pivot, and scaling an infinite determinant down by decades never
// brings it below one; a NaN one spreads through the elimination until no
// pivot is left. Either way the matrix is reported singular, in bounded time.
TEST_F(MatrixTest, NonFiniteEntryIsSingular) {
  for (const double bad : {HUGE_VAL, -HUGE_VAL, std::nan("")}) {
    for (const std::size_t at : {0u, 1u}) {  // on the diagonal, or below it
      std::vector<double> a = {2, 0, 0, 0, 1, 0, 0, 0, 3};
      a[at] = bad;
      std::vector<double> v(9);
      std::vector<int> iw(6);
      double det = 0;
      int ier = -1;
      invmtx(a, 3, v, 3, 3, det, iw, ier);
      EXPECT_EQ(ier, 33) << bad << " at " << at;
    }
  }
  pasdexx(3);
  S()(1, 1) = 1.0f;
  S()(2, 2) = HUGE_VALF;
  S()(3, 3) = 1.0f;
  EXPECT_THROW(aneginv(S(), SI()), Stopped);
}

// Pivoting exchanges rows; undoing them flips the determinant's sign.
TEST_F(MatrixTest, PermutationAndGeneralMatrix) {
  std::vector<double> a = {0, 1, 0, 0, 0, 1, 1, 0, 0};  // column-major cyclic permutation
  std::vector<double> v(9);
  std::vector<int> iw(6);
  double det = 0;
  int ier = -1;
  invmtx(a, 3, v, 3, 3, det, iw, ier);
  EXPECT_EQ(ier, 0);
  EXPECT_EQ(det, 1.0);
  // The inverse of a permutation is its transpose.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(v[static_cast<std::size_t>(i + 3 * j)], a[static_cast<std::size_t>(j + 3 * i)]);

  // A dense non-symmetric matrix with leading dimensions above the order.
  const int n = 4, na = 6, nv = 5;
  std::vector<double> b(static_cast<std::size_t>(na * n), 99.0), w(static_cast<std::size_t>(nv * n), 0.0);
  const double m[4][4] = {{2, -1, 0, 3}, {1, 4, -2, 0}, {0, 5, 1, 1}, {-3, 0, 2, 6}};
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) b[static_cast<std::size_t>(i + na * j)] = m[i][j];
  std::vector<int> iw2(8);
  invmtx(b, na, w, nv, n, det, iw2, ier);
  EXPECT_EQ(ier, 0);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double s = 0;
      for (int k = 0; k < n; ++k) s += m[i][k] * w[static_cast<std::size_t>(k + nv * j)];
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-12);  // double precision, order 4
    }
  // Cofactor expansion gives 258; each of the 3 decade steps with the
  // widened single-precision 0.1 adds 1.5e-8 relative.
  EXPECT_NEAR(det, 258.0, 258.0 * 1e-7);
}

TEST_F(MatrixTest, BandRowsExpandToSymmetricMatrix) {
  pasdexx(6);
  BandRows R;
  for (int i = 1; i <= 6; ++i) {
    R(i, 1) = 2.0f;
    if (i < 6) R(i, 2) = -1.0f;
  }
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) S()(i, j) = 7.0f;  // stale contents must go
  anrtos0(R, S());
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      const float expect = i == j ? 2.0f : (std::abs(i - j) == 1 ? -1.0f : 0.0f);
      EXPECT_EQ(S()(i, j), expect) << i << "," << j;
    }
  anrtosa(R, S());
  EXPECT_EQ(S()(3, 3), 4.0f);
  EXPECT_EQ(S()(1, 6), 0.0f);

  // The band times a matrix agrees with the expansion.
  auto xp = fresh(), yp = fresh();
  Matrix& x = *xp;
  Matrix& y = *yp;
  for (int i = 1; i <= 6; ++i) x(i, 1) = static_cast<float>(i);
  anrxns0(R, x, y);
  EXPECT_EQ(y(1, 1), 0.0f);  // 2*1 - 2
  EXPECT_EQ(y(3, 1), 0.0f);
  EXPECT_EQ(y(6, 1), 7.0f);  // -5 + 12
}

TEST_F(MatrixTest, DenseProducts) {
  pasdexx(3);
  auto ap = fresh(), bp = fresh(), cp = fresh();
  Matrix &A = *ap, &B = *bp, &C = *cp;
  int n = 1;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) {
      A(i, j) = static_cast<float>(n++);
      B(i, j) = static_cast<float>(i == j ? 2 : (i + j) % 3);
    }
  ansxns0(A, B, C);
  auto rp = fresh();
  Matrix& byrows = *rp;
  ans0xns(A, B, byrows);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      float s = 0;
      for (int k = 1; k <= 3; ++k) s += A(i, k) * B(k, j);
      EXPECT_EQ(C(i, j), s);
      EXPECT_EQ(byrows(i, j), s);
    }
  // Column forms may overwrite B, row forms A.
  auto b2 = fresh(B), a2 = fresh(A);
  Matrix &B2 = *b2, &A2 = *a2;
  ansxns0(A, B2, B2);
  ans0xns(A2, B, A2);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      EXPECT_EQ(B2(i, j), C(i, j));
      EXPECT_EQ(A2(i, j), C(i, j));
    }
  auto tp = fresh(), atp = fresh(), t2p = fresh(), ainp = fresh(A);
  Matrix &T = *tp, &At = *atp, &T2 = *t2p, &Ain = *ainp;
  antxns0(A, B, T);
  anstps0(A, At);
  ansxns0(At, B, T2);
  anstps0(Ain, Ain);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      EXPECT_EQ(T(i, j), T2(i, j));
      EXPECT_EQ(Ain(i, j), A(j, i));
    }
  ansxnsa(A, B, C);  // C = 2 AB
  anstosa(T, T2);    // T2 = 2 A'B
  EXPECT_EQ(C(2, 2), 2 * byrows(2, 2));
  EXPECT_EQ(T2(1, 3), 2 * T(1, 3));
  clrans(C);
  EXPECT_EQ(C(3, 3), 0.0f);
}

TEST_F(MatrixTest, InvalidOrderCodes) {
  std::vector<double> a(4, 1.0), v(4);
  std::vector<int> iw(4);
  double det = 0;
  int ier = 0;
  EXPECT_EQ(ierinv(2, 2, 2), 0);
  // The argument checks write their record; the code comes back.
  invmtx(a, 2, v, 2, 3, det, iw, ier);  // NA < N
  EXPECT_EQ(ier, 35);
  invmtx(a, 2, v, 2, 0, det, iw, ier);
  EXPECT_EQ(ier, 34);
  invmtx(a, 2, v, 1, 2, det, iw, ier);
  EXPECT_EQ(ier, 36);
}

}  // namespace
}  // namespace spline::test
