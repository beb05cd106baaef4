// Series routines: a symmetric low-pass filter and the gap check of a
// sounding series.
#pragma once

#include <cstdint>
#include <span>

namespace metutil {

// Most weights on each side of the filter's centre.
inline constexpr std::int32_t kMaxHalfWidth = 100;
// Entries of each segment list of gap.
inline constexpr std::size_t kGapListSize = 100;

// Shared area `param`: settings of the series routines.
struct Param {
  // Channel on which gap writes its fatal message; 0 (standard error) unless
  // a host program sets it.
  std::int32_t unit = 0;
};

// The process-wide `param` area.
Param& param();
// Restores `param` to its state at program start.
void reset_param();

// Low-pass filters the evenly spaced series x[0..n) into y[0..n) with a
// windowed (Lanczos) ideal filter: `fc` is the cutoff as a fraction of the
// highest resolvable frequency (1 passes everything), `m` the number of
// weights on each side of the centre, reduced near the ends so the window
// never reaches past them. The end points are copied unfiltered; the
// weights of every point sum to one. y must not overlap x.
// n is bounded by the sizes of x and y, n < 1 does nothing, and m is taken
// as at most 100.
void lopass(std::span<const float> x, std::span<float> y, std::int32_t n, float fc, std::int32_t m);

// Finds the segments of x[0..n) that lie strictly above `threshold` (maximal
// runs of such values) and stores the 1-based first and last index of the
// j-th segment in starts[j-1] and ends[j-1]; unused entries are 0. `gaps` is
// the number of segments less one (0 when there is none). Only the first
// 100 segments are stored, the count takes all of them. More than 100 gaps
// write the fatal message on the `param` channel and stop the program.
void gap(std::span<const float> x, std::int32_t n, std::span<std::int32_t, kGapListSize> starts,
         std::span<std::int32_t, kGapListSize> ends, std::int32_t& gaps, float threshold);

}  // namespace metutil
