// The front door of the spline package: grid choice for a filter
// wavelength (vicsetup, vicsetup2) and one complete filtered analysis of
// scattered observations of one or two quantities (vicspl).
//
// After vicspl returns with IERR = 0 the results stay in the shared areas
// until the next analysis: FNODE(k, i) is the analysed value of component k
// at node Y(i) with the component mean removed, FNODE(k+2, i) its
// derivative per position unit, means().m[k-1] the removed mean, and
// spotval evaluates the analysis anywhere on the grid.
//
// Missing values in every input are marked by exactly -999.0.
#pragma once

#include <span>

#include "spline/areas.hpp"

namespace spline {

// Runs one filtered analysis with a third-derivative constraint of cutoff
// wavelength YDCWL on NXX intervals from YNB to YNT. `values` is a
// column-major NXPDIM x KDAT table. IERR = 1 when the input is rejected
// (see xdatz). A filter-to-spacing ratio outside 2..15 writes its record and
// ends the program normally, as does every fatal condition of the package.
void vicspl(std::span<const float> positions, std::span<const float> weights,
            std::span<const float> values, int NXP, int NXPDIM, int KDAT, float YNB, float YNT,
            int NXX, float YDCWL, int KBCTYP1, int KBCTYP2, float YBCWL1, float YBCWL2, int& IERR);

// Stores the valid observations (no missing position or value) in sp2dtpt
// and DV with the component means removed. IERR = 1 with a record for
// KDAT outside 1..2, NXPDIM < NXP (or arrays shorter than NXP / NXPDIM x
// KDAT), more than 3600 valid observations; silently for fewer than 2.
// YNB and YNT are not read.
void xdatz(int KDAT, int NXP, int NXPDIM, std::span<const float> positions,
           std::span<const float> weights, std::span<const float> values, float YNB, float YNT,
           Table2<float, kKdtDim, kLdxDim>& DV, int& IERR);

// Solves the normal equations of the stored points: splimac, pasdexx(NX),
// clrade, caldmm.
void splargo();

// Chooses a grid over the extent of the positions for the filter
// wavelength YDCWL: between RATMIN and 15 node spacings per wavelength, at
// most 240 nodes and at least one observation per node. IPRT != 0 writes a
// summary record. IERR = 1 (with a record) when no grid fits.
void vicsetup(std::span<const float> positions, int NXP, float YDCWL, int& NXX, float& YNB, float& YNT,
              float RATMIN, int& IERR, int IPRT);
// As vicsetup, ignoring positions whose FLAG equals FLAGX for the extent.
void vicsetup2(std::span<const float> positions, std::span<const float> FLAG, int NXP, float YDCWL,
               int& NXX, float& YNB, float& YNT, float RATMIN, int& IERR, int IPRT, float FLAGX);

void xprakmn(const Coeffs& A, int K1, int K2);  // no effect

// Splits a date yymmdd and a clock time hhmm (both reals) into year, month,
// day and decimal hours.
void xtimesp(float DATE, float TIME, int& IY, int& IM, int& ID, float& HOURS);

}  // namespace spline
