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

// Smallest sigma^2 the fit tries when its lower bound is 0.
constexpr double kPositiveFloor = 1e-12;
// The exploring fits of a multi-start search: a coarser integration grid,
// a looser stopping rule and fewer iterations. Only the most promising of
// their ends are then fitted to the end on the project's own grid.
constexpr int kExploreSteps = 150;
constexpr int kScreenIterations = 8;
constexpr int kExploreIterations = 40;
constexpr int kKeptStarts = 3;
// Ends whose cost is more than this times the best are not fitted further.
constexpr double kPolishedCostRatio = 2.0;
constexpr double kExploreTolerance = 1e-6;
constexpr double kExploreSame = 1e-2;
constexpr int kMaxPolished = 3;
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
    it.bestRms = bestRms_;
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

  void StartDone(double rms) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++startsDone_;
    if (std::isfinite(rms) && !(bestRms_ <= rms)) bestRms_ = rms;
  }
  void Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    startsDone_ = 0;
    bestRms_ = NAN;
  }
  void Best(double rms) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::isfinite(rms) && !(bestRms_ <= rms)) bestRms_ = rms;
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
  double bestRms_ = NAN;
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
    if (q[k] <= setup.lower[k] + tol)
      p.state = ParamState::Lower;
    else if (q[k] >= setup.upper[k] - tol)
      p.state = ParamState::Upper;
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
  // Covariance of the values: Am = 10^q0 gives dAm = Am ln 10 dq0.
  FitValues d;
  for (std::size_t k = 0; k < kFitParamCount; ++k) d[k] = k == 0 ? fitted[0] * std::log(10.0) : 1;
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

