// Shared helpers of the spline tests.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>

#include "records/records.hpp"
#include "spline/spline.hpp"

namespace spline::test {

// A fatal stop of the package inside a test ends the test case instead of
// the process.
struct Stopped : std::runtime_error {
  Stopped() : std::runtime_error("stopped") {}
};

class SplineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_areas();
    rec::set_ending_handler([](rec::Ending) { throw Stopped(); });
  }
  void TearDown() override { rec::set_ending_handler(nullptr); }

  // Grid of NXX intervals from YNB to YNT with the given boundary types.
  static void grid(int NXX, float YNB, float YNT, int kb1 = 0, int kb2 = 0, float ybc1 = 0,
                   float ybc2 = 0, int kdc = 3, float ydcwl = 0) {
    setspnd(NXX, YNB, YNT);
    setspbc(kb1, kb2, ybc1, ybc2);
    setspdc(kdc, ydcwl);
    splover();
  }
};

}  // namespace spline::test
