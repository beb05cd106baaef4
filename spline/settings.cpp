#include "spline/settings.hpp"

#include <cmath>

#include "records/records.hpp"

namespace spline {
namespace {

// 2 pi as the single-precision constant of the package.
constexpr float pi2 = 6.2831855f;

// Folding weights (A, B) of the virtual node beyond one end for boundary
// type `kbctyp`, s being the boundary length scale in node spacings / 2 pi.
// Returns false for an undefined type.
bool boundary_pair(int kbctyp, float s, float& A, float& B) {
  switch (kbctyp) {
    case 0:  // value zero
      A = -1.0f;
      B = -0.25f;
      return true;
    case 1:  // first derivative zero
      A = 0.0f;
      B = 0.25f;
      return true;
    case 2:  // second derivative zero
      A = 0.5f;
      B = -0.25f;
      return true;
    case 10:  // f + s df/dn = 0
      A = -1.0f / (3.0f * s + 1.0f);
      B = 0.5f * A + 0.25f;
      return true;
    case 20: {  // f + s^2 d2f/dn2 = 0
      const float f = 3.0f * s * s;
      A = 0.5f * (f - 1.0f) / (f + 0.5f);
      B = -0.25f;
      return true;
    }
    case 21:  // df/dn + s d2f/dn2 = 0
      A = 0.5f * s / (s + 0.5f);
      B = 0.25f - A;
      return true;
    default:
      return false;
  }
}

// The symmetric cubic of node J and its boundary folding, evaluated at Y.
// `order` 0 gives the value S0, 1 the first-derivative factor S1 (the
// derivative per node spacing is 3 S1), 2 the second-derivative factor S2
// (the derivative is 6 S2).
float basis_factor(int J, float Y, int order) {
  const Sp2node& node = sp2node();
  if (J < 1 || J > node.NX) return 0.0f;
  const float x = (Y - node.Y(J)) / node.DELTAY;
  const float ax = std::fabs(x);
  const float t = 2.0f - ax;
  if (!(t > 0.0f)) return 0.0f;
  const bool inner = ax < 1.0f;
  const float u = 1.0f - ax;
  float s;
  if (order == 0) {
    s = 0.25f * (t * t * t);
    if (inner) s = s - u * u * u;
  } else if (order == 1) {
    float m = 0.25f * (t * t);
    if (inner) m = m - u * u;
    s = x < 0.0f ? m : -m;
  } else {
    s = 0.25f * t;
    if (inner) s = s - u;
  }

  // The virtual node beyond each end is folded into the two nearest inner
  // functions; the added cubic, written in x, and its derivatives divided by
  // 3 and by 6 so that the scale of the symmetric part applies to both.
  const Sp2bcdc& bc = sp2bcdc();
  const int NXX = node.NX - 1;
  if (J < 2) {
    if (ax < 1.0f) {
      const float v = 1.0f - x;
      if (order == 0) s = s + bc.A1 * (v * v * v);
      if (order == 1) s = s - bc.A1 * (v * v);
      if (order == 2) s = s + bc.A1 * v;
    }
  } else if (J == 2) {
    if (x < 0.0f) {
      if (order == 0) s = s - bc.B1 * (x * x * x);
      if (order == 1) s = s - bc.B1 * (x * x);
      if (order == 2) s = s - bc.B1 * x;
    }
  } else if (J > NXX) {
    if (ax < 1.0f) {
      const float v = x + 1.0f;
      if (order == 0) s = s + bc.A2 * (v * v * v);
      if (order == 1) s = s + bc.A2 * (v * v);
      if (order == 2) s = s + bc.A2 * v;
    }
  } else if (J == NXX) {
    if (x > 0.0f) {
      if (order == 0) s = s + bc.B2 * (x * x * x);
      if (order == 1) s = s + bc.B2 * (x * x);
      if (order == 2) s = s + bc.B2 * x;
    }
  }
  return s;
}

}  // namespace

SettingsState& settings_state() {
  static SettingsState state;
  return state;
}

void setspid(std::string_view text) { sp2pric().identification = text; }

void setspnd(int NXX, float YNB, float YNT) {
  Sp2pric& p = sp2pric();
  p.NXX = NXX;
  p.YNB = YNB;
  p.YNT = YNT;
}

void setspdc(int KDCTYP, float YDCWL) {
  Sp2pric& p = sp2pric();
  p.KDCTYP = KDCTYP;
  p.YDCWL = YDCWL;
}

void setspbc(int KBCTYP1, int KBCTYP2, float YBCWL1, float YBCWL2) {
  Sp2pric& p = sp2pric();
  p.KBCTYP = {KBCTYP1, KBCTYP2};
  p.YBCWL = {YBCWL1, YBCWL2};
}

void splover() {
  const Sp2pric& p = sp2pric();
  Sp2node& node = sp2node();
  Sp2bcdc& bc = sp2bcdc();

  // The grid is checked before it is stored, so that a failed derivation
  // never leaves a node count above the table in sp2node.
  const int NX = p.NXX + 1;
  if (NX > kNdim) {
    rec::write(6, "('0 === SPLOVER FOUND NXX.GT. NDIM) ===',3X,2I6)", {NX, kNdim});
    splabort("SPLOVER");
  }
  // Without at least one interval of positive length the spacing is zero,
  // negative or undefined and every later division by it is meaningless.
  if (p.NXX < 1 || !(p.YNT > p.YNB)) {
    rec::write(6, "('0 === SPLOVER FOUND NO NODE INTERVAL ===',I6,2F12.3)",
               {p.NXX, p.YNB, p.YNT});
    splabort("SPLOVER");
  }
  node.NX = NX;
  node.DELTAY = (p.YNT - p.YNB) / static_cast<float>(p.NXX);
  node.Y(1) = p.YNB;
  for (int j = 2; j <= NX; ++j) node.Y(j) = p.YNB + static_cast<float>(j - 1) * node.DELTAY;

  bc.inv_dy = 1.0f / node.DELTAY;
  bc.three_dy = 3.0f / node.DELTAY;
  bc.six_dy2 = (1.0f / node.DELTAY) * (1.0f / node.DELTAY) * 6.0f;

  const float c = (1.0f / pi2) / node.DELTAY;
  bc.SIGMA = p.YDCWL * c;
  SettingsState& st = settings_state();
  st.ysbcpi[0] = p.YBCWL[0] * c;
  st.ysbcpi[1] = p.YBCWL[1] * c;

  float A[2] = {0, 0};
  float B[2] = {0, 0};
  for (int k = 0; k < 2; ++k) {
    if (!boundary_pair(p.KBCTYP[k], st.ysbcpi[k], A[k], B[k])) {
      rec::write(6, "('0 === SPLOVER MET UNDEFINED KBCTYP ===',2I12,/,41X,2F12.3)",
                 {p.KBCTYP[0], p.KBCTYP[1], p.YBCWL[0], p.YBCWL[1]});
      splabort("SPLOVER");
    }
  }
  bc.A1 = A[0];
  bc.B1 = B[0];
  bc.A2 = A[1];
  bc.B2 = B[1];
}

void proverc() {}
void prsbcdc() {}

void setkpx(int K) { sp2komp().KPX = K; }

void pridspk(int K) {
  const int KPX = sp2komp().KPX;
  const int lo = K > 1 ? K : 1;
  const int hi = K < KPX ? K : KPX;
  if (lo == hi || (KPX >= 1 && KPX <= kKvDim)) return;
  rec::write(6, "('0 === PRIDSPK(0) FOUND KPX UNDEFINED OR IN ERROR.',2I4)", {KPX, kKvDim});
  splabort(" SETKPX");
}

void pridspc() {}
void pridspd() {}

float ybf(int J, float Y) { return basis_factor(J, Y, 0); }
float ysbf(int J, float Y) { return basis_factor(J, Y, 0); }
float dybf(int J, float Y) { return sp2bcdc().three_dy * basis_factor(J, Y, 1); }
float dysbf(int J, float Y) { return 3.0f * basis_factor(J, Y, 1); }
float ddybf(int J, float Y) { return sp2bcdc().six_dy2 * basis_factor(J, Y, 2); }
float ddysbf(int J, float Y) { return 6.0f * basis_factor(J, Y, 2); }

void prbftab(std::string_view /*text*/, BasisFunction /*F*/) {}

void splabort(std::string_view name) {
  const rec::FixedText<7> routine(name);
  rec::write(6, "('0 .... GRIEVOUS ERROR IN ',A7)", {routine});
  rec::stop();
}

}  // namespace spline