// The starts: the current values, then a Halton sequence over the moving
// coordinates (log10 Am: Am on a log scale).
std::vector<FitValues> Starts(int count, const FitValues& q0, const LocalFitSetup& setup) {
  std::vector<FitValues> starts(static_cast<std::size_t>(count), q0);
  for (int s = 1; s < count; ++s) {
    int dim = 0;
    static const int kPrimes[kFitParamCount] = {2, 3, 5, 7, 11, 13, 17};
    for (std::size_t k = 0; k < kFitParamCount; ++k) {
      if (!setup.free[k]) continue;
      const double u = RadicalInverse(kPrimes[dim++], s);
      starts[static_cast<std::size_t>(s)][k] =
          setup.lower[k] + u * (setup.upper[k] - setup.lower[k]);
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
  LocalProgress progress = [&](int iteration, double cost, const FitValues& q) {
    FitIteration it;
    it.iteration = offset + iteration;
    it.cost = cost;
    it.rms = RmsAt(all, q, su.free);
    it.values = FromCoordinates(q);
    it.start = start;
    return fits.relay.Post(it);
  };
  LocalEnd end;
  end.fit = LocalFit(all, in, su, from, progress);
  end.start = start;
  fits.evaluations += all.ModelEvaluations();
  return end;
}

// The ends of the starts and how they group.
struct Explored {
  std::vector<LocalEnd> ends;  // by start
  std::vector<double> rms;     // by start, on the coarse grid
  std::vector<int> clusterOf;  // the representative of each start, -1 when dropped
  std::vector<int> reps;       // one start per cluster, lowest cost first
  std::vector<bool> dropped;   // starts screened out
};

Explored SingleStart() {
  Explored ex;
  ex.ends.resize(1);
  ex.clusterOf = {0};
  ex.reps = {0};
  ex.dropped = {false};
  return ex;
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
  return c;
}

void ExploreStart(StartFits& fits, const Coarse& coarse, Explored& ex, int s, int inner,
                  const FitValues& from, int offset) {
  LocalEnd e = RunLocalFit(fits, coarse.input, coarse.setup, from, s, inner, offset, true);
  FitResiduals probe(coarse.input, 1, fits.setup.lower, fits.setup.upper);
  ex.rms[static_cast<std::size_t>(s)] = RmsAt(probe, e.fit.q, fits.setup.free);
  fits.evaluations += probe.ModelEvaluations();
  e.fit.iterations += offset;
  ex.ends[static_cast<std::size_t>(s)] = std::move(e);
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

// Every start runs a few iterations; only the most promising half go on.
// The choice depends on the costs alone, never on timing. Returns the
// starts kept, cheapest first.
std::vector<int> ScreenStarts(StartFits& fits, Coarse& coarse, Explored& ex,
                              const std::vector<FitValues>& starts) {
  const int n = static_cast<int>(starts.size());
  coarse.setup.maxIterations = std::min(kScreenIterations, fits.setup.maxIterations);
  fits.relay.Run(n, fits.threads, [&](int s, int inner) {
    ExploreStart(fits, coarse, ex, s, inner, starts[static_cast<std::size_t>(s)], 0);
  });
  std::vector<int> screened = ByEndCost(ex);
  const int kept = std::min(n, std::max(kKeptStarts, (n + 1) / 2));
  for (std::size_t i = static_cast<std::size_t>(kept); i < screened.size(); ++i) {
    ex.dropped[static_cast<std::size_t>(screened[i])] = true;
    fits.relay.StartDone(ex.rms[static_cast<std::size_t>(screened[i])]);
  }
  screened.resize(static_cast<std::size_t>(kept));
  return screened;
}

// The kept starts explored further from where screening left them.
void ExploreKept(StartFits& fits, Coarse& coarse, Explored& ex, const std::vector<int>& kept) {
  coarse.setup.maxIterations = std::min(kExploreIterations, fits.setup.maxIterations);
  fits.relay.Run(static_cast<int>(kept.size()), fits.threads, [&](int i, int inner) {
    const int s = kept[static_cast<std::size_t>(i)];
    const LocalEnd& a = ex.ends[static_cast<std::size_t>(s)];
    if (a.fit.stop == FitStop::Converged || !std::isfinite(a.fit.cost)) {
      fits.relay.StartDone(ex.rms[static_cast<std::size_t>(s)]);
      return;
    }
    ExploreStart(fits, coarse, ex, s, inner, a.fit.q, a.fit.iterations);
    fits.relay.StartDone(ex.rms[static_cast<std::size_t>(s)]);
  });
}

// Explore every start on a coarse grid (only with more than one start).
Explored ExploreStarts(StartFits& fits, const FitInput& used,
                       const std::vector<FitValues>& starts) {
  const std::size_t n = starts.size();
  Explored ex;
  ex.ends.resize(n);
  ex.rms.assign(n, NAN);
  ex.clusterOf.assign(n, -1);
  ex.dropped.assign(n, false);
  Coarse coarse = CoarseProblem(used, fits.setup);
  const std::vector<int> kept = ScreenStarts(fits, coarse, ex, starts);
  ExploreKept(fits, coarse, ex, kept);
  return ex;
}

// Groups the kept ends that reached the same minimum, cheapest first.
void ClusterEnds(Explored& ex, const LocalFitSetup& setup) {
  for (int s : ByEndCost(ex)) {
    if (ex.dropped[static_cast<std::size_t>(s)]) continue;
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

// Cancelled while exploring: the cheapest end so far.
void ReportCancelledExploration(FitOutcome& out, const Explored& ex, long long evaluations) {
  const int n = static_cast<int>(ex.ends.size());
  int best = 0;
  for (int s = 1; s < n; ++s)
    if (ex.ends[static_cast<std::size_t>(s)].fit.cost <
        ex.ends[static_cast<std::size_t>(best)].fit.cost)
      best = s;
  out.stop = FitStop::Cancelled;
  out.reason = "cancelled";
  const FitValues v = FromCoordinates(ex.ends[static_cast<std::size_t>(best)].fit.q);
  for (std::size_t k = 0; k < kFitParamCount; ++k) out.params[k].value = v[k];
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

// Fit the most promising ends to the end on the project's grid.
std::vector<LocalEnd> PolishEnds(StartFits& fits, const FitInput& used, const Explored& ex,
                                 const FitValues& firstStart, int count, bool multiStart) {
  std::vector<LocalEnd> polished(static_cast<std::size_t>(count));
  fits.relay.Run(count, fits.threads, [&](int i, int inner) {
    const int s = ex.reps[static_cast<std::size_t>(i)];
    const LocalEnd& from = ex.ends[static_cast<std::size_t>(s)];
    const FitValues q = multiStart ? from.fit.q : firstStart;
    LocalEnd e = RunLocalFit(fits, used, fits.setup, q, s, inner,
                             multiStart ? from.fit.iterations : 0, false);
    e.exploreIterations = multiStart ? from.fit.iterations : 0;
    polished[static_cast<std::size_t>(i)] = std::move(e);
  });
  return polished;
}

struct Minima {
  std::vector<FitMinimum> list;
  std::vector<int> polishedIndex;  // of each minimum, -1 when explored only
};

void AddMinimum(Minima& minima, FitResiduals& all, const FitInput& used, const LocalFitSetup& setup,
                const FitValues& q, int count, int polishedIndex, double tol) {
  for (FitMinimum& m : minima.list)
    if (SameMinimum(ToCoordinates(m.values), q, setup.free, setup.lower, setup.upper, tol)) {
      m.starts += count;
      return;
    }
  FitMinimum fm;
  fm.values = FromCoordinates(q);
  fm.cost = FitCost(all, used, setup, q);
  fm.rms = RmsAt(all, q, setup.free);
  fm.starts = count;
  minima.list.push_back(fm);
  minima.polishedIndex.push_back(polishedIndex);
}

int MembersOf(const Explored& ex, int rep) {
  int c = 0;
  for (int s : ex.clusterOf) c += s == rep;
  return c;
}

// Distinct minima, on the project's grid: the polished ends, then the
// clusters explored only.
Minima DistinctMinima(FitResiduals& all, const FitInput& used, const LocalFitSetup& setup,
                      const Explored& ex, const std::vector<LocalEnd>& polished) {
  Minima minima;
  const std::size_t count = polished.size();
  for (std::size_t i = 0; i < count; ++i)
    if (std::isfinite(polished[i].fit.cost))
      AddMinimum(minima, all, used, setup, polished[i].fit.q, MembersOf(ex, ex.reps[i]),
                 static_cast<int>(i), kSameMinimum);
  for (std::size_t i = count; i < ex.reps.size(); ++i)
    if (std::isfinite(ex.ends[static_cast<std::size_t>(ex.reps[i])].fit.cost))
      AddMinimum(minima, all, used, setup, ex.ends[static_cast<std::size_t>(ex.reps[i])].fit.q,
                 MembersOf(ex, ex.reps[i]), -1, kExploreSame);
  return minima;
}

// The minima into out, cheapest first but the result first of all; returns
// the polished index of the result (the best polished minimum), -1 if none.
int RankMinima(FitOutcome& out, const Minima& minima, const std::vector<LocalEnd>& polished,
               const LocalFitSetup& setup) {
  std::vector<std::size_t> rank(minima.list.size());
  for (std::size_t m = 0; m < rank.size(); ++m) rank[m] = m;
  auto finiteCost = [&](std::size_t m) {
    return std::isfinite(minima.list[m].cost) ? minima.list[m].cost : INFINITY;
  };
  std::stable_sort(rank.begin(), rank.end(),
                   [&](std::size_t a, std::size_t b) { return finiteCost(a) < finiteCost(b); });
  int bestPolished = -1;
  for (std::size_t m : rank)
    if (minima.polishedIndex[m] >= 0) {
      bestPolished = minima.polishedIndex[m];
      break;
    }
  for (std::size_t m : rank) out.minima.push_back(minima.list[m]);
  if (bestPolished < 0) return bestPolished;
  // Put the result first even if an explored-only end looked cheaper.
  const FitValues bq = polished[static_cast<std::size_t>(bestPolished)].fit.q;
  for (std::size_t m = 0; m < out.minima.size(); ++m)
    if (SameMinimum(ToCoordinates(out.minima[m].values), bq, setup.free, setup.lower, setup.upper,
                    kSameMinimum)) {
      std::rotate(out.minima.begin(), out.minima.begin() + static_cast<std::ptrdiff_t>(m),
                  out.minima.begin() + static_cast<std::ptrdiff_t>(m) + 1);
      break;
    }
  return bestPolished;
}

// The result: the best end's values, bounds, errors and warnings.
void ReportBest(FitOutcome& out, FitResiduals& all, const FitInput& used, const Common& common,
                const LocalFitSetup& setup, const Structure& structure, const LocalEnd& best) {
  out.stop = best.fit.stop;
  out.reason = best.fit.reason;
  out.iterations = best.fit.iterations + best.exploreIterations;
  const FitValues q = best.fit.q;
  out.cost = FitCost(all, used, setup, q);
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
  const std::vector<FitValues> starts =
      Starts(std::max(options.starts, 1), ToCoordinates(common.start), setup);
  const bool multiStart = starts.size() > 1;

  StartFits fits{relay, setup, threads};
  Explored explored = SingleStart();
  if (multiStart) {
    explored = ExploreStarts(fits, used, starts);
    if (relay.Cancelled()) {
      ReportCancelledExploration(out, explored, fits.evaluations);
      return out;
    }
    ClusterEnds(explored, setup);
  }
  const int polishCount = PolishCount(explored, multiStart);
  const std::vector<LocalEnd> polished =
      PolishEnds(fits, used, explored, starts[0], polishCount, multiStart);

  FitResiduals all(used, threads, setup.lower, setup.upper);
  const Minima minima = DistinctMinima(all, used, setup, explored, polished);
  const int bestPolished = RankMinima(out, minima, polished, setup);
  if (bestPolished < 0) {
    out.stop = relay.Cancelled() ? FitStop::Cancelled : FitStop::Failed;
    out.reason = relay.Cancelled() ? "cancelled" : "the model could not be evaluated";
  } else {
    ReportBest(out, all, used, common, setup, structure,
               polished[static_cast<std::size_t>(bestPolished)]);
  }
  out.modelEvaluations = fits.evaluations + all.ModelEvaluations();
  return out;
}

}  // namespace

void FitBounds(const FitInput& input, const FitOptions& options, FitValues& lower,
               FitValues& upper) {
  const CalcSettings& s = input.settings;
  const double tc = input.params.T_c, bc2 = input.params.B_c2_0;
  lower = {s.MiniRe_Am,
           s.MiniSigma_2,
           s.MiniRe_Gamma,
           s.MiniRe_m,
           s.MiniRe_g_2,
           std::isnan(options.tcLower) ? tc * 0.9 : options.tcLower,
           std::isnan(options.bc2Lower) ? bc2 / 3 : options.bc2Lower};
  upper = {s.MaxRe_Am,
           s.MaxSigma_2,
           s.MaxRe_Gamma,
           s.MaxRe_m,
           s.MaxRe_g_2,
           std::isnan(options.tcUpper) ? tc * 1.1 : options.tcUpper,
           std::isnan(options.bc2Upper) ? bc2 * 3 : options.bc2Upper};
  if (!(lower[0] > 0)) lower[0] = std::min(1.0, upper[0]);
  if (!(lower[1] > 0)) lower[1] = kPositiveFloor;
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

FitOutcome FitAllOrders(const FitInput& input, const FitOptions& options, const Common& common,
                        Relay& relay) {
  // Every combination of the two orders; the best keeps the most points,
  // then the lowest RMS.
  std::vector<FitOutcome> fits;
  long long evaluations = 0;
  for (int tcn : {0, 1})
    for (int bcn : {0, 1}) {
      FitInput in = input;
      in.params.Tcn = tcn;
      in.params.Bcn = bcn;
      relay.Reset();
      fits.push_back(FitOneOrder(in, options, common, relay));
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
    const double ra = std::isfinite(orders[a].rms) ? orders[a].rms : INFINITY;
    const double rb = std::isfinite(orders[b].rms) ? orders[b].rms : INFINITY;
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
  FitOutcome out = FitOneOrder(input, options, common, relay);
  for (std::size_t k = 0; k < kFitParamCount; ++k)
    if (!common.free[k]) out.params[k].state = ParamState::Fixed;
  return out;
}

}  // namespace zx
