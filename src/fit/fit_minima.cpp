// Minima: whether two ends reached the same one, and the distinct minima
// of a search ranked by their cost on the project's grid.
#include <algorithm>
#include <cmath>

#include "fit/fit_search.h"

namespace zx {
namespace fit_search {

bool SameMinimum(const FitValues& a, const FitValues& b, const FitFlags& free, const FitValues& lo,
                 const FitValues& hi, double tol) {
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    if (!free[k]) continue;
    const double d = std::fabs(a[k] - b[k]);
    if (d > tol * std::max(std::fabs(a[k]), std::fabs(b[k])) + kBoundTolerance * (hi[k] - lo[k]))
      return false;
  }
  return true;
}

double RmsAt(FitResiduals& all, const FitValues& q, const FitFlags& free) {
  const FitResiduals::Evaluation& e = all.At(q, false, free);
  double sum = 0;
  for (double r : e.r) sum += r * r;
  return e.r.empty() ? NAN : std::sqrt(sum / static_cast<double>(e.r.size()));
}

namespace {

void AddMinimum(Minima& minima, FitResiduals& all, const FitInput& used, const LocalFitSetup& setup,
                double weights, const FitValues& q, int count, int rep, bool polished, double tol) {
  for (FitMinimum& m : minima.list)
    if (SameMinimum(ToCoordinates(m.values), q, setup.free, setup.lower, setup.upper, tol)) {
      m.starts += count;
      return;
    }
  FitMinimum fm;
  fm.values = FromCoordinates(q);
  fm.cost = FitCost(all, used, setup, q);
  fm.merit = MeritOf(fm.cost, weights);
  fm.rms = RmsAt(all, q, setup.free);
  fm.starts = count;
  minima.list.push_back(fm);
  minima.rep.push_back(rep);
  minima.polished.push_back(polished);
}

// Distinct minima on the project's grid, cheapest first: the polished

}  // namespace

// ends, then the clusters explored only.
Minima DistinctMinima(FitResiduals& all, const FitInput& used, const LocalFitSetup& setup,
                      const Explored& ex, const std::vector<LocalEnd>& polished,
                      const std::vector<bool>& done) {
  Minima minima;
  const double weights = WeightSum(all, used, setup.weighting);
  for (std::size_t r = 0; r < done.size(); ++r)
    if (done[r] && std::isfinite(polished[r].fit.cost))
      AddMinimum(minima, all, used, setup, weights, polished[r].fit.q, MembersOf(ex, ex.reps[r]),
                 static_cast<int>(r), true, kSameMinimum);
  for (std::size_t r = 0; r < ex.reps.size(); ++r) {
    const LocalEnd& e = ex.ends[static_cast<std::size_t>(ex.reps[r])];
    if ((r < done.size() && done[r]) || !std::isfinite(e.fit.cost)) continue;
    AddMinimum(minima, all, used, setup, weights, e.fit.q, MembersOf(ex, ex.reps[r]),
               static_cast<int>(r), false, kExploreSame);
  }
  std::vector<std::size_t> order(minima.list.size());
  for (std::size_t m = 0; m < order.size(); ++m) order[m] = m;
  auto finiteCost = [&](std::size_t m) {
    return std::isfinite(minima.list[m].cost) ? minima.list[m].cost : INFINITY;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return finiteCost(a) < finiteCost(b); });
  Minima sorted;
  for (std::size_t m : order) {
    sorted.list.push_back(minima.list[m]);
    sorted.rep.push_back(minima.rep[m]);
    sorted.polished.push_back(minima.polished[m]);
  }
  return sorted;
}

}  // namespace fit_search
}  // namespace zx
