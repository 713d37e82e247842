#include "fit/fit_types.h"

namespace zx {

FitValues ParamsOf(const ModelParams& p) {
  FitValues v;
  for (const ParamRow& r : ParamTable()) At(v, r.id) = p.*r.value;
  return v;
}

void SetParams(ModelParams& p, const FitValues& v) {
  for (const ParamRow& r : ParamTable()) p.*r.value = At(v, r.id);
}

std::vector<int> VariedParams(const FitMatrix& covariance) {
  std::vector<int> varied;
  for (int k = 0; k < kFitParamCount; ++k) {
    const double v = covariance[static_cast<std::size_t>(k)][static_cast<std::size_t>(k)];
    if (std::isfinite(v) && v > 0) varied.push_back(k);
  }
  return varied;
}

FitValues ValuesOf(const FitOutcome& fit) {
  FitValues v;
  for (std::size_t k = 0; k < kFitParamCount; ++k) v[k] = fit.params[k].value;
  return v;
}

const char* ParamStateName(ParamState s) {
  switch (s) {
    case ParamState::Free:
      return "free";
    case ParamState::Fixed:
      return "fixed";
    case ParamState::Lower:
      return "lower";
    case ParamState::Upper:
      return "upper";
  }
  return "";
}

const char* DropReasonName(DropReason r) {
  return r == DropReason::NotPositive ? "not-positive" : "not-finite";
}

const char* FitWarningName(FitWarningKind k) {
  switch (k) {
    case FitWarningKind::StartClamped:
      return "start-clamped";
    case FitWarningKind::Bound:
      return "bound";
    case FitWarningKind::Degenerate:
      return "degenerate";
    case FitWarningKind::NoModelValue:
      return "no-model-value";
    case FitWarningKind::TooFewPoints:
      return "too-few-points";
    case FitWarningKind::EqualBounds:
      return "equal-bounds";
    case FitWarningKind::StartsCapped:
      return "starts-capped";
    case FitWarningKind::NotConverged:
      return "not-converged";
    case FitWarningKind::DroppedLines:
      return "dropped-lines";
  }
  return "";
}

}  // namespace zx
