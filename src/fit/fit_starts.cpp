// The starts of a multi-start search: the current values, then a
// low-discrepancy Halton sequence (Halton 1960) over the moving coordinates.
#include <algorithm>
#include <cmath>

#include "fit/fit_search.h"

namespace zx {
namespace fit_search {

namespace {

// Van der Corput radical inverse of index in the base: one Halton coordinate.
double RadicalInverse(int base, int index) {
  double result = 0, f = 1.0 / base;
  for (int i = index; i > 0; i /= base, f /= base) result += f * (i % base);
  return result;
}

}  // namespace

// The starts: the current values, then points of a Halton sequence over the
// moving coordinates. Parameters fitted on log scales (the table's fitScale)
// are spread over decades, and so is m when its range spans one; some are
// sampled over their top decades only (sampledDecades), below which they
// have no effect the data could show.
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
      const double decades = ParamRowOf(static_cast<int>(k)).sampledDecades;
      if (decades > 0) lo = std::max(lo, hi - decades);
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
