// Standard errors, covariance and degeneracy of a fit at its solution.
#pragma once

#include <vector>

#include "fit/fit_local.h"

namespace zx {

// Relative singular value of the column-scaled Jacobian below which a
// direction counts as undetermined.
inline constexpr double kDegenerateSingularValue = 1e-6;

struct FitErrors {
  // Covariance of the coordinates (log10 Am, then the values); NaN outside
  // the estimated parameters.
  FitMatrix covariance = NanFitMatrix();
  // Parameters found undetermined by the numbers (report order).
  std::vector<int> degenerate;
};

// The covariance of the parameters in `estimate` at q (the others held
// where they are). A parameter without effect, or one of a direction the
// data leave undetermined, is named in `degenerate` and left out; the
// covariance of the rest is computed without them.
FitErrors EstimateErrors(FitResiduals& all, const FitInput& input, const LocalFitSetup& setup,
                         const FitValues& q, const FitFlags& estimate);

}  // namespace zx
