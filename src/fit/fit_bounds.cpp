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

std::array<double, 2> DefaultRange(FitParam p, double value, const FitInput& input) {
  if (p == FitParam::Tc) return DefaultTcRange(value, HottestMeasuredTemperature(input));
  return {value / 3, value * 3};
}

void FitBounds(const FitInput& input, const FitOptions& options, FitValues& lower,
               FitValues& upper) {
  for (const ParamRow& r : ParamTable()) {
    const std::array<double, 2> range =
        HasStoredRange(r) ? std::array{input.settings.*r.minimum, input.settings.*r.maximum}
                          : DefaultRange(r.id, input.params.*r.value, input);
    const double given[2] = {At(options.lower, r.id), At(options.upper, r.id)};
    At(lower, r.id) = std::isnan(given[0]) ? range[0] : given[0];
    At(upper, r.id) = std::isnan(given[1]) ? range[1] : given[1];
  }
  double& amLower = At(lower, FitParam::Am);
  if (!(amLower > 0)) amLower = std::min(1.0, At(upper, FitParam::Am));
  for (FitParam k : {FitParam::Sigma2, FitParam::G2})
    if (!(At(lower, k) > 0)) At(lower, k) = kPositiveFloor;
}

std::string CheckFitBounds(const FitInput& input, const FitOptions& options) {
  FitValues lower, upper;
  FitBounds(input, options, lower, upper);
  for (const ParamRow& r : ParamTable()) {
    if (options.fixed[static_cast<std::size_t>(r.id)]) continue;
    const char* name = RangeName(r);
    if (!std::isfinite(At(lower, r.id))) return RefusalText(FillPattern(kMinimumOfPattern, name));
    if (!std::isfinite(At(upper, r.id)) || !(At(lower, r.id) <= At(upper, r.id)))
      return RefusalText(FillPattern(kMaximumOfPattern, name));
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
