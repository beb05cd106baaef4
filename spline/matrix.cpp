#include "spline/matrix.hpp"

#include <cmath>
#include <cstddef>

#include "records/records.hpp"
#include "spline/settings.hpp"

namespace spline {
namespace {

// Values below this magnitude are flushed to zero during elimination and
// when the inverse is narrowed (the single-precision constant, widened).
constexpr double kFlushDouble = static_cast<double>(kFlush);
// The decade step of the determinant: the single-precision 0.1 widened,
// slightly above one tenth.
constexpr double kTenth = static_cast<double>(0.1f);

int order() { return pasdecc().N; }

// The four corner corrections couple the band entries past the last row
// back to the first rows; for band rows built by the analysis they are zero.
void corner_corrections(FullBand& D, int N) {
  if (N < 2) return;
  D(1, 5) += D(N, 6);
  D(2, 3) -= D(N, 6);
  D(N - 1, 5) += D(N - 1, 7);
  D(N, 3) -= D(N - 1, 7);
}

void band_copy(const BandRows& R, FullBand& D, int N) {
  for (int d = 1; d <= 4; ++d)
    for (int i = 1; i <= N; ++i) D(i, 3 + d) = R(i, d);
  for (int k = 1; k <= 3; ++k)
    for (int i = k + 1; i <= N; ++i) D(i, 4 - k) = R(i - k, k + 1);
}

// Writes the band D into S: `accumulate` adds, otherwise each row is
// cleared first.
void band_to_full(const FullBand& D, Matrix& S, bool accumulate) {
  const int N = order();
  for (int i = 1; i <= N; ++i) {
    if (!accumulate)
      for (int j = 1; j <= N; ++j) S(i, j) = 0.0f;
    const int jlo = i - 3 > 1 ? i - 3 : 1;
    const int jhi = i + 3 < N ? i + 3 : N;
    for (int j = jlo; j <= jhi; ++j) {
      if (accumulate)
        S(i, j) += D(i, j - i + 4);
      else
        S(i, j) = D(i, j - i + 4);
    }
  }
}

// C := (accumulate ? C : 0) + op(A) B, one column of C at a time.
void product_by_columns(const Matrix& A, const Matrix& B, Matrix& C, bool transpose_a,
                        bool accumulate) {
  const int N = order();
  float temp[kNdim];
  for (int j = 1; j <= N; ++j) {
    for (int i = 1; i <= N; ++i) temp[i - 1] = accumulate ? C(i, j) : 0.0f;
    for (int k = 1; k <= N; ++k) {
      const float b = B(k, j);
      for (int i = 1; i <= N; ++i) temp[i - 1] += (transpose_a ? A(k, i) : A(i, k)) * b;
    }
    for (int i = 1; i <= N; ++i) C(i, j) = temp[i - 1];
  }
}

// C := (accumulate ? C : 0) + A B, one row of C at a time.
void product_by_rows(const Matrix& A, const Matrix& B, Matrix& C, bool accumulate) {
  const int N = order();
  float temp[kNdim];
  for (int i = 1; i <= N; ++i) {
    for (int j = 1; j <= N; ++j) temp[j - 1] = accumulate ? C(i, j) : 0.0f;
    for (int k = 1; k <= N; ++k) {
      const float a = A(i, k);
      for (int j = 1; j <= N; ++j) temp[j - 1] += a * B(k, j);
    }
    for (int j = 1; j <= N; ++j) C(i, j) = temp[j - 1];
  }
}

}  // namespace

InversionState& inversion_state() {
  static InversionState state;
  return state;
}

void pasdexx(int N) {
  // Checked before it is stored: an order above the tables must never
  // become the working order.
  if (N > kNdim) {
    rec::write(6, "('0 === PASDEXX FOUND NXX .GT. NDIM ===',3X,2I6)", {N, kNdim});
    splabort("PASDEXX");
  }
  pasdecc() = Pasdecc{N, N - 1, N - 2, N - 3};
}

void anrtod(const BandRows& R, FullBand& D) {
  const int N = order();
  band_copy(R, D, N);
  corner_corrections(D, N);
}

void anrtpd(const BandRows& R, FullBand& D) {
  const int N = order();
  band_copy(R, D, N);
  if (N >= 2) {
    D(N, 6) = -D(N, 6);
    D(N - 1, 7) = -D(N - 1, 7);
  }
  corner_corrections(D, N);
}

void anrtpr0(const BandRows& R, BandRows& R2) {
  const int N = order();
  for (int d = 1; d <= 4; ++d)
    for (int i = 1; i <= N; ++i) R2(i, d) = R(i, d);
  if (N >= 2) {
    R2(N, 3) = -R2(N, 3);
    R2(N - 1, 4) = -R2(N - 1, 4);
  }
}

void clranr(BandRows& R) {
  const int N = order();
  for (int d = 1; d <= 4; ++d)
    for (int i = 1; i <= N; ++i) R(i, d) = 0.0f;
}

void anrtosa(const BandRows& R, Matrix& S) {
  FullBand& D = little().DBAND;
  anrtod(R, D);
  band_to_full(D, S, true);
}

void anrtos0(const BandRows& R, Matrix& S) {
  FullBand& D = little().DBAND;
  anrtod(R, D);
  band_to_full(D, S, false);
}

void anrtpsa(const BandRows& R, Matrix& S) {
  FullBand& D = little().DBAND;
  anrtpd(R, D);
  band_to_full(D, S, true);
}

void anrtps0(const BandRows& R, Matrix& S) {
  FullBand& D = little().DBAND;
  anrtpd(R, D);
  band_to_full(D, S, false);
}

void anrxnsa(const BandRows& R, const Matrix& X, Matrix& Y) {
  Matrix& W = little().SWORK;
  anrtos0(R, W);
  ansxnsa(W, X, Y);
}

void anrxns0(const BandRows& R, const Matrix& X, Matrix& Y) {
  Matrix& W = little().SWORK;
  anrtos0(R, W);
  ansxns0(W, X, Y);
}

void ansxnsa(const Matrix& A, const Matrix& B, Matrix& C) { product_by_columns(A, B, C, false, true); }
void ansxns0(const Matrix& A, const Matrix& B, Matrix& C) { product_by_columns(A, B, C, false, false); }
void antxnsa(const Matrix& A, const Matrix& B, Matrix& C) { product_by_columns(A, B, C, true, true); }
void antxns0(const Matrix& A, const Matrix& B, Matrix& C) { product_by_columns(A, B, C, true, false); }
void ansaxns(const Matrix& A, const Matrix& B, Matrix& C) { product_by_rows(A, B, C, true); }
void ans0xns(const Matrix& A, const Matrix& B, Matrix& C) { product_by_rows(A, B, C, false); }

void anstosa(const Matrix& A, Matrix& B) {
  const int N = order();
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= N; ++i) B(i, j) += A(i, j);
}

