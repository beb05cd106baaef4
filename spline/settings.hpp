// Analysis settings, node grid, component count, basis functions and the
// package's fatal stop.
//
// The setters only store; `splover` derives the node grid (sp2node), the
// scale and boundary coefficients (sp2bcdc) and the boundary length scales
// in node units. Every other routine of the package reads those areas, so
// `splover` must run again after any setter.
#pragma once

#include <array>
#include <string_view>

#include "spline/areas.hpp"

namespace spline {

// Saved state of the settings group: YBCWL(k) / (2 pi DELTAY), the boundary
// length scales in node spacings divided by 2 pi.
struct SettingsState {
  std::array<float, 2> ysbcpi{};
};
SettingsState& settings_state();

// Stores the free-text identification of the analysis (cut or blank-padded
// to 121 characters).
void setspid(std::string_view text);
// Stores the grid: NXX intervals from YNB to YNT (position units).
void setspnd(int NXX, float YNB, float YNT);
// Stores the constraint order (2 or 3) and the filter cutoff wavelength.
void setspdc(int KDCTYP, float YDCWL);
// Stores the boundary types (0, 1, 2, 10, 20, 21) and length scales at the
// lower and upper ends.
void setspbc(int KBCTYP1, int KBCTYP2, float YBCWL1, float YBCWL2);
// Derives the grid and the coefficients from the stored settings. Stops the
// program (SPLOVER) for more than 240 nodes, for a grid without an interval
// of positive length, or for an undefined boundary type.
void splover();
void proverc();  // no effect
void prsbcdc();  // no effect

// KPX := K, the number of analysed components.
void setkpx(int K);
// Checks KPX; the driver calls it with K = 0, a plain check that KPX is 1..4.
// Stops the program (" SETKPX") otherwise.
void pridspk(int K);
void pridspc();  // no effect
void pridspd();  // no effect

// Basis function J (centred on node J) at position Y, boundary folding
// included. Functions of nodes outside 1..NX are zero.
float ybf(int J, float Y);     // value
float ysbf(int J, float Y);    // value
float dybf(int J, float Y);    // first derivative per position unit
float dysbf(int J, float Y);   // first derivative per node spacing
float ddybf(int J, float Y);   // second derivative per position unit squared
float ddysbf(int J, float Y);  // second derivative per node spacing squared

using BasisFunction = float (*)(int, float);
void prbftab(std::string_view text, BasisFunction F);  // no effect

// The package's fatal stop: writes "GRIEVOUS ERROR IN <name>" to standard
// output and ends the program with a normal exit status.
[[noreturn]] void splabort(std::string_view name);

}  // namespace spline
