// Least-squares lines and correlation.
#pragma once

#include <cstddef>

namespace zx {

struct LineFit {
  double offset = 0.0, slope = 0.0;  // y = offset + slope * x
  // No spread in x (one abscissa, or none): the line is level at the mean
  // of y, and the slope says nothing.
  bool level = true;
};

// The least-squares line through n points, from sums about the means.
LineFit FitLine(const double* x, const double* y, std::size_t n);

// The Pearson correlation of two arrays of n values, from raw moments.
// 0.0 for no samples or when either array is constant; clamped to [-1, 1].
double CorrelationCoefficient(const double* x, const double* y, int n);

}  // namespace zx
