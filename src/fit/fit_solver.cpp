#include "fit/fit_solver.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "calc/parallel.h"
#include "fit/fit_errors.h"
#include "fit/fit_local.h"
#include "fit/fit_residuals.h"
#include "fit/fit_usable.h"
#include "model/validation.h"

namespace zx {

namespace {

// The default Tc range never starts below the highest measured temperature
// times this, and reaches at least this factor above its start.
constexpr double kTcMargin = 1.005;
constexpr double kTcSpan = 1.2;
// Smallest sigma^2 and g^2 the fit tries when their lower bound is 0
// (both are fitted on a log scale).
constexpr double kPositiveFloor = 1e-12;
// The exploring fits of a multi-start search: a coarser integration grid,
// a looser stopping rule and fewer iterations. Only the most promising of
// their ends are then fitted to the end on the project's own grid.
constexpr int kExploreSteps = 150;
constexpr int kExploreIterations = 40;
constexpr double kExploreTolerance = 1e-6;
constexpr double kExploreFirstOrder = 1e-3;
constexpr double kExploreSame = 1e-2;
// Starts are added a batch at a time until this many have reached the
// cheapest end, up to kStartCapFactor times the starts asked for (at
// most kStartCap).
constexpr int kBatch = 8;
constexpr int kReachedEnough = 3;
constexpr int kStartCapFactor = 4;
constexpr int kStartCap = 64;
// sigma^2's and g^2's starts lie within this many decades below the upper bound.
constexpr double kSampledDecades = 3.0;
// Ends whose cost is more than this times the best are not fitted further.
constexpr double kPolishedCostRatio = 2.0;
constexpr int kMaxPolished = 3;
// Refits at most this often while the points with a model value change.
constexpr int kUsableRounds = 3;
// Two minima are one when every free coordinate agrees to this, relative.
constexpr double kSameMinimum = 1e-3;

const char* const kRangeNames[kFitParamCount] = {"", "", "", "", "", "T_c", "B_c2(0)"};

// Van der Corput radical inverse of index in the base: one Halton coordinate.
double RadicalInverse(int base, int index) {
  double result = 0, f = 1.0 / base;
  for (int i = index; i > 0; i /= base, f /= base) result += f * (i % base);
  return result;
}

bool SameMinimum(const FitValues& a, const FitValues& b, const FitFlags& free, const FitValues& lo,
                 const FitValues& hi, double tol) {
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    if (!free[k]) continue;
    const double d = std::fabs(a[k] - b[k]);
    if (d > tol * std::max(std::fabs(a[k]), std::fabs(b[k])) + 1e-9 * (hi[k] - lo[k])) return false;
  }
  return true;
}

double RmsAt(FitResiduals& all, const FitValues& q, const FitFlags& free) {
  const FitResiduals::Evaluation& e = all.At(q, false, free);
  double sum = 0;
  for (double r : e.r) sum += r * r;
  return e.r.empty() ? NAN : std::sqrt(sum / static_cast<double>(e.r.size()));
}

// Passes the progress of fits on worker threads to the caller's callback,
// on the thread that called RunFit, one call at a time. Only the latest
// iteration of each start waits to be passed on.
class Relay {
 public:
  explicit Relay(const std::function<bool(const FitIteration&)>& callback) : callback_(callback) {}

  // Worker side; false when the fit is to stop.
  bool Post(FitIteration it) {
    if (cancel_) return false;
    if (!callback_) return true;
    std::unique_lock<std::mutex> lock(mutex_);
    it.startsDone = startsDone_;
    it.bestMerit = bestMerit_;
    if (direct_) {
      lock.unlock();
      if (!callback_(it)) cancel_ = true;
      return !cancel_;
    }
    pending_[it.start] = it;
    lock.unlock();
    wake_.notify_one();
    return !cancel_;
  }

