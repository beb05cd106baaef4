#include "spline/driver.hpp"

#include <cmath>
#include <cstddef>

#include "records/records.hpp"
#include "spline/evaluate.hpp"
#include "spline/matrix.hpp"
#include "spline/normal.hpp"
#include "spline/settings.hpp"

namespace spline {
namespace {

// The data-density correction is always applied; the driver always uses
// the third-derivative constraint.
constexpr int dencorr = 1;
constexpr int kdc = 3;

bool is_missing(float v) { return v == kMissing || std::isnan(v); }

// Index of a 1-based element in a span; the caller has checked the size.
std::size_t at(int i) { return static_cast<std::size_t>(i - 1); }

// Data-density correction: the weights of the points in each node interval
// are scaled to a total of about one, so that densely sampled stretches do
// not outweigh the smoothness constraint there.
void correct_density(int NXX, float YNB, float d) {
  Sp2dtpt& dt = sp2dtpt();
  const int ldx = dt.LDX;
  float W[kNdim] = {};
  const auto interval = [&](int l) {
    int i = trunc_index((dt.YD(l) - YNB) / d) + 1;
    if (i < 1) i = 1;
    if (i > NXX) i = NXX;
    return i;
  };
  for (int l = 1; l <= ldx; ++l) W[interval(l) - 1] += dt.WD(l);
  for (int l = 1; l <= ldx; ++l) {
    const float wi = W[interval(l) - 1];
    if (wi == 0.0f) continue;  // only zero weights fall in such an interval
    const float w = dt.WD(l) * (1.0f / wi);
    dt.WD(l) = w < 1.0f ? w : 1.0f;
  }
}

void choose_grid(std::span<const float> positions, const std::span<const float>* flag, int NXP, float YDCWL,
                 int& NXX, float& YNB, float& YNT, float RATMIN, int& IERR, int IPRT, float FLAGX) {
  IERR = 0;
  YNB = 1.0e8f;
  YNT = -1.0e8f;
  // There cannot be more observations than positions.
  std::size_t n = NXP > 0 ? static_cast<std::size_t>(NXP) : 0;
  if (n > positions.size()) n = positions.size();
  if (flag != nullptr && n > flag->size()) n = flag->size();
  const int nxp = static_cast<int>(n);
  for (std::size_t j = 0; j < n; ++j) {
    const float p = positions[j];
    if (p == kMissing) continue;
    if (flag != nullptr && (*flag)[j] == FLAGX) continue;
    if (p < YNB) YNB = p;
    if (p > YNT) YNT = p;
  }
  if (flag != nullptr && YNB >= YNT) {
    rec::write(6,
               "(/,' *** WARNING IN SUBROUTINE VICSETUP ***',/,' *** NOT ENOUGH DATA TO FILTER      ***',/)");
    IERR = 1;
    return;
  }
  const float extent = YNT - YNB;
  if (YDCWL > extent) {
    rec::write(6,
               "(/,' *** WARNING IN SUBROUTINE VICSETUP ***',/,' *** FILTER WAVELENGTH IS TOO LARGE ***',/,/,"
               "' For filter wavelength YDCWL  = ',F10.2,/,' VICSETUP has found (YNT-YNB) = ',F10.2,/,"
               "' YDCWL should not exceed domain size.',/)",
               {YDCWL, extent});
    IERR = 1;
    return;
  }

  // DY node spacing, R filter wavelength in spacings, D observations per node.
  float DY = 0, R = 0, D = 0;
  const auto measure = [&] {
    DY = extent / static_cast<float>(NXX);
    R = YDCWL / DY;
    D = static_cast<float>(nxp) / static_cast<float>(NXX + 1);
  };
  bool error = false;
  NXX = 10;
  // First search: the coarsest grid that resolves the filter.
  for (;;) {
    measure();
    if (D < 1.0f) {
      error = true;
      break;
    }
    if (R < RATMIN) {
      ++NXX;
      continue;
    }
    if (NXX >= kNdim) error = true;
    break;
  }
  if (!error) {
    // Second search: refine towards at least 4 spacings per wavelength and
    // at most 2 observations per node, within the limits.
    for (;;) {
      ++NXX;
      measure();
      if (D < 1.0f || NXX == kNdim || R > 15.0f) {
        --NXX;
        break;
      }
      if (R >= 4.0f && D <= 2.0f) break;
    }
    measure();
    if (IPRT != 0) {
      const int nodes = NXX + 1;
      rec::write(6,
                 "(/,' For requested filter wavelength = ',F10.3,/,' VICSETUP found ',I3,' nodes.   DELTAY = ',"
                 "F10.2,/,' YNB, YNT = ',2F10.2,/,' Filter/nodal interval ratio = ',F6.2,/,"
                 "' # data points / # nodes     = ',F6.2)",
                 {YDCWL, nodes, DY, YNB, YNT, R, D});
    }
    return;
  }
  const int nodes = NXX + 1;
  rec::write(6,
             "(/,' *** ERROR IN SUBROUTINE VICSETUP ***',/,/,' For filter wavelength = ',F10.3,/,"
             "' VICSETUP has found ',I4,' nodes.   YNB, YNT = ',2F10.2,/,"
             "' # of nodes exceeds maximum allowable value of ',I4,/,"
             "' or exceeds number of input data points NXP = ',I4,/,/,"
             "' Decrease domain, or increase filter or data density.')",
             {YDCWL, nodes, YNB, YNT, kNdim, NXP});
  IERR = 1;
}

}  // namespace

void xdatz(int KDAT, int NXP, int NXPDIM, std::span<const float> positions,
           std::span<const float> weights, std::span<const float> values, float /*YNB*/, float /*YNT*/,
           Table2<float, kKdtDim, kLdxDim>& DV, int& IERR) {
  if (KDAT >= 3 || KDAT < 1) {
    rec::write(6, "(/,' ** KDAT EXCEEDS KDTDIM IN XDATZ **',2I5)", {KDAT, kKdtDim});
    IERR = 1;
    return;
  }
  const std::size_t nxp = NXP > 0 ? static_cast<std::size_t>(NXP) : 0;
  const std::size_t table = nxp == 0 ? 0
                                     : static_cast<std::size_t>(NXPDIM) * static_cast<std::size_t>(KDAT - 1) + nxp;
  if (NXPDIM < NXP || positions.size() < nxp || weights.size() < nxp || values.size() < table) {
    rec::write(6, "(/,' ** NXP EXCEEDS NXPDIM IN XDATZ **',2I5)", {NXP, NXPDIM});
    IERR = 1;
    return;
  }
  Sp2dtpt& dt = sp2dtpt();
  for (int l = 1; l <= kLdxDim; ++l) {
    for (int k = 1; k <= KDAT; ++k) DV(k, l) = kMissing;
    dt.YD(l) = kMissing;
    dt.WD(l) = kMissing;
  }
  dt.LDX = 0;
  int ldx = 0;
  for (int j = 1; j <= NXP; ++j) {
    const float pos = positions[at(j)];
    if (is_missing(pos)) continue;
    bool complete = true;
    for (int k = 1; k <= KDAT; ++k)
      if (is_missing(values[at(j) + static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(NXPDIM)]))
        complete = false;
    if (!complete) continue;
    ++ldx;
    if (ldx > kLdxDim) {
      rec::write(6, "(/,' ** LDX EXCEEDS LDXDIM IN XDATZ **',2I5)", {ldx, kLdxDim});
      IERR = 1;
      return;
    }
    dt.LDX = ldx;
    dt.YD(ldx) = pos;
    const float w = weights[at(j)];
    dt.WD(ldx) = (w >= 0.0f && w <= 1.0f) ? w : 1.0f;
    for (int k = 1; k <= KDAT; ++k)
      DV(k, ldx) = values[at(j) + static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(NXPDIM)];
  }
  if (ldx < 2) {
    IERR = 1;
    return;
  }
  Means& mn = means();
  for (int k = 1; k <= KDAT; ++k) {
    float sum = 0.0f;
    for (int l = 1; l <= ldx; ++l) sum += DV(k, l);
    const float mean = sum / static_cast<float>(ldx);
    mn.m[at(k)] = mean;
    for (int l = 1; l <= ldx; ++l) DV(k, l) = DV(k, l) - mean;
  }
}

void splargo() {
  splimac();
  pasdexx(sp2node().NX);
  clrade();
  caldmm();
}

void vicspl(std::span<const float> positions, std::span<const float> weights,
            std::span<const float> values, int NXP, int NXPDIM, int KDAT, float YNB, float YNT,
            int NXX, float YDCWL, int KBCTYP1, int KBCTYP2, float YBCWL1, float YBCWL2, int& IERR) {
  IERR = 0;
  Big& b = big();
  xdatz(KDAT, NXP, NXPDIM, positions, weights, values, YNB, YNT, b.DV, IERR);
  if (IERR == 1) return;

  const float d = (YNT - YNB) / static_cast<float>(NXX);
  const float RATIO = YDCWL / d;
  // A grid beyond the node table cannot be analysed and stops in splover;
  // its density correction is skipped rather than summed past the table.
  if (dencorr == 1 && NXX >= 1 && NXX < kNdim) correct_density(NXX, YNB, d);

  // An undefined ratio (a grid of zero extent) is as improper as one out
  // of range.
  if (!(RATIO >= 2.0f && RATIO <= 15.0f)) {
    rec::write(6,
               "(/,' ** IMPROPER RATIO OF FILTER TO NODAL SPACING **',/,' FILTER CUTOFF  = ',F10.3,/,"
               "' NODAL INTERVAL = ',F10.3,/,' RATIO = ',F10.3,' (OK IF BETWEEN 2 AND 15)')",
               {YDCWL, d, RATIO});
    rec::stop();
  }

  setspid("");
  setspnd(NXX, YNB, YNT);
  setspbc(KBCTYP1, KBCTYP2, YBCWL1, YBCWL2);
  setspdc(kdc, YDCWL);
  splover();
  splargo();
  setkpx(KDAT);
  splimbo(1, KDAT);
  pridspk(0);
  prfkmnd(b.CS, b.FNODE, 1, KDAT);
}

void vicsetup(std::span<const float> positions, int NXP, float YDCWL, int& NXX, float& YNB, float& YNT,
              float RATMIN, int& IERR, int IPRT) {
  choose_grid(positions, nullptr, NXP, YDCWL, NXX, YNB, YNT, RATMIN, IERR, IPRT, 0.0f);
}

void vicsetup2(std::span<const float> positions, std::span<const float> FLAG, int NXP, float YDCWL,
               int& NXX, float& YNB, float& YNT, float RATMIN, int& IERR, int IPRT, float FLAGX) {
  choose_grid(positions, &FLAG, NXP, YDCWL, NXX, YNB, YNT, RATMIN, IERR, IPRT, FLAGX);
}

void xprakmn(const Coeffs& /*A*/, int /*K1*/, int /*K2*/) {}

void xtimesp(float DATE, float TIME, int& IY, int& IM, int& ID, float& HOURS) {
  IY = trunc_index(DATE / 10000.0f);
  IM = trunc_index((DATE - static_cast<float>(IY * 10000)) / 100.0f);
  ID = trunc_index(DATE - static_cast<float>(IY * 10000) - static_cast<float>(IM * 100));
  const float h = std::round(TIME / 100.0f - 0.3f);
  HOURS = h + (TIME - 100.0f * h) / 60.0f;
}

}  // namespace spline
