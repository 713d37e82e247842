// What the fit window plots: dense model curves across each condition's
// data, and the residuals of the measured points.
#pragma once

#include <atomic>
#include <vector>

#include "fit/fit_data.h"

namespace zx {

struct ConditionCurves {
  int cond = 0;  // index into the input's conditions
  std::vector<double> modelX, modelY;
  std::vector<double> residualX, residualY;  // log10(measured / model)
  std::vector<double> modelLower,
      modelUpper;  // 95 % confidence band of modelY; empty without a covariance
};

inline constexpr int kDenseCurvePoints = 200;

// For every condition with points: the model at `points` abscissae spread
// over the data's range (evenly in log J in E-J mode, in B in Jc-B mode)
// and the residuals, at the parameter values. With a covariance (from a
// FitOutcome), the band is computed by the delta method: on log10 of the
// model, with the derivatives by the values taken by central differences,
// s^2 = g^T C g and the band 10^(log10 model ± 1.96 s). Once *stop is
// set the work ends early and the curves are incomplete.
std::vector<ConditionCurves> FitCurves(const FitInput& input, const FitValues& values,
                                       int points = kDenseCurvePoints, int threads = 0,
                                       const FitOutcome* band = nullptr,
                                       const std::atomic<bool>* stop = nullptr);

}  // namespace zx
