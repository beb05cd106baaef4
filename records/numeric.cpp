// Number editing for the record layer. Digits always come from the exact
// binary value through std::to_chars (correctly rounded, exact ties to even);
// nothing here computes digits by scaling with powers of ten.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

#include "records/detail.hpp"

namespace rec::detail {
namespace {

// Large enough for any double in fixed form with the widths the parser admits
// (at most 309 integer digits, a point and 500 fraction digits).
constexpr std::size_t kBuf = 1024;

void asterisks(std::string& out, int w) {
  if (w > 0) out.append(static_cast<std::size_t>(w), '*');
}

}  // namespace

void edit_int(std::string& out, std::int32_t v, int w, int m) {
  char digits[16];
  const std::uint64_t mag = v < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(v))
                                  : static_cast<std::uint64_t>(v);
  std::size_t len = 0;
  if (!(m == 0 && v == 0)) {  // Iw.0 writes nothing but blanks for zero
    len = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, mag).ptr - digits);
  }
  const std::size_t nd = m > 0 ? std::max(len, static_cast<std::size_t>(m)) : len;
  const std::size_t n = nd + (v < 0 ? 1 : 0);
  if (w < 0 || n > static_cast<std::size_t>(w)) {
    asterisks(out, w);
    return;
  }
  out.append(static_cast<std::size_t>(w) - n, ' ');
  if (v < 0) out.push_back('-');
  out.append(nd - len, '0');
  out.append(digits, len);
}

void edit_fixed(std::string& out, double x, int w, int d) {
  if (w <= 0) return;
  if (!std::isfinite(x)) {
    asterisks(out, w);
    return;
  }
  const double a = std::fabs(x);
  char buf[kBuf];
  const auto r = std::to_chars(buf, buf + kBuf - 1, a, std::chars_format::fixed, d);
  if (r.ec != std::errc()) {
    asterisks(out, w);
    return;
  }
  std::size_t len = static_cast<std::size_t>(r.ptr - buf);
  if (d == 0) buf[len++] = '.';  // the point is always written
  bool nonzero = false;
  for (std::size_t i = 0; i < len; ++i) nonzero |= (buf[i] >= '1' && buf[i] <= '9');
  // A negative value that rounds to zero, and negative zero, carry no sign.
  const bool minus = std::signbit(x) && nonzero;
  const std::size_t n = len + (minus ? 1 : 0);
  const auto uw = static_cast<std::size_t>(w);
  const char* text = buf;
  if (n > uw) {
    if (n == uw + 1 && buf[0] == '0') {  // drop the 0 before the point
      ++text;
      --len;
    } else {
      asterisks(out, w);
      return;
    }
  }
  out.append(uw - (len + (minus ? 1 : 0)), ' ');
  if (minus) out.push_back('-');
  out.append(text, len);
}

void edit_exp(std::string& out, double x, int w, int d) {
  if (w <= 0) return;
  if (!std::isfinite(x) || d < 0) {
    asterisks(out, w);
    return;
  }
  const double a = std::fabs(x);
  std::string digits;
  long exponent = 0;
  if (a == 0.0) {
    digits.assign(static_cast<std::size_t>(d), '0');
  } else {
    char buf[kBuf];
    const int precision = d > 0 ? d - 1 : 0;
    const auto r = std::to_chars(buf, buf + kBuf, a, std::chars_format::scientific, precision);
    const char* e = static_cast<const char*>(std::memchr(buf, 'e', static_cast<std::size_t>(r.ptr - buf)));
    for (const char* p = buf; p < e; ++p) {
      if (*p != '.') digits.push_back(*p);
    }
    if (d == 0) digits.clear();
    std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, exponent);
    exponent += 1;  // 1.23e3 is 0.123 times ten to the 4
  }
  std::string expo;
  const long ae = exponent < 0 ? -exponent : exponent;
  if (ae <= 99) {
    expo.push_back('E');
    expo.push_back(exponent < 0 ? '-' : '+');
    expo.push_back(static_cast<char>('0' + ae / 10));
    expo.push_back(static_cast<char>('0' + ae % 10));
  } else if (ae <= 999) {  // three exponent digits leave no room for the letter
    expo.push_back(exponent < 0 ? '-' : '+');
    expo += std::to_string(ae);
  } else {
    asterisks(out, w);
    return;
  }
  const bool minus = x < 0;
  const std::size_t need = static_cast<std::size_t>(d) + 5 + (minus ? 1 : 0);
  const auto uw = static_cast<std::size_t>(w);
  if (uw < need) {
    asterisks(out, w);
    return;
  }
  const bool lead_zero = uw >= need + 1;
  out.append(uw - need - (lead_zero ? 1 : 0), ' ');
  if (minus) out.push_back('-');
  if (lead_zero) out.push_back('0');
  out.push_back('.');
  out += digits;
  out += expo;
}

