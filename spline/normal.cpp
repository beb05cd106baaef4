#include "spline/normal.hpp"

#include <cmath>

#include "records/records.hpp"
#include "spline/matrix.hpp"
#include "spline/settings.hpp"

namespace spline {

MatrixGroupState& matrix_group_state() {
  static MatrixGroupState state;
  return state;
}

void spliqbg() {
  const Sp2bcdc& bc = sp2bcdc();
  Sp2qrbg& g = sp2qrbg();
  // Folding weights of the virtual nodes: lower end (A, B), upper end (C, E).
  const float A = 4.0f * bc.A1;
  const float B = 4.0f * bc.B1;
  const float C = 4.0f * bc.A2;
  const float E = 4.0f * bc.B2;
  for (int m = 1; m <= 4; ++m) {
    const int n = m - 1;
    const float o11 = qo11[n], o12 = qo12[n], o22 = qo22[n];
    const float p11 = qp11[n], p12 = qp12[n], p22 = qp22[n];
    // Interior node: four whole intervals of support.
    g.q(3, 1, m) = 2.0f * (o11 + o22);
    g.q(3, 2, m) = 2.0f * o12 + p11;
    g.q(3, 3, m) = 2.0f * p12;
    g.q(3, 4, m) = p22;
    for (int r = 2; r <= 4; ++r) g.q(r, 3, m) = g.q(3, 3, m);
    for (int r = 1; r <= 5; ++r) g.q(r, 4, m) = g.q(3, 4, m);
    // Nodes 1 and 2 carry the lower virtual node, NX-1 and NX the upper one.
    g.q(1, 1, m) = o11 + o22 + (2.0f * o12 + o22 * A) * A;
    g.q(1, 2, m) = p11 + o12 + (o22 * A + o12) * B + p12 * A;
    g.q(1, 3, m) = 2.0f * p12 + p22 * A;
    g.q(2, 1, m) = 2.0f * o11 + o22 + (2.0f * p12 + o22 * B) * B;
    g.q(2, 2, m) = 2.0f * o12 + p11 + p22 * B;
    g.q(4, 1, m) = 2.0f * o11 + o22 + (2.0f * p12 + o22 * E) * E;
    g.q(4, 2, m) = 2.0f * o12 + p11 + p22 * E;
    g.q(5, 1, m) = o11 + o22 + (2.0f * o12 + o22 * C) * C;
    g.q(5, 2, m) = p11 + o12 + (o22 * C + o12) * E + p12 * C;
    g.q(5, 3, m) = 2.0f * p12 + p22 * C;
  }
  // Derivatives are per node spacing; the filter weight SIGMA^(2n) makes
  // the constraint pass a wavelength YDCWL at half amplitude.
  for (int m = 2; m <= 4; ++m) {
    const float scale = power_by_squaring(bc.SIGMA, 2 * (m - 1));
    for (int d = 1; d <= 4; ++d)
      for (int r = 1; r <= 5; ++r) g.q(r, d, m) *= scale;
  }
}

void spliqbp() { spliqbg(); }

void spladdq(BandRows& R) {
  const int KDCTYP = sp2pric().KDCTYP;
  if (KDCTYP < 2) {
    rec::write(6, "('0 === SPLADDQ DOES NOT ACCEPT   KDCTYP=',I2)", {KDCTYP});
    splabort("SPLADDQ");
  }
  const Sp2macq& mq = sp2macq();
  const int NX = mq.nx_plus_1 - 1;
  const int NXX = NX - 1;
  // With fewer than 4 intervals the rows of the two ends overlap and the
  // class integrals, each derived for one end only, no longer describe the
  // folded functions.
  if (NXX < 4) {
    rec::write(6, "('0 === SPLADDQ NEEDS AT LEAST 4 NODE INTERVALS   NXX=',I4)", {NXX});
    splabort("SPLADDQ");
  }
  const Sp2qrbg& g = sp2qrbg();
  const int m = KDCTYP == 2 ? 3 : 4;
  for (int d = 1; d <= 4; ++d) {
    R(1, d) += g.q(1, d, m);
    R(2, d) += g.q(2, d, m);
    for (int j = 3; j <= mq.nxx_minus_2; ++j) R(j, d) += g.q(3, d, m);
  }
  for (int j = mq.nxx_minus_1; j <= NX; ++j) {
    const int e = NX + 1 - j;
    for (int d = 1; d <= e; ++d) R(j, d) += g.q(d - e + 5, d, m);
  }
}

void splimac() {
  const Sp2pric& p = sp2pric();
  const Sp2node& node = sp2node();
  const int NX = node.NX;
  sp2macq() = Sp2macq{NX + 1, NX - 2, NX - 3, NX - 4};

  Sp2dtpt& dt = sp2dtpt();
  const int ldx = stored_count();
  int accepted = 0;
  for (int l = 1; l <= ldx; ++l) {
    if (!(dt.WD(l) > 0.0f)) continue;
    const float y = dt.YD(l);
    if (!(y >= p.YNB && y <= p.YNT)) {
      dt.WD(l) = -std::fabs(dt.WD(l));
      rec::write(6, "(' ',10X,'REJECTED DATA POINT...  YD=',F6.2)", {y});
    } else {
      ++accepted;
    }
  }
  if (accepted == 0) {
    rec::write(6, "('  === SPLIMAC CALLS EXIT.  NO ACCEPTED DATA POINTS.')");
    splabort("SPLIMAC");
  }
  MatrixGroupState& st = matrix_group_state();
  st.rowm = BandRows{};
  st.dy0 = 1.0f / node.DELTAY;
  st.ld = 0;
  spliqbg();
}

void getamr(Matrix& S) {
  MatrixGroupState& st = matrix_group_state();
  const Sp2dtpt& dt = sp2dtpt();
  const float YNB = sp2pric().YNB;
  const int NX = sp2node().NX;
  const int ldx = stored_count();
  while (st.ld < ldx) {
    ++st.ld;
    const float y = dt.YD(st.ld);
    const float w = dt.WD(st.ld) < 1.0f ? dt.WD(st.ld) : 1.0f;
    if (!(w > 0.0f)) continue;
    // Interval of the point; it touches the four nodes from i0 on.
    int i0 = trunc_index((y - YNB) * st.dy0);
    if (i0 < 1) i0 = 1;
    const int i1 = i0 + 3 < NX ? i0 + 3 : NX;
    float bv[4];
    for (int k = i0; k <= i1; ++k) bv[k - i0] = ybf(k, y);
    for (int j = i0; j <= i1; ++j) {
      float b = bv[j - i0] * w;
      if (std::fabs(b) < kFlush) b = 0.0f;
      for (int k = j; k <= i1; ++k) st.rowm(j, k - j + 1) += bv[k - i0] * b;
    }
  }
  spladdq(st.rowm);
  anrtos0(st.rowm, S);
}

void xdtpta(int N) {
  // The point table holds 3600 points; a count outside 0..3600 is limited
  // to it rather than written past the table.
  const int n = N < 0 ? 0 : (N > kLdxDim ? kLdxDim : N);
  Sp2dtpt& dt = sp2dtpt();
  const Sp2node& node = sp2node();
  dt.LDX = n;
  const float first = node_y(1);
  const float span = node_y(node.NX) - first;
  for (int l = 1; l <= n; ++l) {
    // A single point sits on the first node (no spacing to divide by).
    dt.YD(l) = n > 1 ? first + static_cast<float>(l - 1) * span / static_cast<float>(n - 1) : first;
    dt.WD(l) = 1.0f;
  }
  Sp2dchr& ch = sp2dchr();
  ch.text = " XDTPTA ";
  rec::write_text(ch.text.field(9, 72),
                  "('**      LINEAR DATA POINT ARRAY  ',I3,' POINTS WITH','  POINTS ON BOUNDARIES  ')", {n});
}

void clrade() {
  Big& b = big();
  clrans(b.BS);
  clrans(b.BSINV);
}

void adexxx() { clrade(); }

void caldmm() {
  Big& b = big();
  getamr(b.BS);
  aneginv(b.BS, b.BSINV);
}

}  // namespace spline
