#include "fit/fit_after.h"

#include "fit/fit_usable.h"

namespace zx {

FitReport ReportAfterFit(const FitInput& input, const FitOutcome& fit, const FitValues& values,
                         int threads) {
  FitInput at = input;
  SetParams(at.params, values);
  at.params.Tcn = fit.tcn;
  at.params.Bcn = fit.bcn;
  std::vector<std::pair<int, int>> leftOut;
  FitReport r;
  r.used = UsablePoints(at, leftOut);
  r.quality = EvaluateQuality(r.used, values, threads);
  return r;
}

}  // namespace zx
