#include "spline/evaluate.hpp"

#include <cmath>
#include <cstddef>

#include "records/records.hpp"

namespace spline {
namespace {


// The single-point evaluation of spotino, spotder and spotika: the four
// basis functions around Y (fewer near the upper end) against the
// coefficients, as four partial products summed in order.
void evaluate_at(float Y, const Coeffs& C, int K1, int K2, std::span<float> OUT, BasisFunction F) {
  const Sp2node& node = sp2node();
  int i0 = trunc_index((Y - node.Y(1)) / node.DELTAY);
  if (i0 <= 0) i0 = 1;
  const int e = i0 - 1;
  const int n = node.NX - e < 4 ? node.NX - e : 4;
  float B[4] = {0, 0, 0, 0};
  for (int r = 1; r <= n; ++r) B[r - 1] = F(e + r, Y);
  std::size_t m = 0;
  for (int k = K1; k <= K2 && m < OUT.size(); ++k, ++m) {
    if (k < 1 || k > kKdtDim) {
      OUT[m] = 0.0f;
      continue;
    }
    float P[4] = {0, 0, 0, 0};
    for (int r = 1; r <= n; ++r) P[r - 1] += C(k, e + r) * B[r - 1];
    OUT[m] = P[0] + P[1] + P[2] + P[3];
    if (k == K2) break;  // K2 may be the largest int
  }
}

void evaluate_range(const Coeffs& C, int KPA, std::span<float> OUT, int KPFDIM, int NFDIM, int KPF) {
  SplintState& st = splint_state();
  if (KPA > kKdtDim || KPA < 1) {
    rec::write(6, "('0 === SPLINTO ARGUMENT KPA IS TOO LARGE FOR KDTDIM',5X,2I3)", {KPA, kKdtDim});
    splabort(st.routine.view());
  }
  const bool fits = KPF >= 1 && KPF <= KPFDIM && NFDIM >= st.nfdim0 &&
                    static_cast<long long>(KPFDIM) * (NFDIM > 0 ? NFDIM : 0) <=
                        static_cast<long long>(OUT.size());
  if (!fits) {
    rec::write(6,
               "('0 === SPLINTO ARGUMENTS KPFDIM,NFDIM ARE TOO SMALL ','FOR THE REQUIRED KPF,NFDIM0',"
               "5X,I3,I5,5X,I3,I5)",
               {KPFDIM, KPF, NFDIM, st.nfdim0});
    splabort(st.routine.view());
  }
  if (st.jx != st.jxbf0) {
    rec::write(6,
               "('0 === SPLINTO FOUND N3 HAVE BEEN CHANGED SINCE THE ','LAST CALL TO SPLINTD WAS MADE',"
               "5X,I3,5X,I3)",
               {st.jx, st.jxbf0});
    splabort(st.routine.view());
  }

  const auto out = [&OUT, KPF, KPFDIM](int q) -> float& {
    return OUT[static_cast<std::size_t>(KPF - 1) +
               static_cast<std::size_t>(q - 1) * static_cast<std::size_t>(KPFDIM)];
  };
  if (st.in_mode == SplintState::In::replace) {
    for (int q = 1; q <= NFDIM; ++q) out(q) = 0.0f;
  } else if (st.in_mode == SplintState::In::negate_then_add) {
    for (int q = 1; q <= NFDIM; ++q) out(q) = -out(q);
  }
  st.in_mode = SplintState::In::replace;

  // Point (i - first) * jx + p is sub-point p of the interval that starts
  // at node i; the last node is the range's final point.
  const int NX = st.nx + 1;
  const int jx = st.jx;
  const auto point = [&st, jx](int i, int p) { return (i - st.first) * jx + p; };
  for (int p = 1; p <= jx; ++p) {
    const int c = p == 1 ? 1 : 2;
    const int last_interior = p == 1 ? st.nbil1 : st.nbil2;
    // The first interval's inner sub-points belong to the range only when
    // it reaches node 2.
    if (st.first_part == SplintState::First::first_node_and_interior && (p == 1 || st.nb >= 2)) {
      float s = 0.0f;
      for (int e = 0; e <= c; ++e) s += C(KPA, e + 1) * st.yb1[p - 1][e + 1];
      out(point(1, p)) += s;
    }
    for (int i = st.nail; i <= last_interior; ++i) {
      float s = 0.0f;
      for (int e = -1; e <= c; ++e) s += C(KPA, i + e) * st.ybn[p - 1][e + 1];
      out(point(i, p)) += s;
    }
    const bool last_interval =
        (st.last_part == SplintState::Last::endpoint_and_last_interval ||
         (st.last_part == SplintState::Last::last_interval_first_subpoint && p == 1)) &&
        NX - 1 >= st.first;
    if (st.last_part == SplintState::Last::endpoint_and_last_interval && p == 1) {
      out(point(NX, 1)) += C(KPA, NX - 1) * st.ybxx[0] + C(KPA, NX) * st.ybxx[1];
    }
    if (last_interval) {
      float s = 0.0f;
      for (int e = -1; e <= 1; ++e) s += C(KPA, NX - 1 + e) * st.ybx[p - 1][e + 1];
      out(point(NX - 1, p)) += s;
    }
  }

  if (st.negate_out) {
    for (int q = 1; q <= NFDIM; ++q) out(q) = -out(q);
    st.negate_out = false;
  }
}

}  // namespace

SplintState& splint_state() {
  static SplintState state;
  return state;
}

void splimbo(int K1, int K2) {
  const int lo = K1 < K2 ? K1 : K2;
  const int hi = K1 < K2 ? K2 : K1;
  // CS and DV hold two components; the record names the limit that was
  // exceeded.
  if (hi > kKvDim || lo < 1 || hi > kKdtDim) {
    const int limit = hi > kKvDim ? kKvDim : kKdtDim;
    rec::write(6, "('0 === SPLIMBO FOUND THE COMPONENT RANGE  K=',I2,',',I2,'  EXCEEDED  KVDIM=',I2)",
               {K1, K2, limit});
    splabort("SPLIMBO");
  }
  Big& b = big();
  const Sp2node& node = sp2node();
  const Sp2dtpt& dt = sp2dtpt();
  const int NX = node.NX;
  for (int k = lo; k <= hi; ++k)
    for (int j = 1; j <= NX; ++j) b.CS(k, j) = 0.0f;

  // Right-hand sides: the weighted data projected on the basis functions.
  const float inv_dy = sp2bcdc().inv_dy;
  const int ldx = stored_count();
  for (int l = 1; l <= ldx; ++l) {
    const float wd = dt.WD(l);
    if (!(wd > 0.0f)) continue;
    const float y = dt.YD(l);
    int i0 = trunc_index((y - node.Y(1)) * inv_dy);
    if (i0 < 1) i0 = 1;
    const int i1 = i0 + 3 < NX ? i0 + 3 : NX;
    const float w = wd < 1.0f ? wd : 1.0f;
    for (int j = i0; j <= i1; ++j) {
      const float bj = ybf(j, y);
      for (int k = lo; k <= hi; ++k) b.CS(k, j) += b.DV(k, l) * bj * w;
    }
  }

  // Coefficients: BSINV times each right-hand side.
  float T[kNdim];
  for (int k = lo; k <= hi; ++k) {
    for (int m = 1; m <= NX; ++m) {
      float s = 0.0f;
      for (int n = 1; n <= NX; ++n) {
        s += b.BSINV(m, n) * b.CS(k, n);
        if (std::fabs(s) < kFlush) s = 0.0f;
      }
      T[m - 1] = s;
    }
    for (int m = 1; m <= NX; ++m) b.CS(k, m) = T[m - 1];
  }
}

void spotino(float Y, const Coeffs& C, int K1, int K2, std::span<float> OUT) {
  evaluate_at(Y, C, K1, K2, OUT, ybf);
}

void spotder(float Y, const Coeffs& C, int K1, int K2, std::span<float> OUT) {
  evaluate_at(Y, C, K1, K2, OUT, dybf);
}

void spotika(float Y, const Coeffs& C, int K1, int K2, std::span<float> OUT) {
  evaluate_at(Y, C, K1, K2, OUT, ybf);
}

void spotval(float Y, int KDAT, std::span<float> VAL, std::span<float> DER) {
  const Coeffs& CS = big().CS;
  spotino(Y, CS, 1, KDAT, VAL);
  spotder(Y, CS, 1, KDAT, DER);
  const Means& mn = means();
  for (int k = 1; k <= KDAT && k <= kKdtDim && static_cast<std::size_t>(k) <= VAL.size(); ++k)
    VAL[static_cast<std::size_t>(k - 1)] += mn.m[static_cast<std::size_t>(k - 1)];
}

void splinta(const Coeffs& /*A*/, int N1, int N2, int N3) {
  SplintState& st = splint_state();
  st.routine = "SPLINTA";
  const int NX = sp2node().NX;
  if (NX > kNdim) {
    rec::write(6, "('0 === SPLINTA FOUND NXX TOO LARGE FOR NDIM',5X,I5,5X,I5)", {NX, kNdim});
    splabort(st.routine.view());
  }
  const int first = N1 < N2 ? N1 : N2;
  const int nb = N1 < N2 ? N2 : N1;
  const int jx = N3 > 1 ? N3 : 1;
  if (first < 1 || nb > NX) {
    rec::write(6, "('0 === SPLINTA INPUT ARGUMENTS N1,N2 ARE IN ERROR',5X,I5,3X,I5,5X,'NXX IS',3X,I5)",
               {N1, N2, NX});
    splabort(st.routine.view());
  }
  if (jx > kJxbfDim) {
    rec::write(6,
               "('0 === SPLINTA INPUT ARGUMENTS N3 ARE TOO LARGE FOR ','THE LOCAL PARAMETER JXBFDIM',"
               "5X,I3,5X,I3)",
               {N3, kJxbfDim});
    splabort(st.routine.view());
  }
  // The tabulated interior functions come from the interval starting at
  // node 3 and must be free of both ends' folding: at least 5 nodes.
  if (NX < 5) {
    rec::write(6, "('0 === SPLINTA NEEDS AT LEAST 5 NODES',5X,I5)", {NX});
    splabort(st.routine.view());
  }
  st.nx = NX - 1;
  st.nx1 = NX - 2;
  st.first = first;
  st.nb = nb;
  st.jx = jx;
  st.nail = first > 2 ? first : 2;
  st.nbil1 = nb < NX - 2 ? nb : NX - 2;
  st.nbil2 = nb - 1 < NX - 2 ? nb - 1 : NX - 2;
  st.nfdim0 = (nb - first) * jx + 1;
  st.in_mode = SplintState::In::replace;
  st.negate_out = false;
  st.first_part = first == 1 ? SplintState::First::first_node_and_interior : SplintState::First::interior_only;
  if (nb == NX)
    st.last_part = SplintState::Last::endpoint_and_last_interval;
  else if (nb == NX - 1)
    st.last_part = SplintState::Last::last_interval_first_subpoint;
  else
    st.last_part = SplintState::Last::none;
}

void splintd(BasisFunction F) {
  SplintState& st = splint_state();
  const Sp2node& node = sp2node();
  const int NX = node.NX;
  const int jx = st.jx < kJxbfDim ? st.jx : kJxbfDim;
  st.jxbf0 = st.jx;
  if (jx < 1) return;
  const float h = node.DELTAY / static_cast<float>(jx);
  for (int p = 1; p <= jx; ++p) {
    const float t = static_cast<float>(p - 1) * h;
    for (int i = 1; i <= 3; ++i) st.yb1[p - 1][i] = F(i, node_y(1) + t);
    for (int i = 1; i <= 4; ++i) st.ybn[p - 1][i - 1] = F(i + 1, node_y(3) + t);
    for (int i = 1; i <= 3; ++i) st.ybx[p - 1][i - 1] = F(NX - 3 + i, node_y(NX - 1) + t);
  }
  for (int i = 1; i <= 2; ++i) st.ybxx[i - 1] = F(NX - 2 + i, node_y(NX));
}

void splints(int ISIN, int ISOUT) {
  SplintState& st = splint_state();
  st.negate_out = ISOUT < 0;
  // The output sign applies after the input was combined, so the input
  // mode is chosen to make the net result so*s + sign(ISIN)*OUT.
  const int sign_in = (ISIN > 0) - (ISIN < 0);
  const int s = ISOUT < 0 ? -sign_in : sign_in;
  if (s > 0)
    st.in_mode = SplintState::In::add;
  else if (s == 0)
    st.in_mode = SplintState::In::replace;
  else
    st.in_mode = SplintState::In::negate_then_add;
}

void splinto(const Coeffs& C, int KPA, std::span<float> OUT, int KPFDIM, int NFDIM, int KPF) {
  splint_state().routine = "SPLINTO";
  evaluate_range(C, KPA, OUT, KPFDIM, NFDIM, KPF);
}

void splint(const Coeffs& C, int KPA, std::span<float> OUT, int KPFDIM, int NFDIM, int KPF) {
  evaluate_range(C, KPA, OUT, KPFDIM, NFDIM, KPF);
}

void prfkmnd(const Coeffs& C, NodeFields& FN, int K1, int K2) {
  const std::span<float> out(FN.v);
  splinta(C, 1, sp2node().NX, 1);
  splintd(ybf);
  for (int k = K1; k <= K2; ++k) {
    splinto(C, k, out, 4, kNdim, k);
    if (k == K2) break;
  }
  splintd(dybf);
  for (int k = K1; k <= K2; ++k) {
    splinto(C, k, out, 4, kNdim, k + 2);
    if (k == K2) break;
  }
}

}  // namespace spline
