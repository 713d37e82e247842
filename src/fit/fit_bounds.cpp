// The fit's bounds: the ranges each parameter may take, the start moved
// into them, and which fitted values ended on a bound.
#include <algorithm>
#include <cmath>

#include "fit/fit_search.h"
#include "fit/fit_solver.h"
#include "model/validation.h"

namespace zx {

namespace {

// The default Tc range never starts below the highest measured temperature
// times this, and reaches at least this factor above its start.
constexpr double kTcMargin = 1.005;
constexpr double kTcSpan = 1.2;
// Smallest sigma^2 and g^2 the fit tries when their lower bound is 0
// (both are fitted on a log scale).
constexpr double kPositiveFloor = 1e-12;

const char* const kRangeNames[kFitParamCount] = {"", "", "", "", "", "T_c", "B_c2(0)"};

}  // namespace

double HottestMeasuredTemperature(const FitInput& input) {
  double hottest = 0;
  for (const ConditionData& c : input.conditions)
    if (!c.x.empty()) hottest = std::max(hottest, c.temp);
  return hottest;
}

std::array<double, 2> DefaultTcRange(double tc, double hottest) {
  // A Tc at or below a measured temperature leaves that condition without
  // a model value: the range starts above the highest one.
  const double low = std::max(tc * 0.9, hottest * kTcMargin);
  return {low, std::max(tc * 1.1, low * kTcSpan)};
}

void FitBounds(const FitInput& input, const FitOptions& options, FitValues& lower,
               FitValues& upper) {
  const CalcSettings& s = input.settings;
  const double tc = input.params.T_c, bc2 = input.params.B_c2_0;
  const std::array<double, 2> tcRange = DefaultTcRange(tc, HottestMeasuredTemperature(input));
  lower = {s.MiniRe_Am,
           s.MiniSigma_2,
           s.MiniRe_Gamma,
           s.MiniRe_m,
           s.MiniRe_g_2,
           std::isnan(options.tcLower) ? tcRange[0] : options.tcLower,
           std::isnan(options.bc2Lower) ? bc2 / 3 : options.bc2Lower};
  upper = {s.MaxRe_Am,
           s.MaxSigma_2,
           s.MaxRe_Gamma,
           s.MaxRe_m,
           s.MaxRe_g_2,
           std::isnan(options.tcUpper) ? tcRange[1] : options.tcUpper,
           std::isnan(options.bc2Upper) ? bc2 * 3 : options.bc2Upper};
  if (!(lower[0] > 0)) lower[0] = std::min(1.0, upper[0]);
  for (FitParam k : {FitParam::Sigma2, FitParam::G2})
    if (!(lower[static_cast<std::size_t>(k)] > 0))
      lower[static_cast<std::size_t>(k)] = kPositiveFloor;
}

std::string CheckFitBounds(const FitInput& input, const FitOptions& options) {
  FitValues lower, upper;
  FitBounds(input, options, lower, upper);
  for (int k = 0; k < kFitParamCount; ++k) {
    const std::size_t kk = static_cast<std::size_t>(k);
    if (options.fixed[kk]) continue;
    const std::string name = k < kPinningParamCount ? ParamRangeName(k) : kRangeNames[k];
    if (!std::isfinite(lower[kk])) return RefusalText(name + "の最小値");
    if (!std::isfinite(upper[kk]) || !(lower[kk] <= upper[kk]))
      return RefusalText(name + "の最大値");
  }
  return {};
}

namespace fit_search {

// The bounds, the free parameters and the start (the current values,
// moved into the ranges), with the warnings that brings.
Common StartingPoint(const FitInput& input, const FitOptions& options) {
  Common common;
  FitBounds(input, options, common.lower, common.upper);
  const FitValues current = ParamsOf(input.params);
  std::vector<int> clamped, equal;
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    common.start[k] = current[k];
    if (options.fixed[k]) continue;
    if (common.lower[k] == common.upper[k]) {
      // Equal bounds hold the parameter at that value.
      common.start[k] = common.lower[k];
      equal.push_back(static_cast<int>(k));
      continue;
    }
    common.free[k] = true;
    const double v = std::isnan(current[k])
                         ? common.lower[k]
                         : std::clamp(current[k], common.lower[k], common.upper[k]);
    if (v != current[k]) clamped.push_back(static_cast<int>(k));
    common.start[k] = v;
  }
  if (!clamped.empty()) common.warnings.push_back({FitWarningKind::StartClamped, clamped, {}});
  if (!equal.empty()) common.warnings.push_back({FitWarningKind::EqualBounds, equal, {}});
  common.qLo = ToCoordinates(common.lower);
  common.qHi = ToCoordinates(common.upper);
  return common;
}

// The fitted values into out, each moving parameter marked when it ended
// on a bound. Returns the parameters whose errors are estimated: the moving
// ones off the bounds (a bound parameter is held where it is).
FitFlags MarkValuesOnBounds(FitOutcome& out, const Common& common, const FitFlags& moving,
                            const LocalFitSetup& setup, const FitValues& q) {
  const FitValues fitted = FromCoordinates(q);
  std::vector<int> onBound;
  FitFlags estimate = moving;
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    FitParamOutcome& p = out.params[k];
    if (!common.free[k]) continue;
    p.value = fitted[k];
    if (!moving[k]) continue;
    const double tol = BoundTolerance(setup.upper[k] - setup.lower[k]);
    // A value on a bound is the bound itself, not its round trip through
    // the log scale.
    if (q[k] <= setup.lower[k] + tol) {
      p.state = ParamState::Lower;
      p.value = common.lower[k];
    } else if (q[k] >= setup.upper[k] - tol) {
      p.state = ParamState::Upper;
      p.value = common.upper[k];
    }
    if (p.state != ParamState::Free) {
      onBound.push_back(static_cast<int>(k));
      estimate[k] = false;
    }
  }
  if (!onBound.empty()) out.warnings.push_back({FitWarningKind::Bound, onBound, {}});
  return estimate;
}

}  // namespace fit_search
}  // namespace zx
