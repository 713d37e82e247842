// The Pearson correlation of two equally long arrays.
#pragma once

#include <string>

namespace zx {

// 0.0 for no samples or when either array is constant.
double CorrelationCoefficient(const double* x, const double* y, int n);

// The coefficient as the calculation-condition list shows it: six
// decimals; "nan" / "inf" for values that are not numbers.
std::string CorrCoefText(double r);

}  // namespace zx
