// One bounded local least-squares fit from one start: Levenberg-Marquardt
// (Ceres) on the free parameters, with the parameters that end on a bound
// held there and released again while their gradient points inward, so that
// the fit ends where the first-order conditions of the bounded problem hold.
#pragma once

#include <functional>
#include <string>

#include "fit/fit_residuals.h"
#include "fit/fit_types.h"

namespace zx {

struct LocalFitSetup {
  FitValues lower{}, upper{};  // bounds, in coordinates
  FitFlags free{};             // the parameters that move
  LossKind loss = LossKind::Linear;
  double lossScale = 0.1;
  Weighting weighting = Weighting::PerCondition;
  int maxIterations = 200;  // over all rounds
  double functionTolerance = 1e-10;
  // Above this relative predicted decrease an end is not a minimum.
  double firstOrderTolerance = 1e-6;
};

struct LocalFitResult {
  FitValues q{};  // coordinates at the end
  double cost = NAN;
  int iterations = 0;
  FitStop stop = FitStop::Failed;
  std::string reason;  // one line
  // Largest projected gradient of the cost over the free parameters, each
  // scaled by its range (0 at a bounded optimum).
  double projectedGradient = NAN;
  // The decrease a Gauss-Newton step over the parameters off their bounds
  // predicts, relative to the cost: 0 at a minimum, large where the solver
  // stopped on a slope.
  double predictedDecrease = NAN;
};

// Called after every iteration with the iteration (counted over every
// round) and the current coordinates; false cancels the fit.
using LocalProgress = std::function<bool(int iteration, double cost, const FitValues& q)>;

// The weight of residual i: 1 / points of its condition, or 1.
double ResidualWeight(const FitResiduals& all, const FitInput& input, Weighting w, int i);

// The sum of the weights of every residual.
double WeightSum(const FitResiduals& all, const FitInput& input, Weighting w);
// The figure of merit of a cost: sqrt(2 cost / weightSum), in decades.
double MeritOf(double cost, double weightSum);

// The cost 1/2 sum w_i rho(r_i^2) at q.
double FitCost(FitResiduals& all, const FitInput& input, const LocalFitSetup& s,
               const FitValues& q);

LocalFitResult LocalFit(FitResiduals& all, const FitInput& input, const LocalFitSetup& setup,
                        const FitValues& start, const LocalProgress& progress);

}  // namespace zx