  void StartDone(double merit) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++startsDone_;
    if (std::isfinite(merit) && !(bestMerit_ <= merit)) bestMerit_ = merit;
  }
  void Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    startsDone_ = 0;
    bestMerit_ = NAN;
  }
  bool Cancelled() const { return cancel_; }

  // Runs task(i, innerThreads) for i in [0, count) on up to `threads`
  // threads; the calling thread passes the progress on meanwhile. A single
  // task, or a single thread, runs on the calling thread itself.
  void Run(int count, int threads, const std::function<void(int, int)>& task) {
    if (count <= 0) return;
    if (count == 1 || threads <= 1) {
      for (int i = 0; i < count && !cancel_; ++i) task(i, count == 1 ? threads : 1);
      return;
    }
    std::atomic<int> next{0};
    int remaining = count;
    auto body = [&] {
      for (int i = next++; i < count; i = next++) {
        if (!cancel_) task(i, 1);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          --remaining;
        }
        wake_.notify_one();
      }
    };
    // Set before any worker can post: from here on only this thread calls back.
    direct_ = false;
    std::vector<std::thread> workers;
    for (int t = 0; t < std::min(threads, count); ++t) {
      try {
        workers.emplace_back(body);
      } catch (const std::system_error&) {
        break;
      }
    }
    if (workers.empty()) {
      direct_ = true;
      for (int i = 0; i < count && !cancel_; ++i) task(i, 1);
      return;
    }
    while (true) {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return !pending_.empty() || remaining == 0; });
      std::map<int, FitIteration> batch;
      batch.swap(pending_);
      const bool done = remaining == 0;
      lock.unlock();
      for (auto& [start, it] : batch)
        if (callback_ && !cancel_ && !callback_(it)) cancel_ = true;
      if (done) break;
    }
    for (std::thread& w : workers) w.join();
    direct_ = true;
  }

 private:
  const std::function<bool(const FitIteration&)>& callback_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::map<int, FitIteration> pending_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> direct_{true};
  int startsDone_ = 0;
  double bestMerit_ = NAN;
};

// What every order shares: bounds, the free parameters, the first start.
struct Common {
  FitValues lower{}, upper{};  // values
  FitValues qLo{}, qHi{};      // coordinates
  FitFlags free{};
  FitValues start{};  // values, clamped into the ranges
  std::vector<FitWarning> warnings;
};

struct LocalEnd {
  LocalFitResult fit;
  int exploreIterations = 0;
  double cost = NAN;  // on the project's grid
  int start = 0;
};

// The fitted values into out, each moving parameter marked when it ended
// on a bound. Returns the parameters whose errors are estimated: the moving
// ones off the bounds (a bound parameter is held where it is).
FitFlags ClassifyBounds(FitOutcome& out, const Common& common, const FitFlags& moving,
                        const LocalFitSetup& setup, const FitValues& q) {
  const FitValues fitted = FromCoordinates(q);
  std::vector<int> onBound;
  FitFlags estimate = moving;
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    FitParamOutcome& p = out.params[k];
    if (!common.free[k]) continue;
    p.value = fitted[k];
    if (!moving[k]) continue;
    const double tol = 1e-9 * std::max(setup.upper[k] - setup.lower[k], 1e-300);
    // A value on a bound is the bound itself, not its round trip through
    // the log scale.
    if (q[k] <= setup.lower[k] + tol) {
      p.state = ParamState::Lower;
      p.value = common.lower[k];
    } else if (q[k] >= setup.upper[k] - tol) {
      p.state = ParamState::Upper;
      p.value = common.upper[k];
    }
    if (p.state != ParamState::Free) {
      onBound.push_back(static_cast<int>(k));
      estimate[k] = false;
    }
  }
  if (!onBound.empty()) out.warnings.push_back({FitWarningKind::Bound, onBound, {}});
  return estimate;
}

// Standard errors, covariance and correlations of the values at q, and the
// parameters the data cannot tell apart (with the structural ones).
void ComputeErrors(FitOutcome& out, FitResiduals& all, const FitInput& used,
                   const LocalFitSetup& setup, const FitValues& q, const FitFlags& estimate,
                   const std::vector<int>& structural) {
  const FitValues fitted = FromCoordinates(q);
  const FitErrors errors = EstimateErrors(all, used, setup, q, estimate);
  std::vector<int> degenerate = structural;
  degenerate.insert(degenerate.end(), errors.degenerate.begin(), errors.degenerate.end());
  std::sort(degenerate.begin(), degenerate.end());
  degenerate.erase(std::unique(degenerate.begin(), degenerate.end()), degenerate.end());
  FitFlags undetermined{};
  for (int k : degenerate) undetermined[static_cast<std::size_t>(k)] = true;
  // Covariance of the values: v = 10^q gives dv = v ln 10 dq.
  FitValues d;
  for (std::size_t k = 0; k < kFitParamCount; ++k)
    d[k] = IsLogCoordinate(static_cast<int>(k)) ? fitted[k] * std::log(10.0) : 1;
  for (std::size_t i = 0; i < kFitParamCount; ++i)
    for (std::size_t j = 0; j < kFitParamCount; ++j) {
      if (undetermined[i] || undetermined[j]) continue;
      out.covariance[i][j] = errors.covariance[i][j] * d[i] * d[j];
    }
  for (std::size_t i = 0; i < kFitParamCount; ++i) {
    const double ci = out.covariance[i][i];
    if (std::isfinite(ci) && ci >= 0) out.params[i].stdError = std::sqrt(ci);
    for (std::size_t j = 0; j < kFitParamCount; ++j)
      out.correlation[i][j] =
          out.covariance[i][j] / std::sqrt(out.covariance[i][i] * out.covariance[j][j]);
  }
  for (int k : degenerate) out.degenerate.push_back(FitParamName(k));
  if (!degenerate.empty()) out.warnings.push_back({FitWarningKind::Degenerate, degenerate, {}});
}

