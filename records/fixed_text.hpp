// Fixed-length, blank-padded text: the type of every text field the toolkit
// reads or writes. A field always holds exactly N characters; assigning a
// shorter value pads it with blanks on the right, a longer one is cut.
// Comparison treats the shorter operand as if blank-padded and compares the
// bytes as unsigned characters, so "MIAMI" equals "MIAMI" followed by blanks.
#pragma once

#include <algorithm>
#include <array>
#include <compare>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace rec {

// Compares two texts as blank-padded fields of equal length.
inline std::strong_ordering compare_padded(std::string_view a, std::string_view b) {
  const std::size_t n = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(i < a.size() ? a[i] : ' ');
    const auto cb = static_cast<unsigned char>(i < b.size() ? b[i] : ' ');
    if (ca != cb) return ca <=> cb;
  }
  return std::strong_ordering::equal;
}

inline bool equal_padded(std::string_view a, std::string_view b) {
  return compare_padded(a, b) == std::strong_ordering::equal;
}

// Copies `src` into the field `dst`, cutting or blank-padding on the right.
inline void assign_padded(std::span<char> dst, std::string_view src) {
  const std::size_t n = std::min(dst.size(), src.size());
  std::copy_n(src.data(), n, dst.data());
  std::fill(dst.begin() + static_cast<std::ptrdiff_t>(n), dst.end(), ' ');
}

template <std::size_t N>
class FixedText {
 public:
  static constexpr std::size_t kLength = N;

  constexpr FixedText() { chars_.fill(' '); }
  constexpr FixedText(std::string_view s) { assign(s); }  // NOLINT: implicit on purpose
  template <std::size_t M>
  constexpr FixedText(const char (&s)[M]) : FixedText(std::string_view(s, M - 1)) {}  // NOLINT

  constexpr FixedText& operator=(std::string_view s) {
    assign(s);
    return *this;
  }
  template <std::size_t M>
  constexpr FixedText& operator=(const char (&s)[M]) {
    assign(std::string_view(s, M - 1));
    return *this;
  }
  template <std::size_t M>
  constexpr FixedText& operator=(const FixedText<M>& other) {
    assign(other.view());
    return *this;
  }

  constexpr void assign(std::string_view s) {
    const std::size_t n = std::min(N, s.size());
    for (std::size_t i = 0; i < N; ++i) chars_[i] = i < n ? s[i] : ' ';
  }

  constexpr std::size_t size() const { return N; }
  constexpr char* data() { return chars_.data(); }
  constexpr const char* data() const { return chars_.data(); }
  constexpr char& operator[](std::size_t i) { return chars_[i]; }
  constexpr const char& operator[](std::size_t i) const { return chars_[i]; }
  constexpr std::string_view view() const { return {chars_.data(), N}; }
  constexpr operator std::string_view() const { return view(); }  // NOLINT
  std::span<char> span() { return {chars_.data(), N}; }
  std::string str() const { return std::string(view()); }

  // Columns `first` to `first + count - 1` (counted from 1), cut at the end
  // of the field: for reading them as a text record.
  constexpr std::string_view columns(std::size_t first, std::size_t count) const {
    if (first < 1 || first > N) return std::string_view(chars_.data() + N, 0);
    return view().substr(first - 1, count);
  }
  // The same columns as a writable text record.
  std::span<char> field(std::size_t first, std::size_t count) {
    if (first < 1 || first > N) return std::span<char>(chars_.data() + N, 0);
    return std::span<char>(chars_.data() + first - 1, std::min(count, N - (first - 1)));
  }

  // The text without its trailing blanks.
  constexpr std::string_view trimmed() const {
    std::string_view v = view();
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    return v;
  }

  template <std::size_t M>
  friend bool operator==(const FixedText& a, const FixedText<M>& b) {
    return equal_padded(a.view(), b.view());
  }
  friend bool operator==(const FixedText& a, std::string_view b) { return equal_padded(a.view(), b); }
  template <std::size_t M>
  friend std::strong_ordering operator<=>(const FixedText& a, const FixedText<M>& b) {
    return compare_padded(a.view(), b.view());
  }
  friend std::strong_ordering operator<=>(const FixedText& a, std::string_view b) {
    return compare_padded(a.view(), b);
  }

 private:
  std::array<char, N> chars_{};
};

}  // namespace rec
