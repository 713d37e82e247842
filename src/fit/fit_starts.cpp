// The starts of a multi-start search: the current values, then a
// low-discrepancy Halton sequence (Halton 1960) over the moving coordinates.
#include <algorithm>
#include <cmath>

#include "fit/fit_search.h"

namespace zx {
namespace fit_search {

namespace {

// sigma^2's and g^2's starts lie within this many decades below the upper bound.
constexpr double kSampledDecades = 3.0;

// Van der Corput radical inverse of index in the base: one Halton coordinate.
double RadicalInverse(int base, int index) {
  double result = 0, f = 1.0 / base;
  for (int i = index; i > 0; i /= base, f /= base) result += f * (i % base);
  return result;
}

}  // namespace

// The starts: the current values, then points of a Halton sequence over the
// moving coordinates. Am, sigma^2 and g^2 are fitted on log scales, so the
// sequence spreads them over decades; so is m when its range spans one.
// sigma^2 and g^2 are sampled over their top three decades only: below
// that they have no effect the data could show.
std::vector<FitValues> Starts(int count, const FitValues& q0, const LocalFitSetup& setup) {
  static const int kPrimes[kFitParamCount] = {2, 3, 5, 7, 11, 13, 17};
  std::vector<FitValues> starts(static_cast<std::size_t>(count), q0);
  for (int s = 1; s < count; ++s) {
    int dim = 0;
    for (std::size_t k = 0; k < kFitParamCount; ++k) {
      if (!setup.free[k]) continue;
      const double u = RadicalInverse(kPrimes[dim++], s);
      double lo = setup.lower[k];
      const double hi = setup.upper[k];
      if (k == static_cast<std::size_t>(FitParam::Sigma2) ||
          k == static_cast<std::size_t>(FitParam::G2))
        lo = std::max(lo, hi - kSampledDecades);
      double& q = starts[static_cast<std::size_t>(s)][k];
      if (!IsLogCoordinate(static_cast<int>(k)) && lo > 0 && hi >= 10 * lo)
        q = lo * std::pow(hi / lo, u);
      else
        q = lo + u * (hi - lo);
    }
  }
  return starts;
}

}  // namespace fit_search
}  // namespace zx
