// How well the model at one parameter set follows the measured points:
// RMS of the residuals, and Jc and n at the criterion for data and model.
#pragma once

#include <cmath>
#include <vector>

#include "fit/fit_data.h"

namespace zx {

struct ConditionQuality {
  int no = -1;
  int points = 0;    // 0: the condition was left out
  double rms = NAN;  // decades
  // E-J mode only; NaN when not available.
  double jcData = NAN, jcModel = NAN;
  double nData = NAN, nModel = NAN;
};

struct FitQuality {
  std::vector<ConditionQuality> conditions;  // condition-number order
  int points = 0;
  double rms = NAN;
  // The fit's figure of merit under the default weighting and loss: the
  // root mean of the conditions' squared RMS.
  double merit = NAN;
};

// Relative precision of the model's Jc in a report.
inline constexpr double kReportJcPrecision = 1e-9;

// The quality of `values` (the five pinning parameters) on the input's
// points, evaluated on `threads` threads (0: every core).
FitQuality EvaluateQuality(const FitInput& input, const FitValues& values, int threads);

}  // namespace zx
