// Records shared by the automatic fit: which parameters move, how the
// residuals are weighed, and what a fit reports.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/project.h"

namespace zx {

// The five pinning parameters, in report order.
enum class FitParam { Am, Sigma2, Gamma, M, G2 };
inline constexpr int kFitParamCount = 5;
using FitValues = std::array<double, kFitParamCount>;
using FitFlags = std::array<bool, kFitParamCount>;

// "Am", "sigma2", "gamma", "m", "g2".
const char* FitParamName(int index);
// Index of a name as above; -1 when unknown.
int FitParamIndex(const std::string& name);

FitValues ParamsOf(const ModelParams& p);
void SetParams(ModelParams& p, const FitValues& v);

enum class LossKind { Linear, SoftL1, Cauchy };
enum class Weighting { PerCondition, PerPoint };

// One fit iteration as the callback sees it. RMS is over all residuals,
// unweighted, in decades.
struct FitIteration {
  int iteration = 0;
  double cost = 0.0;
  double rms = 0.0;
  FitValues values{};
};

struct FitOptions {
  FitFlags fixed{};
  LossKind loss = LossKind::Linear;
  double lossScale = 0.1;  // decades
  Weighting weighting = Weighting::PerCondition;
  int threads = 0;  // Jacobian threads; 0: every core
  int maxIterations = 200;
  double functionTolerance = 1e-10;
  // Called after every iteration (iteration 0 is the start); false stops
  // the fit. Runs on the thread that called RunFit.
  std::function<bool(const FitIteration&)> onIteration;
};

// Where a parameter ended.
enum class ParamState { Free, Fixed, Lower, Upper };
const char* ParamStateName(ParamState s);

struct FitParamOutcome {
  double value = 0.0;
  double stdError = 0.0;  // NaN when not determined (fixed, degenerate)
  ParamState state = ParamState::Free;
  double lower = 0.0;  // the bounds the fit used
  double upper = 0.0;
};

enum class FitStop { Converged, IterationLimit, Cancelled, Failed, NothingToFit };

struct FitOutcome {
  FitStop stop = FitStop::Failed;
  std::string reason;  // one line, for "stopped: <reason>"
  int iterations = 0;
  std::array<FitParamOutcome, kFitParamCount> params{};
  // Parameters of a degenerate problem (standard errors NaN), report order.
  std::vector<std::string> degenerate;
  double cost = 0.0;
  long long modelEvaluations = 0;
};

}  // namespace zx
