#include "metutil/series.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace metutil {
namespace {

std::vector<float> wavy(int n) {
  std::vector<float> x;
  for (int i = 0; i < n; ++i) {
    x.push_back(10.0f + 3.0f * std::sin(0.3f * static_cast<float>(i)) +
                static_cast<float>((i * 7) % 5));
  }
  return x;
}

// The filter written out in double precision straight from its definition.
std::vector<double> reference_lopass(const std::vector<float>& x, double fc, int m) {
  const int n = static_cast<int>(x.size());
  const double pi = 3.14159265358979;
  std::vector<double> y(x.begin(), x.end());
  for (int i = 2; i <= n - 1; ++i) {
    const int k = std::min({m, i - 1, n - i});
    std::vector<double> h(static_cast<std::size_t>(k) + 1, 0.0);
    double total = fc;
    for (int j = 1; j <= k; ++j) {
      const double s = 2.0 * j * pi / (2 * k + 1);
      h[j] = std::sin(j * fc * pi) / (j * pi) * std::sin(s) / s;
      total += 2.0 * h[j];
    }
    double sum = x[i - 1] * fc / total;
    for (int j = 1; j <= k; ++j) sum += (x[i - 1 - j] + x[i - 1 + j]) * h[j] / total;
    y[i - 1] = sum;
  }
  return y;
}

TEST(Lopass, MatchesTheFilterDefinition) {
  // Single precision against double: sums of up to 2m+1 terms of size ~15
  // differ by a few ulps of 15, well under 1e-4.
  struct Case {
    int n;
    float fc;
    int m;
  };
  const Case cases[] = {{40, 0.25f, 5}, {40, 0.5f, 30}, {9, 0.1f, 100}, {3, 0.4f, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "n " << c.n << " fc " << c.fc << " m " << c.m);
    const auto x = wavy(c.n);
    std::vector<float> y(x.size(), -1.0f);
    lopass(x, y, c.n, c.fc, c.m);
    const auto expected = reference_lopass(x, c.fc, c.m);
    EXPECT_EQ(y.front(), x.front());  // end points copied unfiltered
    EXPECT_EQ(y.back(), x.back());
    for (std::size_t i = 0; i < y.size(); ++i) EXPECT_NEAR(y[i], expected[i], 1e-4) << i;
  }
}

TEST(Lopass, PassesConstantsAndEverythingAtFullCutoff) {
  // Constant: the weights sum to one up to a few ulps. fc = 1: every side
  // weight is sin(j pi)/(j pi), which single-precision pi leaves at ~3e-8.
  const auto x = wavy(60);
  for (int m : {1, 4, 20, 100}) {
    SCOPED_TRACE(m);
    std::vector<float> y(x.size());
    lopass(x, y, 60, 1.0f, m);
    for (std::size_t i = 0; i < y.size(); ++i) EXPECT_NEAR(y[i], x[i], 1e-5f * x[i]) << i;
    for (float fc : {0.05f, 0.3f, 0.8f}) {
      const std::vector<float> flat(60, 287.5f);
      lopass(flat, y, 60, fc, m);
      for (float v : y) EXPECT_NEAR(v, 287.5f, 1e-5f * 287.5f);
    }
  }
}

TEST(Lopass, RemovesTheShortestWave) {
  // A two-point wave lies far above a cutoff of 0.3.
  std::vector<float> x(41);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = i % 2 == 0 ? 1.0f : -1.0f;
  std::vector<float> y(x.size());
  lopass(x, y, 41, 0.3f, 10);
  for (std::size_t i = 10; i + 10 < y.size(); ++i) EXPECT_LT(std::fabs(y[i]), 0.05f) << i;
}

TEST(Lopass, SizeLimits) {
  const auto x = wavy(301);
  // Half-widths beyond 100 act as 100.
  std::vector<float> y100(x.size()), y150(x.size());
  lopass(x, y100, 301, 0.2f, 100);
  lopass(x, y150, 301, 0.2f, 150);
  EXPECT_EQ(y100, y150);
  // n = 1 and 2 copy; n <= 0 touches nothing; n beyond the arrays is bounded.
  std::vector<float> y(5, -7.0f);
  lopass(x, y, 2, 0.2f, 3);
  EXPECT_EQ(y, (std::vector<float>{x[0], x[1], -7, -7, -7}));
  std::fill(y.begin(), y.end(), -7.0f);
  lopass(x, y, 0, 0.2f, 3);
  lopass(x, y, -4, 0.2f, 3);
  EXPECT_EQ(y, std::vector<float>(5, -7.0f));
  lopass(x, y, 301, 0.2f, 3);
  EXPECT_EQ(y.back(), x[4]);
}

struct GapCase {
  const char* name;
  std::vector<float> x;
  std::int32_t gaps;
  std::vector<std::int32_t> starts;
  std::vector<std::int32_t> ends;
};

TEST(Gap, SegmentsAboveTheThreshold) {
  constexpr float m = -999.0f;  // threshold: valid data lie above it
  const GapCase cases[] = {
      {"nothing above", {m, m, m}, 0, {}, {}},
      {"empty series", {}, 0, {}, {}},
      {"one segment", {m, 5, 6, m}, 0, {2}, {3}},
      {"three segments", {1, 2, m, m, 3, m, 4, 5, 6, m}, 2, {1, 5, 7}, {2, 5, 9}},
      {"open at the end", {m, 1, m, 2, 3}, 1, {2, 4}, {2, 5}},
      {"equal to the threshold is a gap", {1, -999, 1}, 1, {1, 3}, {1, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::array<std::int32_t, kGapListSize> starts;
    std::array<std::int32_t, kGapListSize> ends;
    starts.fill(77);  // leftovers of an earlier sounding
    ends.fill(77);
    std::int32_t gaps = -1;
    gap(c.x, static_cast<std::int32_t>(c.x.size()), starts, ends, gaps, m);
    EXPECT_EQ(gaps, c.gaps);
    std::vector<std::int32_t> want_starts = c.starts;
    std::vector<std::int32_t> want_ends = c.ends;
    want_starts.resize(kGapListSize, 0);
    want_ends.resize(kGapListSize, 0);
    EXPECT_EQ(std::vector<std::int32_t>(starts.begin(), starts.end()), want_starts);
    EXPECT_EQ(std::vector<std::int32_t>(ends.begin(), ends.end()), want_ends);
  }
}

TEST(Gap, HundredGapsFitAndTheSegmentBeyondTheListsIsDropped) {
  // 101 segments of one value each: 100 gaps, which is not yet too many.
  std::vector<float> x;
  for (int s = 0; s < 101; ++s) {
    x.push_back(1.0f);
    x.push_back(0.0f);
  }
  std::array<std::int32_t, kGapListSize> starts{};
  std::array<std::int32_t, kGapListSize> ends{};
  std::int32_t gaps = 0;
  gap(x, static_cast<std::int32_t>(x.size()), starts, ends, gaps, 0.5f);
  EXPECT_EQ(gaps, 100);
  EXPECT_EQ(starts.front(), 1);
  EXPECT_EQ(starts.back(), 199);  // the 100th segment; the 101st (201) is not kept
  EXPECT_EQ(ends.back(), 199);
  // n beyond the series is bounded by it.
  gap(std::span<const float>(x).first(4), 1000, starts, ends, gaps, 0.5f);
  EXPECT_EQ(gaps, 1);
  EXPECT_EQ(ends[1], 3);
}

}  // namespace
}  // namespace metutil
