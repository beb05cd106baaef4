// Shared areas of the spline analysis package.
//
// The package keeps its whole state in fixed-capacity, process-wide areas and
// is therefore single-instance: one analysis at a time. Each area is one
// plainly declared struct reached through its accessor; `reset_areas()` puts
// every area and every routine group's saved state back to its program-start
// value (tests call it between cases).
//
// Index conventions: the two-dimensional arrays keep the column-major,
// 1-based addressing of the analysis (`BS(i, j)`, `CS(k, j)`), so the formulas
// of the routines read as they are derived. Small fixed pairs such as the two
// boundary types are plain 0-based arrays: `KBCTYP[0]` is the lower end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdlib>

#include "records/fixed_text.hpp"

namespace spline {

inline constexpr int kNdim = 240;     // NDIM: maximum number of nodes
inline constexpr int kLdxDim = 3600;  // LDXDIM: maximum number of stored data points
inline constexpr int kKdtDim = 2;     // KDTDIM: data components held in CS and DV
inline constexpr int kKvDim = 4;      // KVDIM: components accepted by the range check of splimbo
inline constexpr int kJxbfDim = 8;    // JXBFDIM: sub-points per interval in node evaluation
inline constexpr float kMissing = -999.0f;

// A column-major R x C table addressed from 1, as the analysis writes it.
// Builds with SPLINE_BOUNDS_CHECK (the sanitizer build) abort on an index
// outside the table: the areas sit next to each other, so an overrun would
// otherwise land silently in the neighbouring array.
template <typename T, int R, int C>
struct Table2 {
  static constexpr int kRows = R;
  static constexpr int kCols = C;
  std::array<T, static_cast<std::size_t>(R) * C> v{};

  T& operator()(int i, int j) { return v[index(i, j)]; }
  const T& operator()(int i, int j) const { return v[index(i, j)]; }
  T* data() { return v.data(); }
  const T* data() const { return v.data(); }

  static std::size_t index(int i, int j) {
#ifdef SPLINE_BOUNDS_CHECK
    if (i < 1 || i > R || j < 1 || j > C) std::abort();
#endif
    return static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * R;
  }
};

// A 1-based vector of N elements.
template <typename T, int N>
struct Table1 {
  std::array<T, N> v{};
  T& operator()(int i) { return v[index(i)]; }
  const T& operator()(int i) const { return v[index(i)]; }
  static std::size_t index(int i) {
#ifdef SPLINE_BOUNDS_CHECK
    if (i < 1 || i > N) std::abort();
#endif
    return static_cast<std::size_t>(i - 1);
  }
};

using Matrix = Table2<float, kNdim, kNdim>;     // full matrix of working order N
using BandRows = Table2<float, kNdim, 4>;       // R(i, d) = M(i, i+d-1)
using FullBand = Table2<float, kNdim, 7>;       // D(i, c) = M(i, i+c-4)
using Coeffs = Table2<float, kKdtDim, kNdim>;   // C(k, j): component k, node j
using NodeFields = Table2<float, 4, kNdim>;     // FNODE(f, i)
using DMatrix = Table2<double, kNdim, kNdim>;

// sp2pric: the analysis settings as the setters stored them.
struct Sp2pric {
  int NXX = 0;                   // number of node intervals
  int KDCTYP = 0;                // order of the derivative constraint
  std::array<int, 2> KBCTYP{};   // boundary type at YNB, at YNT
  float YNB = 0;                 // position of the first node
  float YNT = 0;                 // position of the last node
  float YDCWL = 0;               // filter cutoff wavelength
  std::array<float, 2> YBCWL{};  // boundary length scales at YNB, at YNT
  rec::FixedText<121> identification;
};

// sp2node: the node grid derived by splover.
struct Sp2node {
  int NX = 0;       // number of nodes, NXX + 1
  float DELTAY = 0; // node spacing
  Table1<float, kNdim> Y;
};

// sp2bcdc: coefficients derived by splover.
struct Sp2bcdc {
  float inv_dy = 0;    // 1/DELTAY
  float three_dy = 0;  // 3/DELTAY
  float six_dy2 = 0;   // 6/DELTAY^2
  float A1 = 0, B1 = 0;  // lower-end folding weights of the virtual node (times 1/4)
  float A2 = 0, B2 = 0;  // upper-end folding weights
  float SIGMA = 0;       // YDCWL / (2 pi DELTAY)
};

// sp2komp: number of analysed components.
struct Sp2komp {
  int KPX = 4;
};

// sp2dtpt: the stored data points.
struct Sp2dtpt {
  int LDX = 0;
  Table1<float, kLdxDim> YD;  // positions
  Table1<float, kLdxDim> WD;  // weights; > 0 takes part, above 1 acts as 1
};

// big: the large arrays of one analysis.
struct Big {
  Coeffs CS;                               // spline coefficients
  Table2<float, kKdtDim, kLdxDim> DV;      // data values, mean removed
  NodeFields FNODE;                        // node values (1-2) and derivatives (3-4)
  Matrix BS;                               // normal matrix
  Matrix BSINV;                            // its inverse
};

// sp2dchr: description of the stored point set (tag in columns 1-8).
struct Sp2dchr {
  rec::FixedText<80> text;
};

// sp2macq: loop bounds of the constraint assembly, set by splimac.
struct Sp2macq {
  int nx_plus_1 = 0, nxx_minus_1 = 0, nxx_minus_2 = 0, nxx_minus_3 = 0;
};

// sp2qrbg: QRBG(r, d, n+1), integrals of products of n-th derivatives of the
// basis functions of two nodes d-1 apart, by node class r.
struct Sp2qrbg {
  float QRBG[4][4][5]{};  // [n][d-1][r-1]
  float& q(int r, int d, int m) { return QRBG[m - 1][d - 1][r - 1]; }
  float q(int r, int d, int m) const { return QRBG[m - 1][d - 1][r - 1]; }
};

// pasdecc: working order of the matrix utilities.
struct Pasdecc {
  int N = 0, N1 = 0, N2 = 0, N3 = 0;
};

// little: scratch of the band operations and the inversion.
struct Little {
  Matrix SWORK;
  FullBand DBAND;
  // Integer work of the inversion (pivot rows and the order of pivot
  // columns), 2 per node.
  std::array<int, 2 * kNdim> IW{};
};

// means: component means removed from the data.
struct Means {
  std::array<float, kKdtDim> m{};
};

Sp2pric& sp2pric();
Sp2node& sp2node();
Sp2bcdc& sp2bcdc();
Sp2komp& sp2komp();
Sp2dtpt& sp2dtpt();

// Magnitude below which a computed value counts as zero when it enters the
// normal matrix, the inverse or the node fields.
inline constexpr float kFlush = 1.0e-18f;

// Number of observations held, however many were offered (LDX may exceed
// the table when too many arrived; only LDXDIM of them are stored).
inline int stored_count() {
  const int ldx = sp2dtpt().LDX;
  return ldx < kLdxDim ? ldx : kLdxDim;
}
Big& big();
Sp2dchr& sp2dchr();
Sp2macq& sp2macq();
Sp2qrbg& sp2qrbg();
Pasdecc& pasdecc();
Little& little();
Means& means();

// Puts every shared area and every saved state of the package back to its
// program-start value.
void reset_areas();

// Node position Y(j), or 0 for an index outside the node table.
float node_y(int j);

// Truncates toward zero like a real-to-integer conversion, but saturates
// far outside any grid (and maps NaN to 0) instead of overflowing.
int trunc_index(float v);

}  // namespace spline