// The outcome before any fit: the start's values, bounds and states.
FitOutcome InitialOutcome(const FitInput& input, const Common& common) {
  FitOutcome out;
  out.tcn = input.params.Tcn;
  out.bcn = input.params.Bcn;
  out.warnings = common.warnings;
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    FitParamOutcome& p = out.params[k];
    p.lower = common.lower[k];
    p.upper = common.upper[k];
    p.stdError = NAN;
    p.value = common.start[k];
    p.state = common.free[k] ? ParamState::Free : ParamState::Fixed;
  }
  return out;
}

struct UsableData {
  FitInput used;
  std::vector<std::pair<int, int>> leftOut;  // points where the model has no value
};

// The points the model has a value for at the start.
UsableData UsableAtStart(const FitInput& input, const Common& common, FitOutcome& out) {
  FitInput started = input;
  SetParams(started.params, common.start);
  UsableData d;
  d.used = UsablePoints(started, d.leftOut);
  if (!d.leftOut.empty()) out.warnings.push_back({FitWarningKind::NoModelValue, {}, d.leftOut});
  return d;
}

// False, with the reason in out, when there is nothing to fit.
bool EnoughPoints(FitOutcome& out, const UsableData& data, const Common& common) {
  int freeCount = 0;
  for (bool f : common.free) freeCount += f;
  const int points = data.used.UsedPoints();
  if (points == 0 || freeCount == 0) {
    out.stop = FitStop::NothingToFit;
    out.reason = freeCount == 0         ? "every parameter fixed"
                 : data.leftOut.empty() ? "no usable point"
                                        : "no point where the model has a value";
    return false;
  }
  if (points < freeCount) {
    out.stop = FitStop::NothingToFit;
    out.reason = "fewer points than free parameters";
    std::vector<int> names;
    for (int k = 0; k < kFitParamCount; ++k)
      if (common.free[static_cast<std::size_t>(k)]) names.push_back(k);
    out.warnings.push_back({FitWarningKind::TooFewPoints, names, {}});
    return false;
  }
  return true;
}

struct Structure {
  FitFlags moving{};            // the free parameters the fit moves
  std::vector<int> structural;  // the parameters named as not told apart
};

// Structural degeneracy: at one temperature Am and m act only through
// Am t^m, at one field (E-J) Am and gamma only through Am B^(gamma-1).
// The redundant one (m, gamma) is held at its start so that every start
// solves the same well-posed problem; both are named.
Structure StructuralDegeneracy(const FitInput& used, const Common& common) {
  std::set<double> temps, fields;
  for (const ConditionData& c : used.conditions)
    if (!c.x.empty()) temps.insert(c.temp), fields.insert(c.field);
  const auto A = static_cast<std::size_t>(FitParam::Am), M = static_cast<std::size_t>(FitParam::M),
             G = static_cast<std::size_t>(FitParam::Gamma);
  Structure s;
  s.moving = common.free;
  if (temps.size() == 1 && s.moving[A] && s.moving[M]) {
    s.moving[M] = false;
    s.structural.insert(s.structural.end(), {static_cast<int>(A), static_cast<int>(M)});
  }
  if (used.mode == CalcMode::EJ && fields.size() == 1 && s.moving[G]) {
    if (*fields.begin() == 1.0) {
      s.moving[G] = false;  // B^(gamma-1) is 1: gamma has no effect at all
      s.structural.push_back(static_cast<int>(G));
    } else if (common.free[A]) {
      s.moving[G] = false;
      s.structural.insert(s.structural.end(), {static_cast<int>(A), static_cast<int>(G)});
    }
  }
  std::sort(s.structural.begin(), s.structural.end());
  s.structural.erase(std::unique(s.structural.begin(), s.structural.end()), s.structural.end());
  return s;
}