void anstos0(const Matrix& A, Matrix& B) {
  const int N = order();
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= N; ++i) B(i, j) = A(i, j);
}

void anstps0(const Matrix& A, Matrix& B) {
  const int N = order();
  if (&A == &B) {  // in place: exchange across the diagonal once
    for (int j = 2; j <= N; ++j)
      for (int i = 1; i < j; ++i) {
        const float t = B(i, j);
        B(i, j) = B(j, i);
        B(j, i) = t;
      }
    return;
  }
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= N; ++i) B(i, j) = A(j, i);
}

void clrans(Matrix& S) {
  const int N = order();
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= N; ++i) S(i, j) = 0.0f;
}

int ierinv(int N, int NA, int NV) {
  int code = 0;
  rec::FixedText<24> text;
  if (N < 1) {
    code = 34;
    text = " N .LT. 1 IN INVMTX     ";
  } else if (NA < N) {
    code = 35;
    text = "NA .LT. N IN INVMTX     ";
  } else if (NV < N) {
    code = 36;
    text = " NV .LT. N IN INVMTX    ";
  }
  if (code != 0) rec::write(6, "('0 ....  ERROR IN IERINV NO. ',I3,4X,A24)", {code, text});
  return code;
}

void invmtx(std::span<const double> A, int NA, std::span<double> V, int NV, int N, double& DET,
            std::span<int> IW, int& IER) {
  IER = ierinv(N, NA, NV);
  if (IER != 0) return;
  // The spans must hold the N columns their leading dimensions describe.
  const auto needed = [N](int lead) {
    return static_cast<std::size_t>(lead) * static_cast<std::size_t>(N - 1) + static_cast<std::size_t>(N);
  };
  if (A.size() < needed(NA)) {
    IER = ierinv(N, N - 1, NV);
    return;
  }
  if (V.size() < needed(NV) || IW.size() < 2 * static_cast<std::size_t>(N)) {
    IER = ierinv(N, NA, N - 1);
    return;
  }

  const std::size_t lv = static_cast<std::size_t>(NV);
  const auto v = [&V, lv](int i, int j) -> double& {
    return V[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * lv];
  };
  const auto iw = [&IW](int i) -> int& { return IW[static_cast<std::size_t>(i - 1)]; };

  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= N; ++i)
      v(i, j) = A[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(NA)];
  for (int i = 1; i <= N; ++i) iw(i) = 0;
  DET = 1.0;
  int K = 0;
  double tol = 0.0;

  for (int m = 1; m <= N; ++m) {
    // Complete pivoting over the rows and columns not yet used; the first
    // largest entry in column-then-row order wins.
    int r = 0;
    int c = 0;
    double best = 0.0;
    for (int cc = 1; cc <= N; ++cc) {
      if (iw(cc) != 0) continue;
      for (int rr = 1; rr <= N; ++rr) {
        if (iw(rr) != 0) continue;
        const double a = std::fabs(v(rr, cc));
        if (a > best) {
          best = a;
          r = rr;
          c = cc;
        }
      }
    }
    // An infinite entry would be chosen as the pivot, but no inverse can be
    // formed from it (and the decade scaling of the determinant below would
    // never end): it counts as singular, as NaN entries already do by never
    // being chosen.
    bool singular = r == 0 || !std::isfinite(v(r, c));
    double piv = 0.0;
    if (!singular) {
      iw(c) = r;
      iw(N + m) = c;
      // The determinant is kept below 1 in magnitude; K counts the decades.
      DET = DET * v(r, c);
      while (std::fabs(DET) > 1.0) {
        DET = DET * kTenth;
        ++K;
      }
      piv = v(r, c);
      if (m == 1) tol = static_cast<double>(static_cast<float>(std::fabs(piv)));
      singular = std::fabs(piv / static_cast<double>(m)) + tol == tol;
    }
    if (singular) {
      IER = 33;
      const rec::FixedText<34> text("MATRIX SINGULAR IN INVMTX");
      rec::write(6, "('0  ....  ERROR NO. ',I4,' IN INVMTX',4X,A34)", {IER, text});
      return;
    }

    // Bring the pivot row to row c and scale it.
    v(r, c) = 1.0;
    for (int j = 1; j <= N; ++j) {
      const double t = v(r, j);
      v(r, j) = v(c, j);
      v(c, j) = t / piv;
    }
    // Eliminate column c from every other row. The multipliers stay in
    // column c while the other columns are updated; column c itself, whose
    // old entries are replaced by zero before the update, comes last.
    for (int i = 1; i <= N; ++i) {
      if (i != c && std::fabs(v(i, c)) < kFlushDouble) v(i, c) = 0.0;
    }
    for (int j = 1; j <= N; ++j) {
      if (j == c) continue;
      const double vcj = v(c, j);
      for (int i = 1; i <= N; ++i) {
        if (i == c) continue;
        const double f = v(i, c);
        if (f != 0.0) v(i, j) = v(i, j) - vcj * f;
      }
    }
    const double vcc = v(c, c);
    for (int i = 1; i <= N; ++i) {
      if (i == c) continue;
      const double f = v(i, c);
      v(i, c) = 0.0 - vcc * f;
    }
  }

  // Undo the row exchanges as column exchanges, in reverse order.
  for (int i = 1; i <= N; ++i) {
    const int c = iw(2 * N + 1 - i);
    const int r = iw(c);
    if (r != c) {
      DET = -DET;
      for (int k = 1; k <= N; ++k) {
        const double t = v(k, r);
        v(k, r) = v(k, c);
        v(k, c) = t;
      }
    }
  }

  if (K > iexmax) {
    IER = 1;
    DET = K;
  } else {
    DET = DET * static_cast<double>(power_by_squaring(10.0f, K));
  }
}

void aneginv(const Matrix& S, Matrix& SI) {
  const int N = order();
  InversionState& st = inversion_state();
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= N; ++i) st.bsd(i, j) = static_cast<double>(S(i, j));
  double DET = 0.0;
  int IER = 0;
  invmtx(std::span<const double>(st.bsd.v), kNdim, std::span<double>(st.csd.v), kNdim, N, DET,
         std::span<int>(little().IW), IER);
  if (IER > 1) {
    rec::write(6, "('0 === ANEGINV/INVMTX FOUND BS TO BE SINGULAR.   IER=',I2,3X,D12.3)", {IER, DET});
    splabort("ANEGINV");
  }
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= N; ++i) {
      const double c = st.csd(i, j);
      SI(i, j) = std::fabs(c) < kFlushDouble ? 0.0f : static_cast<float>(c);
    }
}

// x^k for k >= 0 by repeated squaring in single precision.
float power_by_squaring(float x, int k) {
  float result = 1.0f;
  while (k > 0) {
    if (k & 1) result *= x;
    k >>= 1;
    if (k > 0) x *= x;
  }
  return result;
}

}  // namespace spline
