// The cubic B-spline analysis package: settings and basis functions,
// matrix utilities, normal equations, coefficients and evaluation, and the
// filtered-analysis driver.
#pragma once

#include "spline/areas.hpp"
#include "spline/driver.hpp"
#include "spline/evaluate.hpp"
#include "spline/matrix.hpp"
#include "spline/normal.hpp"
#include "spline/settings.hpp"