LocalFitSetup FinalSetup(const Common& common, const FitFlags& moving, const FitOptions& options) {
  LocalFitSetup setup;
  setup.lower = common.qLo;
  setup.upper = common.qHi;
  setup.free = moving;
  setup.loss = options.loss;
  setup.lossScale = options.lossScale;
  setup.weighting = options.weighting;
  setup.maxIterations = std::max(options.maxIterations, 1);
  setup.functionTolerance = options.functionTolerance;
  return setup;
}

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

// What every local fit of one order shares.
struct StartFits {
  Relay& relay;
  const LocalFitSetup& setup;  // the final fits' settings and bounds
  int threads = 1;
  std::atomic<long long> evaluations{0};
};

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

// The ends of the starts and how they group.
struct Explored {
  std::vector<LocalEnd> ends;  // by start
  std::vector<int> clusterOf;  // the representative of each start
  std::vector<int> reps;       // one start per cluster, lowest cost first
  bool capped = false;         // the cap on starts ended the search
};

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

struct Minima {
  std::vector<FitMinimum> list;
  std::vector<int> rep;  // position in reps of each minimum's first cluster
  std::vector<bool> polished;
};

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

// The result: the best end's values, bounds, errors and warnings.
void ReportBest(FitOutcome& out, FitResiduals& all, const FitInput& used, const Common& common,
                const LocalFitSetup& setup, const Structure& structure, const LocalEnd& best) {
  out.stop = best.fit.stop;
  out.reason = best.fit.reason;
  out.iterations = best.fit.iterations + best.exploreIterations;
  const FitValues q = best.fit.q;
  out.cost = FitCost(all, used, setup, q);
  out.merit = MeritOf(out.cost, WeightSum(all, used, setup.weighting));
  const FitFlags estimate = ClassifyBounds(out, common, structure.moving, setup, q);
  if (out.stop != FitStop::Cancelled)
    ComputeErrors(out, all, used, setup, q, estimate, structure.structural);
  if (out.stop != FitStop::Converged && out.stop != FitStop::Cancelled)
    out.warnings.push_back({FitWarningKind::NotConverged, {}, {}});
}

FitOutcome FitOneOrder(const FitInput& input, const FitOptions& options, const Common& common,
                       Relay& relay) {
  FitOutcome out = InitialOutcome(input, common);
  const UsableData data = UsableAtStart(input, common, out);
  if (!EnoughPoints(out, data, common)) return out;
  const FitInput& used = data.used;
  const Structure structure = StructuralDegeneracy(used, common);
  const LocalFitSetup setup = FinalSetup(common, structure.moving, options);
  const int threads = ResolveThreadCount(options.threads);
  const FitValues q0 = ToCoordinates(common.start);
  const bool multiStart = options.starts > 1;

  StartFits fits{relay, setup, threads};
  Explored explored = SingleStart();
  if (multiStart) {
    explored = ExploreStarts(fits, used, q0, options.starts);
    if (relay.Cancelled()) {
      ReportCancelledExploration(out, explored, fits.evaluations);
      return out;
    }
  }
  out.startsRun = static_cast<int>(explored.ends.size());
  out.startsCapped = explored.capped;
  std::vector<LocalEnd> polished;
  std::vector<bool> done;
  std::vector<int> first;
  for (int r = 0; r < PolishCount(explored, multiStart); ++r) first.push_back(r);
  PolishEnds(fits, used, explored, q0, first, multiStart, polished, done);

  FitResiduals all(used, threads, setup.lower, setup.upper);
  Minima minima = DistinctMinima(all, used, setup, explored, polished, done);
  // An explored end cheaper on the project's grid than every polished one
  // is fitted to the end too, so that the result is the cheapest minimum.
  for (int extra = 0;
       extra < kMaxPolished && !minima.list.empty() && !minima.polished[0] && !relay.Cancelled();
       ++extra) {
    PolishEnds(fits, used, explored, q0, {minima.rep[0]}, multiStart, polished, done);
    minima = DistinctMinima(all, used, setup, explored, polished, done);
  }
  // Ends explored only that still look cheaper were no minimum on the
  // project's grid: the best polished one leads.
  int bestPolished = -1;
  for (std::size_t m = 0; m < minima.list.size(); ++m)
    if (minima.polished[m]) {
      bestPolished = minima.rep[m];
      for (std::size_t i = m; i < minima.list.size(); ++i) out.minima.push_back(minima.list[i]);
      break;
    }
  if (bestPolished < 0) {
    out.stop = relay.Cancelled() ? FitStop::Cancelled : FitStop::Failed;
    out.reason = relay.Cancelled() ? "cancelled" : "the model could not be evaluated";
  } else {
    ReportBest(out, all, used, common, setup, structure,
               polished[static_cast<std::size_t>(bestPolished)]);
    if (out.startsCapped) out.warnings.push_back({FitWarningKind::StartsCapped, {}, {}});
  }
  out.modelEvaluations = fits.evaluations + all.ModelEvaluations();
  return out;
}

}  // namespace

