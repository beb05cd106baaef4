// One complete filtered analysis at the largest grid, and the inversion
// alone at the largest order.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "spline/spline.hpp"

namespace {

// 3600 observations of two waves over a 240-node grid (ratio 10).
void BM_vicspl_240_nodes_3600_obs(benchmark::State& state) {
  const int n = 3600;
  std::vector<float> y(n), w(n, 1.0f), v(n);
  for (int i = 0; i < n; ++i) {
    y[static_cast<std::size_t>(i)] = 2390.0f * static_cast<float>(i) / static_cast<float>(n - 1);
    v[static_cast<std::size_t>(i)] = std::sin(y[static_cast<std::size_t>(i)] * 0.02f) +
                                     0.3f * std::cos(y[static_cast<std::size_t>(i)] * 0.9f);
  }
  for (auto _ : state) {
    int ierr = 0;
    spline::vicspl(y, w, v, n, n, 1, 0.0f, 2390.0f, 239, 100.0f, 1, 1, 0.0f, 0.0f, ierr);
    benchmark::DoNotOptimize(spline::big().FNODE.v[0]);
  }
}
BENCHMARK(BM_vicspl_240_nodes_3600_obs)->Unit(benchmark::kMillisecond);

// A symmetric, diagonally dominant banded matrix of order 240.
void BM_aneginv_240(benchmark::State& state) {
  spline::pasdexx(240);
  auto S = std::make_unique<spline::Matrix>();
  auto SI = std::make_unique<spline::Matrix>();
  for (int i = 1; i <= 240; ++i)
    for (int j = 1; j <= 240; ++j) {
      const int d = std::abs(i - j);
      (*S)(i, j) = d == 0 ? 4.0f : (d <= 3 ? 1.0f / static_cast<float>(d + 1) : 0.0f);
    }
  for (auto _ : state) {
    spline::aneginv(*S, *SI);
    benchmark::DoNotOptimize((*SI)(1, 1));
  }
}
BENCHMARK(BM_aneginv_240)->Unit(benchmark::kMillisecond);

}  // namespace
