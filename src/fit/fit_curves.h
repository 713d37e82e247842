// What the fit window plots: dense model curves across each condition's
// data, and the residuals of the measured points.
#pragma once

#include <vector>

#include "fit/fit_data.h"

namespace zx {

struct ConditionCurves {
  int cond = 0;  // index into the input's conditions
  std::vector<double> modelX, modelY;
  std::vector<double> residualX, residualY;  // log10(measured / model)
};

inline constexpr int kDenseCurvePoints = 200;

// For every condition with points: the model at `points` abscissae spread
// over the data's range (evenly in log J in E-J mode, in B in Jc-B mode)
// and the residuals, at the five parameter values.
std::vector<ConditionCurves> FitCurves(const FitInput& input, const FitValues& values,
                                       int points = kDenseCurvePoints, int threads = 0);

}  // namespace zx
