// What every report of a fit shows, made one way for the window and the
// command line: the points where the fitted model has a value, and how
// well the model follows them.
#pragma once

#include "fit/fit_data.h"
#include "fit/fit_quality.h"
#include "fit/fit_types.h"

namespace zx {

struct FitReport {
  FitInput used;  // the input in the fit's orders, with only the usable points
  FitQuality quality;
};

// The report of `values` (the result or another minimum of `fit`).
FitReport ReportAfterFit(const FitInput& input, const FitOutcome& fit, const FitValues& values,
                         int threads);

}  // namespace zx
