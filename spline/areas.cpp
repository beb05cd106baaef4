#include "spline/areas.hpp"

#include <cmath>

#include "spline/evaluate.hpp"
#include "spline/matrix.hpp"
#include "spline/normal.hpp"
#include "spline/settings.hpp"

namespace spline {

Sp2pric& sp2pric() {
  static Sp2pric area;
  return area;
}
Sp2node& sp2node() {
  static Sp2node area;
  return area;
}
Sp2bcdc& sp2bcdc() {
  static Sp2bcdc area;
  return area;
}
Sp2komp& sp2komp() {
  static Sp2komp area;
  return area;
}
Sp2dtpt& sp2dtpt() {
  static Sp2dtpt area;
  return area;
}
Big& big() {
  static Big area;
  return area;
}
Sp2dchr& sp2dchr() {
  static Sp2dchr area;
  return area;
}
Sp2macq& sp2macq() {
  static Sp2macq area;
  return area;
}
Sp2qrbg& sp2qrbg() {
  static Sp2qrbg area;
  return area;
}
Pasdecc& pasdecc() {
  static Pasdecc area;
  return area;
}
Little& little() {
  static Little area;
  return area;
}
Means& means() {
  static Means area;
  return area;
}

void reset_areas() {
  sp2pric() = Sp2pric{};
  sp2node() = Sp2node{};
  sp2bcdc() = Sp2bcdc{};
  sp2komp() = Sp2komp{};
  sp2dtpt() = Sp2dtpt{};
  // The large areas are cleared in place: a fresh copy of each would
  // occupy up to a megabyte of stack.
  Big& b = big();
  b.CS.v.fill(0.0f);
  b.DV.v.fill(0.0f);
  b.FNODE.v.fill(0.0f);
  b.BS.v.fill(0.0f);
  b.BSINV.v.fill(0.0f);
  sp2dchr() = Sp2dchr{};
  sp2macq() = Sp2macq{};
  sp2qrbg() = Sp2qrbg{};
  pasdecc() = Pasdecc{};
  Little& lt = little();
  lt.SWORK.v.fill(0.0f);
  lt.DBAND.v.fill(0.0f);
  lt.IW.fill(0);
  means() = Means{};
  settings_state() = SettingsState{};
  matrix_group_state() = MatrixGroupState{};
  inversion_state().bsd.v.fill(0.0);
  inversion_state().csd.v.fill(0.0);
  splint_state() = SplintState{};
}

float node_y(int j) { return j >= 1 && j <= kNdim ? sp2node().Y(j) : 0.0f; }

int trunc_index(float v) {
  if (std::isnan(v)) return 0;
  if (v > 1.0e9f) return 1000000000;
  if (v < -1.0e9f) return -1000000000;
  return static_cast<int>(v);
}

}  // namespace spline
