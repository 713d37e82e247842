// Exploring the starts: short local fits on a coarse grid, a batch at a
// time, their ends grouped by the minimum they reached; then the cheapest
// groups fitted to the end on the project's grid.
#include <algorithm>
#include <cmath>

#include "fit/fit_search.h"

namespace zx {
namespace fit_search {

namespace {

// The exploring fits of a multi-start search: a coarser integration grid,
// a looser stopping rule and fewer iterations. Only the most promising of
// their ends are then fitted to the end on the project's own grid.
constexpr int kExploreSteps = 150;
constexpr int kExploreIterations = 40;
constexpr double kExploreTolerance = 1e-6;
constexpr double kExploreFirstOrder = 1e-3;
// Starts are added a batch at a time until this many have reached the
// cheapest end, up to kStartCapFactor times the starts asked for (at
// most kStartCap).
constexpr int kBatch = 8;
constexpr int kReachedEnough = 3;
constexpr int kStartCapFactor = 4;
constexpr int kStartCap = 64;

// One local fit from `from`, its progress passed on as start `start`.
LocalEnd RunLocalFit(StartFits& fits, const FitInput& in, const LocalFitSetup& su,
                     const FitValues& from, int start, int inner, int offset, bool explore) {
  FitResiduals all(in, inner, fits.setup.lower, fits.setup.upper);
  all.SetForwardDifferences(explore);
  const double weights = WeightSum(all, in, su.weighting);
  LocalProgress progress = [&](int iteration, double cost, const FitValues& q) {
    FitIteration it;
    it.iteration = offset + iteration;
    it.cost = cost;
    it.rms = RmsAt(all, q, su.free);
    it.merit = MeritOf(cost, weights);
    it.values = FromCoordinates(q);
    it.start = start;
    return fits.relay.Post(it);
  };
  LocalEnd end;
  end.fit = LocalFit(all, in, su, from, progress);
  end.start = start;
  end.cost = end.fit.cost;
  fits.evaluations += all.ModelEvaluations();
  return end;
}

// The exploring fits' problem: a coarse grid and looser settings.
struct Coarse {
  FitInput input;
  LocalFitSetup setup;
};

Coarse CoarseProblem(const FitInput& used, const LocalFitSetup& setup) {
  Coarse c{used, setup};
  c.input.params.IntStepNum = std::min(c.input.params.IntStepNum, kExploreSteps);
  c.setup.maxIterations = std::min(kExploreIterations, setup.maxIterations);
  c.setup.functionTolerance = std::max(kExploreTolerance, setup.functionTolerance);
  c.setup.firstOrderTolerance = kExploreFirstOrder;
  return c;
}

// Starts sorted by the cost of their end; a failed end last.
std::vector<int> ByEndCost(const Explored& ex) {
  const int n = static_cast<int>(ex.ends.size());
  std::vector<int> order(static_cast<std::size_t>(n));
  for (int s = 0; s < n; ++s) order[static_cast<std::size_t>(s)] = s;
  auto costOf = [&](int s) {
    const double c = ex.ends[static_cast<std::size_t>(s)].fit.cost;
    return std::isfinite(c) ? c : INFINITY;
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return costOf(a) < costOf(b); });
  return order;
}

// Groups the ends that reached the same minimum, cheapest first.
void ClusterEnds(Explored& ex, const LocalFitSetup& setup) {
  ex.clusterOf.assign(ex.ends.size(), -1);
  ex.reps.clear();
  for (int s : ByEndCost(ex)) {
    if (!std::isfinite(ex.ends[static_cast<std::size_t>(s)].fit.cost)) continue;
    for (int c : ex.reps)
      if (SameMinimum(ex.ends[static_cast<std::size_t>(s)].fit.q,
                      ex.ends[static_cast<std::size_t>(c)].fit.q, setup.free, setup.lower,
                      setup.upper, kExploreSame)) {
        ex.clusterOf[static_cast<std::size_t>(s)] = c;
        break;
      }
    if (ex.clusterOf[static_cast<std::size_t>(s)] < 0) {
      ex.clusterOf[static_cast<std::size_t>(s)] = s;
      ex.reps.push_back(s);
    }
  }
}

}  // namespace

int MembersOf(const Explored& ex, int rep) {
  int c = 0;
  for (int s : ex.clusterOf) c += s == rep;
  return c;
}

// Explores starts on the coarse grid, a batch at a time, until the
// cheapest end has been reached by enough starts (and at least `wanted`
// starts ran) or the cap is hit. Batches have a fixed size and every
// decision depends on the costs alone, so the thread count never matters.
Explored ExploreStarts(StartFits& fits, const FitInput& used, const FitValues& q0, int wanted) {
  const int cap = std::max(wanted, std::min(kStartCap, wanted * kStartCapFactor));
  const std::vector<FitValues> starts = Starts(cap, q0, fits.setup);
  Coarse coarse = CoarseProblem(used, fits.setup);
  const double weights =
      WeightSum(FitResiduals(coarse.input, 1, coarse.setup.lower, coarse.setup.upper), coarse.input,
                coarse.setup.weighting);
  Explored ex;
  int ran = 0;
  while (ran < cap && !fits.relay.Cancelled()) {
    const int batch = std::min(ran < wanted ? wanted - ran : kBatch, cap - ran);
    ex.ends.resize(static_cast<std::size_t>(ran + batch));
    fits.relay.Run(batch, fits.threads, [&](int i, int inner) {
      const int s = ran + i;
      LocalEnd e = RunLocalFit(fits, coarse.input, coarse.setup,
                               starts[static_cast<std::size_t>(s)], s, inner, 0, true);
      fits.relay.StartDone(MeritOf(e.fit.cost, weights));
      ex.ends[static_cast<std::size_t>(s)] = std::move(e);
    });
    ran += batch;
    ClusterEnds(ex, fits.setup);
    if (!ex.reps.empty() && MembersOf(ex, ex.reps[0]) >= kReachedEnough && ran >= wanted) break;
  }
  ex.capped = ex.reps.empty() || MembersOf(ex, ex.reps[0]) < kReachedEnough;
  return ex;
}

Explored SingleStart() {
  Explored ex;
  ex.ends.resize(1);
  ex.clusterOf = {0};
  ex.reps = {0};
  return ex;
}

// Cancelled while exploring: the cheapest end so far.
void ReportCancelledExploration(FitOutcome& out, const Explored& ex, long long evaluations) {
  const std::vector<int> order = ByEndCost(ex);
  out.stop = FitStop::Cancelled;
  out.reason = "cancelled";
  if (!order.empty()) {
    const FitValues v = FromCoordinates(ex.ends[static_cast<std::size_t>(order[0])].fit.q);
    for (std::size_t k = 0; k < kFitParamCount; ++k) out.params[k].value = v[k];
  }
  out.modelEvaluations = evaluations;
}

// How many clusters are fitted to the end: the cheapest few, while their
// cost stays near the best.
int PolishCount(const Explored& ex, bool multiStart) {
  int count = std::min(static_cast<int>(ex.reps.size()), multiStart ? kMaxPolished : 1);
  for (int i = 1; i < count; ++i)
    if (!(ex.ends[static_cast<std::size_t>(ex.reps[static_cast<std::size_t>(i)])].fit.cost <=
          kPolishedCostRatio * ex.ends[static_cast<std::size_t>(ex.reps[0])].fit.cost))
      return i;
  return count;
}

// Fits the clusters at the given positions of reps to the end on the
// project's grid.
void PolishEnds(StartFits& fits, const FitInput& used, const Explored& ex,
                const FitValues& firstStart, const std::vector<int>& which, bool multiStart,
                std::vector<LocalEnd>& polished, std::vector<bool>& done) {
  polished.resize(ex.reps.size());
  done.resize(ex.reps.size(), false);
  fits.relay.Run(static_cast<int>(which.size()), fits.threads, [&](int i, int inner) {
    const std::size_t r = static_cast<std::size_t>(which[static_cast<std::size_t>(i)]);
    const int s = ex.reps[r];
    const LocalEnd& from = ex.ends[static_cast<std::size_t>(s)];
    const FitValues q = multiStart ? from.fit.q : firstStart;
    LocalEnd e = RunLocalFit(fits, used, fits.setup, q, s, inner,
                             multiStart ? from.fit.iterations : 0, false);
    e.exploreIterations = multiStart ? from.fit.iterations : 0;
    polished[r] = std::move(e);
  });
  for (int r : which) done[static_cast<std::size_t>(r)] = true;
}

}  // namespace fit_search
}  // namespace zx