double HottestMeasuredTemperature(const FitInput& input) {
  double hottest = 0;
  for (const ConditionData& c : input.conditions)
    if (!c.x.empty()) hottest = std::max(hottest, c.temp);
  return hottest;
}

std::array<double, 2> DefaultTcRange(double tc, double hottest) {
  // A Tc at or below a measured temperature leaves that condition without
  // a model value: the range starts above the highest one.
  const double low = std::max(tc * 0.9, hottest * kTcMargin);
  return {low, std::max(tc * 1.1, low * kTcSpan)};
}

void FitBounds(const FitInput& input, const FitOptions& options, FitValues& lower,
               FitValues& upper) {
  const CalcSettings& s = input.settings;
  const double tc = input.params.T_c, bc2 = input.params.B_c2_0;
  const std::array<double, 2> tcRange = DefaultTcRange(tc, HottestMeasuredTemperature(input));
  lower = {s.MiniRe_Am,
           s.MiniSigma_2,
           s.MiniRe_Gamma,
           s.MiniRe_m,
           s.MiniRe_g_2,
           std::isnan(options.tcLower) ? tcRange[0] : options.tcLower,
           std::isnan(options.bc2Lower) ? bc2 / 3 : options.bc2Lower};
  upper = {s.MaxRe_Am,
           s.MaxSigma_2,
           s.MaxRe_Gamma,
           s.MaxRe_m,
           s.MaxRe_g_2,
           std::isnan(options.tcUpper) ? tcRange[1] : options.tcUpper,
           std::isnan(options.bc2Upper) ? bc2 * 3 : options.bc2Upper};
  if (!(lower[0] > 0)) lower[0] = std::min(1.0, upper[0]);
  for (FitParam k : {FitParam::Sigma2, FitParam::G2})
    if (!(lower[static_cast<std::size_t>(k)] > 0))
      lower[static_cast<std::size_t>(k)] = kPositiveFloor;
}

std::string CheckFitBounds(const FitInput& input, const FitOptions& options) {
  FitValues lower, upper;
  FitBounds(input, options, lower, upper);
  for (int k = 0; k < kFitParamCount; ++k) {
    const std::size_t kk = static_cast<std::size_t>(k);
    if (options.fixed[kk]) continue;
    const std::string name = k < kPinningParamCount ? ParamRangeName(k) : kRangeNames[k];
    if (!std::isfinite(lower[kk])) return RefusalText(name + "の最小値");
    if (!std::isfinite(upper[kk]) || !(lower[kk] <= upper[kk]))
      return RefusalText(name + "の最大値");
  }
  return {};
}

namespace {

// The bounds, the free parameters and the start (the current values,
// moved into the ranges), with the warnings that brings.
Common StartingPoint(const FitInput& input, const FitOptions& options) {
  Common common;
  FitBounds(input, options, common.lower, common.upper);
  const FitValues current = ParamsOf(input.params);
  std::vector<int> clamped, equal;
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    common.start[k] = current[k];
    if (options.fixed[k]) continue;
    if (common.lower[k] == common.upper[k]) {
      // Equal bounds hold the parameter at that value.
      common.start[k] = common.lower[k];
      equal.push_back(static_cast<int>(k));
      continue;
    }
    common.free[k] = true;
    const double v = std::isnan(current[k])
                         ? common.lower[k]
                         : std::clamp(current[k], common.lower[k], common.upper[k]);
    if (v != current[k]) clamped.push_back(static_cast<int>(k));
    common.start[k] = v;
  }
  if (!clamped.empty()) common.warnings.push_back({FitWarningKind::StartClamped, clamped, {}});
  if (!equal.empty()) common.warnings.push_back({FitWarningKind::EqualBounds, equal, {}});
  common.qLo = ToCoordinates(common.lower);
  common.qHi = ToCoordinates(common.upper);
  return common;
}

