// The automatic fit: one set of pinning parameters for every condition at
// once, by bounded Levenberg-Marquardt least squares on the residuals.
#pragma once

#include "fit/fit_data.h"
#include "fit/fit_types.h"

namespace zx {

// The bounds a fit uses for each parameter (in values, not coordinates):
// the project's allowed ranges, with a lower bound of 0 for sigma^2 (and
// for Am, which is fitted on a log scale) taken as "above 0".
void FitBounds(const CalcSettings& s, FitValues& lower, FitValues& upper);

// Fits the free parameters, starting from input.params. Never touches a
// project. NothingToFit when no condition has a point or every parameter
// is fixed.
FitOutcome RunFit(const FitInput& input, const FitOptions& options);

}  // namespace zx
