// The automatic fit: one set of pinning parameters for every condition at
// once, by bounded least squares on the residuals, from several starts.
#pragma once

#include <array>
#include <string>

#include "fit/fit_data.h"
#include "fit/fit_types.h"

namespace zx {

// The bounds a fit uses for each parameter (in values, not coordinates):
// the project's allowed ranges, with a lower bound of 0 for Am, sigma^2
// and g^2 (fitted on log scales) taken as "above 0"; for Tc and
// Bc2(0) the options' bounds or the defaults: DefaultTcRange, and Bc2(0)
// ×/÷ 3 around the sample's.
void FitBounds(const FitInput& input, const FitOptions& options, FitValues& lower,
               FitValues& upper);

// The highest temperature of a condition with points; 0 when none.
double HottestMeasuredTemperature(const FitInput& input);
// The default range of Tc: from the larger of 0.9 Tc and 1.005 times the
// highest measured temperature to the larger of 1.1 Tc and 1.2 times that
// lower bound.
std::array<double, 2> DefaultTcRange(double tc, double hottest);
// The default range around `value` of a parameter the project stores no
// range for: Tc's as above, Bc2(0) within a factor of three.
std::array<double, 2> DefaultRange(FitParam p, double value, const FitInput& input);

// Refusal text (as the range dialog words it) for a range of a parameter
// that may move whose lower bound lies above its upper one, or that is
// not a number; empty when every range can be used.
std::string CheckFitBounds(const FitInput& input, const FitOptions& options);

// Fits the free parameters, starting from input.params and from
// options.starts - 1 further points spread over the ranges. Never touches
// a project. NothingToFit when no condition has a point, every parameter
// is fixed or there are fewer points than free parameters; Failed (with
// the refusal as the reason) when a range is inverted.
FitOutcome RunFit(const FitInput& input, const FitOptions& options);

}  // namespace zx
