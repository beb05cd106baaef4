#include "metutil/series.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

#include "metutil/single_math.hpp"
#include "records/records.hpp"

namespace metutil {

Param& param() {
  static Param area;
  return area;
}

void reset_param() { param() = Param{}; }

namespace {

constexpr float pi = 3.1415927f;

std::size_t bounded_count(std::int32_t n, std::size_t limit) {
  return n <= 0 ? 0 : std::min(static_cast<std::size_t>(n), limit);
}

}  // namespace

void lopass(std::span<const float> x, std::span<float> y, std::int32_t n, float fc,
            std::int32_t m) {
  const auto count = static_cast<std::int64_t>(bounded_count(n, std::min(x.size(), y.size())));
  if (count < 1) return;
  y[0] = x[0];
  y[static_cast<std::size_t>(count - 1)] = x[static_cast<std::size_t>(count - 1)];
  const std::int64_t half = std::min<std::int64_t>(m, kMaxHalfWidth);

  // h[j]: weight of the points j away; the weights depend only on the
  // window half-width k, so they are recomputed only when k changes (near
  // the ends) and give the same digits as a fresh computation per point.
  std::array<float, kMaxHalfWidth + 1> h{};
  float w0 = 1.0f;
  std::int64_t weights_for = std::numeric_limits<std::int64_t>::min();
  for (std::int64_t i = 2; i <= count - 1; ++i) {  // 1-based point number
    // Narrow the window near either end so it stays inside the series.
    std::int64_t k = half;
    if (i <= half) k = i - 1;
    if (i >= count - k + 1) k = count - i;

    if (k != weights_for) {
      weights_for = k;
      const float window = static_cast<float>(2 * k + 1);
      float wsum = 0.0f;
      for (std::int64_t j = 1; j <= k; ++j) {
        const float fj = static_cast<float>(j);
        const float sigma = 2.0f * fj * pi / window;
        // Ideal low-pass weight times the Lanczos factor that tames its ringing.
        h[static_cast<std::size_t>(j)] =
            detail::sin_d(fj * fc * pi) / (fj * pi) * detail::sin_d(sigma) / sigma;
        wsum = wsum + h[static_cast<std::size_t>(j)];
      }
      // Normalise so that the weights sum to one and a constant passes unchanged.
      const float total = fc + 2.0f * wsum;
      w0 = fc / total;
      for (std::int64_t j = 1; j <= k; ++j) h[static_cast<std::size_t>(j)] /= total;
    }

    const auto at = [&](std::int64_t p) { return x[static_cast<std::size_t>(p - 1)]; };
    float sum = at(i) * w0;
    for (std::int64_t j = 1; j <= k; ++j) {
      sum = sum + (at(i - j) + at(i + j)) * h[static_cast<std::size_t>(j)];
    }
    y[static_cast<std::size_t>(i - 1)] = sum;
  }
}

void gap(std::span<const float> x, std::int32_t n, std::span<std::int32_t, kGapListSize> starts,
         std::span<std::int32_t, kGapListSize> ends, std::int32_t& gaps, float threshold) {
  gaps = 0;
  std::fill(starts.begin(), starts.end(), 0);
  std::fill(ends.begin(), ends.end(), 0);
  const std::size_t count = bounded_count(n, x.size());

  // Segments beyond the lists are counted but not stored.
  std::int64_t segments = 0;
  bool inside = false;
  for (std::size_t i = 0; i < count; ++i) {
    const bool above = x[i] > threshold;
    const auto index = static_cast<std::int32_t>(i + 1);
    if (above && !inside) {
      ++segments;
      if (segments <= static_cast<std::int64_t>(kGapListSize)) {
        starts[static_cast<std::size_t>(segments - 1)] = index;
      }
    }
    if (inside && !above && segments <= static_cast<std::int64_t>(kGapListSize)) {
      ends[static_cast<std::size_t>(segments - 1)] = index - 1;
    }
    inside = above;
  }
  if (inside && segments <= static_cast<std::int64_t>(kGapListSize)) {
    ends[static_cast<std::size_t>(segments - 1)] = static_cast<std::int32_t>(count);
  }

  gaps = static_cast<std::int32_t>(std::max<std::int64_t>(segments - 1, 0));
  if (gaps > static_cast<std::int32_t>(kGapListSize)) {
    // The message layout keeps its run of blanks after "/,"; blanks outside
    // quoted text print nothing, so the message is an empty line and the text.
    rec::write(param().unit,
               "(/,                                                    "
               "' *** FATAL ERROR: TOO MANY GAPS IN SOUNDING ***')");
    rec::stop();
  }
}

}  // namespace metutil