// The fit, repeated from its result while the points with a model value
// there differ from those it used: a condition gains (or loses) its model
// value as Tc or Bc2(0) moves.
FitOutcome FitStable(const FitInput& input, const FitOptions& options, Common common,
                     Relay& relay) {
  FitOutcome out = FitOneOrder(input, options, common, relay);
  long long evaluations = out.modelEvaluations;
  auto leftOutAt = [&](const FitValues& v) {
    FitInput at = input;
    SetParams(at.params, v);
    std::vector<std::pair<int, int>> leftOut;
    UsablePoints(at, leftOut);
    return leftOut;
  };
  for (int round = 0; round < kUsableRounds; ++round) {
    if (out.minima.empty() || out.stop == FitStop::Cancelled || relay.Cancelled()) break;
    if (leftOutAt(ValuesOf(out)) == leftOutAt(common.start)) break;
    common.start = ValuesOf(out);
    relay.Reset();
    out = FitOneOrder(input, options, common, relay);
    evaluations += out.modelEvaluations;
  }
  out.modelEvaluations = evaluations;
  return out;
}

FitOutcome FitAllOrders(const FitInput& input, const FitOptions& options, const Common& common,
                        Relay& relay) {
  // Every combination of the two orders; the best keeps the most points,
  // then the lowest merit.
  std::vector<FitOutcome> fits;
  long long evaluations = 0;
  for (int tcn : {0, 1})
    for (int bcn : {0, 1}) {
      FitInput in = input;
      in.params.Tcn = tcn;
      in.params.Bcn = bcn;
      relay.Reset();
      fits.push_back(FitStable(in, options, common, relay));
      evaluations += fits.back().modelEvaluations;
      if (relay.Cancelled()) break;
    }
  auto pointsOf = [](const FitOutcome& f) {
    return f.minima.empty() || f.stop == FitStop::NothingToFit ? -1 : 0;
  };
  std::vector<FitOrderResult> orders;
  std::vector<int> usedPoints;
  for (const FitOutcome& f : fits) {
    FitOrderResult r;
    r.tcn = f.tcn;
    r.bcn = f.bcn;
    r.stop = f.stop;
    r.rms = f.minima.empty() ? NAN : f.minima[0].rms;
    r.merit = f.minima.empty() ? NAN : f.minima[0].merit;
    int leftOut = 0;
    for (const FitWarning& w : f.warnings)
      if (w.kind == FitWarningKind::NoModelValue)
        for (auto [no, count] : w.conditions) leftOut += count;
    r.points = pointsOf(f) < 0 ? 0 : input.UsedPoints() - leftOut;
    orders.push_back(r);
  }
  std::vector<std::size_t> rank(orders.size());
  for (std::size_t i = 0; i < rank.size(); ++i) rank[i] = i;
  std::stable_sort(rank.begin(), rank.end(), [&](std::size_t a, std::size_t b) {
    if (orders[a].points != orders[b].points) return orders[a].points > orders[b].points;
    const double ra = std::isfinite(orders[a].merit) ? orders[a].merit : INFINITY;
    const double rb = std::isfinite(orders[b].merit) ? orders[b].merit : INFINITY;
    return ra < rb;
  });
  FitOutcome out = fits[rank[0]];
  for (std::size_t i : rank) out.orders.push_back(orders[i]);
  out.modelEvaluations = evaluations;
  return out;
}
}  // namespace

FitOutcome RunFit(const FitInput& input, const FitOptions& options) {
  if (std::string refused = CheckFitBounds(input, options); !refused.empty()) {
    FitOutcome out;
    out.stop = FitStop::Failed;
    out.reason = refused;
    return out;
  }
  const Common common = StartingPoint(input, options);
  Relay relay(options.onIteration);
  if (options.allOrders) return FitAllOrders(input, options, common, relay);
  FitOutcome out = FitStable(input, options, common, relay);
  for (std::size_t k = 0; k < kFitParamCount; ++k)
    if (!common.free[k]) out.params[k].state = ParamState::Fixed;
  return out;
}

}  // namespace zx