void list_real(std::string& out, double x) {
  out.push_back(' ');
  out.push_back(x < 0 ? '-' : ' ');
  if (std::isnan(x)) {
    out += "NaN";
    return;
  }
  if (std::isinf(x)) {
    out += "Infinity";
    return;
  }
  if (x == 0.0) {
    out += "0.";
    return;
  }
  // Nine significant digits, rounded once; the form is chosen from the
  // decimal exponent of the rounded value.
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 8);
  const char* e = static_cast<const char*>(std::memchr(buf, 'e', static_cast<std::size_t>(r.ptr - buf)));
  std::string digits;
  for (const char* p = buf; p < e; ++p) {
    if (*p != '.') digits.push_back(*p);
  }
  int X = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, X);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  if (X < -4 || X >= 9) {
    out.push_back(digits[0]);
    out.push_back('.');
    out.append(digits, 1);
    out.push_back('E');
    out.push_back(X < 0 ? '-' : '+');
    const int aX = X < 0 ? -X : X;
    if (aX < 10) out.push_back('0');
    out += std::to_string(aX);
    return;
  }
  if (X >= 0) {
    const auto whole = static_cast<std::size_t>(X) + 1;
    for (std::size_t i = 0; i < whole; ++i) out.push_back(i < digits.size() ? digits[i] : '0');
    out.push_back('.');
    if (digits.size() > whole) out.append(digits, whole);
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-X - 1), '0');
    out += digits;
  }
}

std::int32_t whole_part(double x) {
  const double t = std::trunc(x);
  if (t >= 2147483647.0 || t <= -2147483648.0 || std::isnan(t)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(t);
}

void store_number(Kind kind, void* p, double value, std::int32_t ivalue, bool is_int) {
  switch (kind) {
    case Kind::integer:
      *static_cast<std::int32_t*>(p) = is_int ? ivalue : whole_part(value);
      break;
    case Kind::real32:
      *static_cast<float*>(p) = static_cast<float>(is_int ? ivalue : value);
      break;
    case Kind::real64:
      *static_cast<double*>(p) = is_int ? ivalue : value;
      break;
    case Kind::text:
      break;
  }
}

std::size_t item_stride(Kind kind, std::size_t length) {
  switch (kind) {
    case Kind::integer: return sizeof(std::int32_t);
    case Kind::real32: return sizeof(float);
    case Kind::real64: return sizeof(double);
    case Kind::text: return length;
  }
  return length;
}

void DecimalText::add_digit(char c, bool after_point) {
  any_digit = true;
  if (digits.empty() && c == '0') {
    if (after_point) --exponent10;
    return;
  }
  if (digits.size() < 40) {
    digits.push_back(c);
    if (after_point) --exponent10;
  } else if (!after_point) {
    ++exponent10;  // digits past the 40th only scale the value
  }
}

double DecimalText::value() const {
  if (digits.empty()) return negative ? -0.0 : 0.0;
  // Keep the exponent in a range from_chars can take; values beyond it are
  // infinite or zero anyway.
  long long e = exponent10;
  if (e > 100000) e = 100000;
  if (e < -100000) e = -100000;
  std::string text = digits;
  text.push_back('e');
  text += std::to_string(e);
  double v = 0.0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    v = e > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -v : v;
}

}  // namespace rec::detail
