// Runs one scenario of the spline package, named by the first argument, as
// a whole process, so that its records on standard output and its way of
// ending can be compared with the expected ones.
#include <cstring>
#include <vector>

#include "records/records.hpp"
#include "spline/spline.hpp"

using namespace spline;

namespace {

void grid(int NXX, float YNB, float YNT, int kb1 = 1, int kb2 = 1, int kdc = 3) {
  setspnd(NXX, YNB, YNT);
  setspbc(kb1, kb2, 1.5f, 0.0f);
  setspdc(kdc, 4.0f);
  splover();
}

void ramp(int n, std::vector<float>& y, std::vector<float>& v, float step) {
  for (int i = 0; i < n; ++i) {
    y.push_back(static_cast<float>(i) * step);
    v.push_back(static_cast<float>(i % 5));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* name = argc > 1 ? argv[1] : "";
  const auto is = [name](const char* s) { return std::strcmp(name, s) == 0; };
  std::vector<float> y, v;
  int ierr = 0;

  if (is("splover_ndim")) {
    grid(240, 0.0f, 240.0f);
  } else if (is("splover_kbctyp")) {
    grid(10, 0.0f, 10.0f, 1, 3);
  } else if (is("splover_empty")) {
    grid(10, 5.0f, 5.0f);
  } else if (is("pridspk")) {
    setkpx(5);
    pridspk(0);
  } else if (is("splimac_nodata")) {
    grid(10, 0.0f, 10.0f);
    Sp2dtpt& dt = sp2dtpt();
    dt.LDX = 3;
    dt.YD(1) = -0.5f;
    dt.WD(1) = 1.0f;
    dt.YD(2) = 12.25f;
    dt.WD(2) = 0.5f;
    dt.YD(3) = 5.0f;
    dt.WD(3) = 0.0f;  // not a point of the analysis: neither counted nor rejected
    splimac();
  } else if (is("spladdq_kdctyp")) {
    grid(10, 0.0f, 10.0f, 1, 1, 1);
    xdtpta(11);
    splargo();
  } else if (is("spladdq_small")) {
    grid(3, 0.0f, 3.0f);
    xdtpta(7);
    splargo();
  } else if (is("pasdexx")) {
    pasdexx(241);
  } else if (is("singular")) {
    pasdexx(2);
    Matrix& S = big().BS;
    S(1, 1) = S(1, 2) = S(2, 1) = S(2, 2) = 1.0f;
    aneginv(S, big().BSINV);
  } else if (is("splimbo")) {
    splimbo(1, 5);
  } else if (is("splinta_range")) {
    grid(10, 0.0f, 10.0f);
    splinta(big().CS, 1, 12, 1);
  } else if (is("splinta_subpoints")) {
    grid(10, 0.0f, 10.0f);
    splinta(big().CS, 11, 1, 9);
  } else if (is("splinto_kpa")) {
    grid(10, 0.0f, 10.0f);
    splinta(big().CS, 1, 11, 1);
    splintd(ybf);
    splinto(big().CS, 3, std::span<float>(big().FNODE.v), 4, kNdim, 1);
  } else if (is("ratio")) {
    // 40 intervals over 0..100: spacing 2.5, filter 4.75, ratio 1.9.
    ramp(50, y, v, 2.0f);
    vicspl(y, y, v, 50, 50, 1, 0.0f, 100.0f, 40, 4.75f, 1, 1, 0, 0, ierr);
  } else if (is("analysis")) {
    // The non-fatal records of one session: rejected input, the grid
    // chooser's reports and an analysis with points outside the grid.
    ramp(50, y, v, 1.0f);
    vicspl(y, y, v, 50, 50, 3, 0.0f, 49.0f, 20, 10.0f, 1, 1, 0, 0, ierr);
    vicspl(y, y, v, 50, 40, 1, 0.0f, 49.0f, 20, 10.0f, 1, 1, 0, 0, ierr);
    int nxx = 0;
    float ynb = 0, ynt = 0;
    vicsetup(y, 50, 10.0f, nxx, ynb, ynt, 2.0f, ierr, 1);
    vicsetup(y, 50, 60.0f, nxx, ynb, ynt, 2.0f, ierr, 0);
    vicsetup(y, 50, 1.0f, nxx, ynb, ynt, 2.0f, ierr, 0);
    std::vector<float> flag(50, 9.0f);
    flag[7] = 0.0f;
    vicsetup2(y, flag, 50, 10.0f, nxx, ynb, ynt, 2.0f, ierr, 0, 9.0f);
    // A grid over 2..47: the points at 0, 1, 48 and 49 lie outside it.
    const std::vector<float> w(50, 1.0f);
    vicspl(y, w, v, 50, 50, 1, 2.0f, 47.0f, 15, 10.0f, 1, 1, 0, 0, ierr);
    rec::write(6, "(' IERR =',I2)", {ierr});
  }
  rec::stop();
}
