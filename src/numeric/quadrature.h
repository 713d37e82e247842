// Composite quadrature rules.
#pragma once

#include <cstddef>

namespace zx {

// Composite three-eighths rule over n intervals of [a, b]. g(i, x) gets
// the running number i of the call besides the abscissa x, so that a
// caller can tabulate the integrand. The abscissae come in a fixed order:
// the pairs (k, k+1) for k = 1, 4, 7, ..., then k = 3, 6, ..., then a and
// b; the sums, and so the last bits of the result, depend on it.
template <class G>
double ThreeEighths(G&& g, double a, double b, int n) {
  const double h = (b - a) / n;
  // 64-bit indices: n near the int limits must not overflow the bounds.
  const long long last = n;
  std::size_t i = 0;
  double s3 = 0;
  for (long long k = 1; k <= last - 2; k += 3) {
    const double lower = g(i++, static_cast<double>(k) * h + a);
    const double upper = g(i++, static_cast<double>(k + 1) * h + a);
    s3 += lower + upper;
  }
  double s2 = 0;
  for (long long k = 3; k <= last - 3; k += 3) s2 += g(i++, static_cast<double>(k) * h + a);
  const double ga = g(i++, a);
  const double gb = g(i++, b);
  return (ga + gb + 3 * s3 + 2 * s2) * h * 3 / 8;
}

}  // namespace zx
