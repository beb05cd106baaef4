// Normal equations of the analysis: the weighted products of basis functions
// over the stored data points plus the smoothness constraint, the integral
// of the squared n-th derivative of the field (n = 2 or 3) scaled by
// SIGMA^(2n). Accumulated as band rows, expanded once to the full matrix BS
// and inverted into BSINV.
#pragma once

#include "spline/areas.hpp"

namespace spline {

// Saved state of the matrix group.
struct MatrixGroupState {
  BandRows rowm;  // band of BS as rows: rowm(j, d) = BS(j, j+d-1)
  int ld = 0;     // stored points already accumulated
  float dy0 = 0;  // 1/DELTAY
};
MatrixGroupState& matrix_group_state();

// Integrals over one node interval of products of n-th derivatives
// (index n = 0..3) of the four cubic pieces non-zero there: I(x), the basis
// of the interval's left node, O(x), the basis one node further left, and
// their mirror images.
inline constexpr float qo11[4] = {297.0f / 560.0f, 51.0f / 80.0f, 9.0f / 4.0f, 81.0f / 4.0f};
inline constexpr float qo12[4] = {129.0f / 2240.0f, 21.0f / 160.0f, -9.0f / 8.0f, -27.0f / 4.0f};
inline constexpr float qo22[4] = {1.0f / 112.0f, 9.0f / 80.0f, 3.0f / 4.0f, 9.0f / 4.0f};
inline constexpr float qp11[4] = {933.0f / 2240.0f, -87.0f / 160.0f, -9.0f / 8.0f, -81.0f / 4.0f};
inline constexpr float qp12[4] = {3.0f / 112.0f, -9.0f / 40.0f, 0.0f, 27.0f / 4.0f};
inline constexpr float qp22[4] = {1.0f / 2240.0f, -3.0f / 160.0f, 3.0f / 8.0f, -9.0f / 4.0f};

// Fills QRBG from the interval integrals, the boundary weights and SIGMA.
void spliqbg();
void spliqbp();  // same as spliqbg
// Adds the constraint band of order KDCTYP to the band rows R. Stops the
// program (SPLADDQ) for KDCTYP < 2, and for grids of fewer than 4 intervals,
// where the two ends' boundary terms meet in the same rows.
void spladdq(BandRows& R);
// Prepares an accumulation: loop bounds, rejection of stored points outside
// [YNB, YNT] (their weight turns negative, one record each), a cleared band
// and QRBG. Stops the program (SPLIMAC) when no point is left.
void splimac();
// Accumulates the points not yet accumulated, adds the constraint and
// writes the full symmetric matrix to S (order from the last pasdexx).
void getamr(Matrix& S);
// Stores N evenly spaced points of unit weight over the grid (N is limited
// to 0..3600) and describes them in sp2dchr.
void xdtpta(int N);
// Clears BS and BSINV.
void clrade();
void adexxx();  // same as clrade
// BS from the stored points, then BSINV := its inverse.
void caldmm();

}  // namespace spline
