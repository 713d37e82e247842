// Records shared by the automatic fit: which parameters move, how the
// residuals are weighed, and what a fit reports.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/param_table.h"
#include "model/project.h"

namespace zx {

// One number per row of the parameter table, in FitParam order.
using FitValues = std::array<double, kFitParamCount>;
using FitFlags = std::array<bool, kFitParamCount>;

// A value within this share of its range from a bound lies on that bound.
inline constexpr double kBoundTolerance = 1e-9;
// The distance from a bound, for a range of this width, within which a
// value is on it; never 0, so that a value at the bound always is.
inline double BoundTolerance(double range) { return kBoundTolerance * std::max(range, 1e-300); }

// The value of parameter p in a FitValues.
inline double& At(FitValues& v, FitParam p) { return v[static_cast<std::size_t>(p)]; }
inline double At(const FitValues& v, FitParam p) { return v[static_cast<std::size_t>(p)]; }

inline FitValues NanFitValues() {
  FitValues v;
  v.fill(NAN);
  return v;
}

FitValues ParamsOf(const ModelParams& p);
void SetParams(ModelParams& p, const FitValues& v);

enum class LossKind { Linear, SoftL1, Cauchy };
enum class Weighting { PerCondition, PerPoint };

// One fit iteration as the callback sees it. RMS is over all residuals,
// unweighted, in decades; the merit is the figure the fit minimises (see
// FitMinimum).
struct FitIteration {
  int iteration = 0;
  double cost = 0.0;
  double rms = 0.0;
  double merit = NAN;
  FitValues values{};
  int start = 0;           // which start (0 = the current values)
  int startsDone = 0;      // starts finished so far
  double bestMerit = NAN;  // best merit of the finished starts
};

struct FitOptions {
  FitFlags fixed{false, false, false, false, false, true, true};  // Tc, Bc2 fixed unless freed
  LossKind loss = LossKind::Linear;
  double lossScale = 0.1;  // decades
  Weighting weighting = Weighting::PerCondition;
  int threads = 0;  // 0: every core
  int maxIterations = 200;
  double functionTolerance = 1e-10;
  // Called as the fit goes on (iteration 0 of each start is the start);
  // false stops the fit. Runs on the thread that called RunFit, one call
  // at a time.
  std::function<bool(const FitIteration&)> onIteration;
  int starts = 12;         // 1: one local fit from the current values
  bool allOrders = false;  // try the four (Tcn, Bcn) combinations, keep the best
  // This run's bounds; NaN: the project's range, or for a parameter without
  // a stored one its default (DefaultTcRange, Bc2(0) ×/÷ 3).
  FitValues lower = NanFitValues(), upper = NanFitValues();
};

// Where a parameter ended.
enum class ParamState { Free, Fixed, Lower, Upper };
const char* ParamStateName(ParamState s);

struct FitParamOutcome {
  double value = 0.0;
  double stdError = 0.0;  // NaN when not determined (fixed, on a bound, degenerate)
  ParamState state = ParamState::Free;
  double lower = 0.0;  // the bounds the fit used
  double upper = 0.0;
};

// NotMinimum: the solver stopped where the cost still falls.
enum class FitStop { Converged, IterationLimit, NotMinimum, Cancelled, Failed, NothingToFit };

// One distinct local minimum of the multi-start search.
struct FitMinimum {
  double rms = NAN;  // decades, over all used points
  double cost = NAN;
  int starts = 0;  // how many starts reached it
  FitValues values{};
  // The figure the fit minimises, in decades: sqrt(2 cost / sum of the
  // weights), the weighted root mean loss. It ranks the minima.
  double merit = NAN;
};

enum class FitWarningKind {
  StartClamped,
  Bound,
  Degenerate,
  NoModelValue,
  TooFewPoints,
  EqualBounds,
  NotConverged,
  StartsCapped,
  DroppedLines
};
// "start-clamped", "bound", "degenerate", "no-model-value", "too-few-points",
// "equal-bounds", "not-converged", "starts-capped", "dropped-lines"
const char* FitWarningName(FitWarningKind k);
// Why lines of a data file gave no point (DroppedLines).
enum class DropReason { NotPositive, NotFinite };
const char* DropReasonName(DropReason r);  // "not-positive", "not-finite"
struct FitWarning {
  FitWarningKind kind;
  std::vector<int> params;  // FitParam indices named by the warning
  // (condition No, points) for NoModelValue, (condition No, lines) for
  // DroppedLines
  std::vector<std::pair<int, int>> conditions;
  std::vector<DropReason> reasons{};  // DroppedLines: one per entry of `conditions`
};

// The best fit of one (Tcn, Bcn) combination, for --orders all.
struct FitOrderResult {
  int tcn = 1, bcn = 1;  // as the settings file holds them: 0 exponent 1, 1 exponent 2
  int points = 0;        // points used (a point may have no model value in one order)
  double rms = NAN;
  double merit = NAN;
  FitStop stop = FitStop::Failed;
};

using FitMatrix = std::array<std::array<double, kFitParamCount>, kFitParamCount>;
inline FitMatrix NanFitMatrix() {
  FitMatrix m;
  for (auto& row : m) row.fill(NAN);
  return m;
}

// The parameters a band depends on: those with a positive, finite variance.
std::vector<int> VariedParams(const FitMatrix& covariance);

struct FitOutcome {
  FitStop stop = FitStop::Failed;
  std::string reason;  // one line, for "stopped: <reason>"
  int iterations = 0;
  std::array<FitParamOutcome, kFitParamCount> params{};
  // Parameters of a degenerate problem (standard errors NaN), report order.
  std::vector<std::string> degenerate;
  double cost = 0.0;
  double merit = NAN;  // of the result, as FitMinimum's
  long long modelEvaluations = 0;
  int startsRun = 0;  // starts the search ran
  // Why the search stopped adding starts: the best minimum was reached by
  // enough of them, or the cap on starts was hit.
  bool startsCapped = false;
  std::vector<FitMinimum> minima;    // distinct minima, best first; minima[0] is the result
  std::vector<FitWarning> warnings;  // in the order the CLI prints them
  // Correlation and covariance of the fitted VALUES (not coordinates), kFitParamCount square;
  // NaN for fixed or degenerate parameters.
  FitMatrix correlation = NanFitMatrix();  // filled with NaN by default
  FitMatrix covariance = NanFitMatrix();   // filled with NaN by default
  // The orders of the result, as the settings file's Tcn and Bcn hold them
  // (0: exponent 1, 1: exponent 2).
  int tcn = 1, bcn = 1;
  // --orders all: every combination tried, the kept one first.
  std::vector<FitOrderResult> orders;
};

// The values of a fit's parameters, in FitParam order.
FitValues ValuesOf(const FitOutcome& fit);

}  // namespace zx
