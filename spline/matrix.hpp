// Matrix utilities of the spline package: the working order, conversion of
// band rows to full matrices, dense products of square matrices and the
// double-precision Gauss-Jordan inversion with complete pivoting.
//
// Every operation works on the leading N x N block of 240 x 240 column-major
// tables, N being the order set by the last `pasdexx`. Band rows hold the
// diagonal and three superdiagonals of a symmetric matrix: R(i, d) = M(i, i+d-1).
#pragma once

#include <span>

#include "spline/areas.hpp"

namespace spline {

// Saved state of the inversion entry: double-precision copies of the matrix
// and of its inverse.
struct InversionState {
  DMatrix bsd;
  DMatrix csd;
};
InversionState& inversion_state();

// Largest decimal exponent of the determinant the inversion accepts.
inline constexpr int iexmax = 38;

// Sets the working order N. Stops the program (PASDEXX) for N > 240.
void pasdexx(int N);

// Y := Y + M X, M the symmetric matrix of the band rows R (X may be Y).
void anrxnsa(const BandRows& R, const Matrix& X, Matrix& Y);
// Y := M X.
void anrxns0(const BandRows& R, const Matrix& X, Matrix& Y);
// S(i, j) += M(i, j) for |i - j| <= 3; other entries unchanged.
void anrtosa(const BandRows& R, Matrix& S);
// Row by row: S(i, .) := 0, then S(i, j) := M(i, j) for |i - j| <= 3.
void anrtos0(const BandRows& R, Matrix& S);
// As anrtosa / anrtos0, expanding the band with anrtpd instead of anrtod.
void anrtpsa(const BandRows& R, Matrix& S);
void anrtps0(const BandRows& R, Matrix& S);
// SI := inverse of S, computed in double precision. Stops the program
// (ANEGINV) when the matrix is singular or the order is invalid; a
// determinant beyond 10^38 is accepted.
void aneginv(const Matrix& S, Matrix& SI);

// Dense operations. The column forms accept C aliasing B, the row forms C
// aliasing A; the sums over k run from 1 to N in order for every element.
void ansxnsa(const Matrix& A, const Matrix& B, Matrix& C);  // C := C + A B
void ansxns0(const Matrix& A, const Matrix& B, Matrix& C);  // C := A B
void antxnsa(const Matrix& A, const Matrix& B, Matrix& C);  // C := C + A' B
void antxns0(const Matrix& A, const Matrix& B, Matrix& C);  // C := A' B
void ansaxns(const Matrix& A, const Matrix& B, Matrix& C);  // C := C + A B, by rows
void ans0xns(const Matrix& A, const Matrix& B, Matrix& C);  // C := A B, by rows
void anstosa(const Matrix& A, Matrix& B);                   // B := B + A
void anstos0(const Matrix& A, Matrix& B);                   // B := A
void anstps0(const Matrix& A, Matrix& B);                   // B := A' (B may be A)
void clrans(Matrix& S);                                     // S := 0

// Band rows to the full seven-diagonal band D(i, c) = M(i, i+c-4).
void anrtod(const BandRows& R, FullBand& D);
// As anrtod, with D(N, 6) and D(N-1, 7) negated before the corner corrections.
void anrtpd(const BandRows& R, FullBand& D);
// R2 := R with R2(N, 3) and R2(N-1, 4) negated.
void anrtpr0(const BandRows& R, BandRows& R2);
// R := 0 over N rows.
void clranr(BandRows& R);

// General inversion in double precision with complete pivoting.
// A (leading dimension NA) is the input, V (leading dimension NV, not A) the
// inverse; IW needs 2N ints. DET receives the determinant, or, when its
// decimal exponent exceeds 38, that exponent (IER = 1). IER = 33 for a
// singular matrix, 34-36 for an invalid order or leading dimension (also
// when a span is too short for the stated dimensions); the message record
// is written in those cases.
void invmtx(std::span<const double> A, int NA, std::span<double> V, int NV, int N, double& DET,
            std::span<int> IW, int& IER);
// Argument check of invmtx: 0, or 34 (N < 1), 35 (NA < N), 36 (NV < N) with
// its message record.
int ierinv(int N, int NA, int NV);

// x^k for k >= 0 by repeated squaring in single precision (the integer
// powers of the determinant scaling and the constraint weights).
float power_by_squaring(float x, int k);

}  // namespace spline
