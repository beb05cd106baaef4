// Spline coefficients from the stored data and the inverse normal matrix,
// and evaluation of the analysed field: at single positions (spotino,
// spotder, spotika, spotval) and at evenly spaced points of a node range
// (the splint group, driven by prfkmnd to fill FNODE).
#pragma once

#include <span>
#include <string_view>

#include "records/fixed_text.hpp"
#include "spline/areas.hpp"
#include "spline/settings.hpp"

namespace spline {

// Saved state of the splint group.
struct SplintState {
  enum class In { replace, add, negate_then_add };
  enum class First { interior_only, first_node_and_interior };
  enum class Last { none, endpoint_and_last_interval, last_interval_first_subpoint };

  int nx = 0;        // NX-1
  int nx1 = 0;       // NX-2
  int first = 1;     // first node of the evaluation range
  int nb = 0;        // last node of the evaluation range
  int jx = 0;        // sub-points per interval
  int nail = 2;      // first node of the interior formula
  int nbil1 = 1;     // last node of the interior formula, first sub-point
  int nbil2 = 1;     // last node of the interior formula, other sub-points
  int nfdim0 = 0;    // output points required
  int jxbf0 = 0;     // jx at the last splintd
  In in_mode = In::replace;
  bool negate_out = false;
  First first_part = First::interior_only;
  Last last_part = Last::none;
  float yb1[8][4]{};   // [p-1][i-1]: basis 1..3 over the first interval (i = 2..4)
  float ybn[8][4]{};   // basis 2..5 over the interval from Y(3)
  float ybx[8][3]{};   // basis NX-2..NX over the last interval
  float ybxx[2]{};     // basis NX-1, NX at the last node
  rec::FixedText<7> routine{"SPLINT "};
};
SplintState& splint_state();

// Coefficients CS(k, .) for components min(K1,K2)..max(K1,K2) from the
// stored data values DV and BSINV. Stops the program (SPLIMBO) for a
// component outside 1..2 (the record names the limit: 4 for components
// above 4, otherwise 2).
void splimbo(int K1, int K2);

// Field value at Y of components K1..K2 of the coefficients C:
// OUT[m-1] for component K1+m-1 (without the component mean). Components
// outside 1..2 have no coefficients and evaluate to 0; OUT receives at most
// its size.
void spotino(float Y, const Coeffs& C, int K1, int K2, std::span<float> OUT);
// As spotino, the derivative per position unit.
void spotder(float Y, const Coeffs& C, int K1, int K2, std::span<float> OUT);
// Same result as spotino.
void spotika(float Y, const Coeffs& C, int K1, int K2, std::span<float> OUT);
// Analysed value (mean added back) and derivative per position unit of the
// first KDAT components at Y, from CS.
void spotval(float Y, int KDAT, std::span<float> VAL, std::span<float> DER);

// Sets the evaluation range N1..N2 (either order) and N3 sub-points per
// interval (at least 1, at most 8). Stops the program (SPLINTA) for a range
// outside the grid, too many sub-points, or a grid of fewer than 5 nodes.
void splinta(const Coeffs& A, int N1, int N2, int N3);
// Tabulates the basis function F for the evaluation.
void splintd(BasisFunction F);
// Chooses the modes of the next evaluation: OUT := so*s + si*OUT, s the
// evaluated spline, so = -1 if ISOUT < 0 else +1, si = sign(ISIN).
void splints(int ISIN, int ISOUT);
// Evaluates component KPA of C at the points of the range into row KPF of
// OUT, a KPFDIM x NFDIM column-major table. Point q (from 1) is the
// position Y(first) + (q-1) DELTAY/jx; with one sub-point per interval over
// the whole grid, point q is node q. Stops the program (SPLINTO) for KPA
// outside 1..2, a table too small for the range (KPF outside 1..KPFDIM,
// NFDIM below the point count, or OUT shorter than KPFDIM x NFDIM), or a
// sub-point count changed since splintd.
void splinto(const Coeffs& C, int KPA, std::span<float> OUT, int KPFDIM, int NFDIM, int KPF);
// As splinto, keeping the routine name of the stop.
void splint(const Coeffs& C, int KPA, std::span<float> OUT, int KPFDIM, int NFDIM, int KPF);
// FN(k, i) := value, FN(k+2, i) := derivative per position unit of component
// k at node i, k = K1..K2, without the component means.
void prfkmnd(const Coeffs& C, NodeFields& FN, int K1, int K2);

}  // namespace spline
