#include "numeric/regression.h"

#include <cmath>

namespace zx {

namespace {

bool IsConstant(const double* v, int n) {
  for (int i = 1; i < n; ++i)
    if (!(v[i] == v[0])) return false;
  return true;
}

}  // namespace

LineFit FitLine(const double* x, const double* y, std::size_t n) {
  LineFit l;
  if (n == 0) return l;
  double mx = 0, my = 0;
  for (std::size_t i = 0; i < n; ++i) mx += x[i], my += y[i];
  mx /= static_cast<double>(n);
  my /= static_cast<double>(n);
  double sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sxx += (x[i] - mx) * (x[i] - mx);
    sxy += (x[i] - mx) * (y[i] - my);
  }
  l.level = !(sxx > 0);
  l.slope = l.level ? 0.0 : sxy / sxx;
  l.offset = my - l.slope * mx;
  return l;
}

double CorrelationCoefficient(const double* x, const double* y, int n) {
  if (n <= 0) return 0.0;
  // A constant array has no spread; rounding in the sums below could
  // otherwise leave a tiny (or negative) variance and an arbitrary result.
  if (IsConstant(x, n) || IsConstant(y, n)) return 0.0;
  double sxy = 0, syy = 0, sxx = 0, my = 0, mx = 0;
  for (int i = 0; i < n; ++i) {
    sxy += x[i] * y[i];
    syy += y[i] * y[i];
    sxx += x[i] * x[i];
    my += y[i] / n;
    mx += x[i] / n;
  }
  const double sx = std::sqrt(sxx / n - mx * mx);
  const double sy = std::sqrt(syy / n - my * my);
  if (sx == 0 || sy == 0) return 0.0;
  // Rounding can carry a perfect correlation a hair beyond +-1.
  const double r = (sxy / n - mx * my) / (sx * sy);
  if (r > 1.0) return 1.0;
  if (r < -1.0) return -1.0;
  return r;
}

}  // namespace zx
