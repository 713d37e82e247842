// The search for the best fit of one project.
//
// Design: a bounded least-squares problem in coordinates (Am, sigma^2 and
// g^2 on log scales), solved from many starts because the cost has several
// minima. The starts are the current values and points of a Halton
// sequence (Halton 1960; fit_starts.cpp). Each start is explored by a short
// local fit on a coarse grid; ends that agree are one minimum
// (fit_explore.cpp, fit_minima.cpp). The cheapest few are fitted to the end
// on the project's grid, the distinct minima ranked by cost, and the best
// reported with standard errors from the sandwich estimator (Huber 1967;
// White 1980; fit_errors.cpp). Robust losses enter the local fits and the
// errors as IRLS weights (Holland & Welsch 1977; fit_local.cpp). Each model
// value solves E(J) = criterion for Jc by the Illinois rule (Dowell &
// Jarratt 1971; model_jc.cpp). The fit is repeated while the points with a
// model value change, and once per order combination with --orders all.
#include "fit/fit_solver.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "fit/fit_errors.h"
#include "fit/fit_search.h"
#include "fit/fit_usable.h"
#include "numeric/parallel.h"

namespace zx {

using namespace fit_search;

namespace {

// Refits at most this often while the points with a model value change.
constexpr int kUsableRounds = 3;

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

// The result: the best end's values, bounds, errors and warnings.
void ReportBest(FitOutcome& out, FitResiduals& all, const FitInput& used, const Common& common,
                const LocalFitSetup& setup, const Structure& structure, const LocalEnd& best) {
  out.stop = best.fit.stop;
  out.reason = best.fit.reason;
  out.iterations = best.fit.iterations + best.exploreIterations;
  const FitValues q = best.fit.q;
  out.cost = FitCost(all, used, setup, q);
  out.merit = MeritOf(out.cost, WeightSum(all, used, setup.weighting));
  const FitFlags estimate = MarkValuesOnBounds(out, common, structure.moving, setup, q);
  if (out.stop != FitStop::Cancelled)
    ComputeErrors(out, all, used, setup, q, estimate, structure.structural);
  if (out.stop != FitStop::Converged && out.stop != FitStop::Cancelled)
    out.warnings.push_back({FitWarningKind::NotConverged, {}, {}});
}

// The distinct minima once an explored end cheaper on the project's grid
// than every polished one has been fitted to the end too, so that the
// result is the cheapest minimum.
Minima PolishedMinima(StartFits& fits, FitResiduals& all, const FitInput& used,
                      const Explored& explored, const FitValues& q0, bool multiStart,
                      std::vector<LocalEnd>& polished, std::vector<bool>& done) {
  const LocalFitSetup& setup = fits.setup;
  Minima minima = DistinctMinima(all, used, setup, explored, polished, done);
  for (int extra = 0; extra < kMaxPolished && !minima.list.empty() && !minima.polished[0] &&
                      !fits.relay.Cancelled();
       ++extra) {
    PolishEnds(fits, used, explored, q0, {minima.rep[0]}, multiStart, polished, done);
    minima = DistinctMinima(all, used, setup, explored, polished, done);
  }
  return minima;
}

// Ends explored only that still look cheaper were no minimum on the
// project's grid: the best polished one leads. Its minimum and the ones
// after it into out; returns its position in reps, -1 when none.
int LeadingMinima(FitOutcome& out, const Minima& minima) {
  for (std::size_t m = 0; m < minima.list.size(); ++m)
    if (minima.polished[m]) {
      for (std::size_t i = m; i < minima.list.size(); ++i) out.minima.push_back(minima.list[i]);
      return minima.rep[m];
    }
  return -1;
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
  const Minima minima = PolishedMinima(fits, all, used, explored, q0, multiStart, polished, done);
  const int bestPolished = LeadingMinima(out, minima);
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

// One line of the order table: the fit's best minimum and the points it
// used (none when it found no minimum).
FitOrderResult OrderResultOf(const FitOutcome& f, int usedPoints) {
  auto pointsOf = [](const FitOutcome& f) {
    return f.minima.empty() || f.stop == FitStop::NothingToFit ? -1 : 0;
  };
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
  r.points = pointsOf(f) < 0 ? 0 : usedPoints - leftOut;
  return r;
}

// The orders best first: the most points, then the lowest merit.
std::vector<std::size_t> RankOrders(const std::vector<FitOrderResult>& orders) {
  std::vector<std::size_t> rank(orders.size());
  for (std::size_t i = 0; i < rank.size(); ++i) rank[i] = i;
  std::stable_sort(rank.begin(), rank.end(), [&](std::size_t a, std::size_t b) {
    if (orders[a].points != orders[b].points) return orders[a].points > orders[b].points;
    const double ra = std::isfinite(orders[a].merit) ? orders[a].merit : INFINITY;
    const double rb = std::isfinite(orders[b].merit) ? orders[b].merit : INFINITY;
    return ra < rb;
  });
  return rank;
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
  std::vector<FitOrderResult> orders;
  for (const FitOutcome& f : fits) orders.push_back(OrderResultOf(f, input.UsedPoints()));
  const std::vector<std::size_t> rank = RankOrders(orders);
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
