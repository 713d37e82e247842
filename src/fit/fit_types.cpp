#include "fit/fit_types.h"

namespace zx {

namespace {
const char* const kNames[kFitParamCount] = {"Am", "sigma2", "gamma", "m", "g2", "Tc", "Bc2"};
}

const char* FitParamName(int index) {
  return index >= 0 && index < kFitParamCount ? kNames[index] : "";
}

int FitParamIndex(const std::string& name) {
  for (int i = 0; i < kFitParamCount; ++i)
    if (name == kNames[i]) return i;
  return -1;
}

FitValues ParamsOf(const ModelParams& p) {
  return {p.Re_A_m, p.Sigma_2, p.Re_Gamma, p.Re_m, p.Re_g_2, p.T_c, p.B_c2_0};
}

void SetParams(ModelParams& p, const FitValues& v) {
  p.Re_A_m = v[0];
  p.Sigma_2 = v[1];
  p.Re_Gamma = v[2];
  p.Re_m = v[3];
  p.Re_g_2 = v[4];
  p.T_c = v[5];
  p.B_c2_0 = v[6];
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
