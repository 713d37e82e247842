#include "calc/model.h"

#include <cmath>

#include "calc/model_constants.h"
#include "numeric/quadrature.h"

namespace zx {

using namespace model_detail;

void ScaleJc0(ModelWork& p, double a) {
  const double T = p.EvalT;
  const double B = p.EvalB;
  const double t = 1 - std::pow(T / p.T_c, TemperatureOrder(p));
  const double bc2 = p.B_c2_0 * t;
  if (T < p.T_c && B < bc2) {
    const double jc0 = a * std::pow(t, p.Re_m) * std::pow(B, p.Re_Gamma - 1) *
                       std::pow(1 - B / bc2, FieldOrder(p));
    p.Jc0 = jc0;
    p.Jc0Im = 0;
    p.Jc0Abs = std::sqrt(p.Jc0 * p.Jc0 + p.Jc0Im * p.Jc0Im);
  } else {
    p.Jc0 = 0;
    p.Jc0Im = 0;
    p.Jc0Abs = 0;
  }
}

double NormIntegrand(ModelWork& p, double x) {
  double v = x - std::log10(p.Re_A_m);
  v = v * v;
  v = v * -1.0;
  v = v / (2.0 * p.Sigma_2);
  v = std::exp(v);
  v = v * p.DistNorm;
  v = v * kLn10;
  v = v * std::pow(10, x);
  return v;
}

double WeightedE(ModelWork& p, double x) {
  ScaleJc0(p, std::pow(10, x));
  const double J = p.EvalJ;
  const double B = p.EvalB;
  const double T = p.EvalT;
  const double jc0 = p.Jc0Abs;
  const double zeta = p.Re_Zeta;
  const double d = p.Thickness;
  const double j = J / jc0;

  const double af = std::sqrt(2 * kFluxQuantum / (std::sqrt(3.0) * B));
  const double L = std::sqrt(af * B) / std::sqrt(kMu0 * zeta * jc0);
  double u0;
  if (L > d) {
    u0 = kThinPotentialCoefficient * p.Re_g_2 * kBoltzmann * jc0 * d / (zeta * std::sqrt(B));
  } else {
    u0 = kBulkPotentialCoefficient * p.Re_g_2 * kBoltzmann * std::sqrt(jc0) /
         (std::pow(zeta, 1.5) * std::pow(B, 0.25));
  }
  u0 = std::fabs(u0);

  const double rhoN = p.Rho_n_0 * T / p.T_c;
  const double bc2 = p.B_c2_0 * (1 - std::pow(T / p.T_c, TemperatureOrder(p)));
  const double rhoF = rhoN * B / bc2;
  const double nu0 = rhoF * zeta * jc0 / (2 * kPi * af * B);
  const double omega = NormIntegrand(p, x);
  const double kT = kBoltzmann * T;

  double eCr;
  double eFf;
  if (j < 1) {
    eCr = B * af * nu0 * std::exp(-u0 * (std::sqrt(1 - j * j) - j * std::acos(j)) / kT) *
          (1 - std::exp(-kPi * u0 * j / kT));
    eFf = 0;
  } else {
    eCr = B * af * nu0 * (1 - std::exp(-kPi * u0 / kT));
    eFf = rhoF * (J - jc0);
  }
  return std::sqrt((omega * eCr) * (omega * eCr) + (omega * eFf) * (omega * eFf));
}

double IntegrateThreeEighths(ModelWork& p, Integrand g, double a, double b, int n) {
  return ThreeEighths([&](std::size_t, double x) { return g(p, x); }, a, b, n);
}

double EvaluateELiteral(ModelWork& p) {
  p.DistNorm = 1.0;
  const double xm = std::log10(p.Re_A_m);
  const double s = std::sqrt(p.Sigma_2);
  const int n = p.IntStepNum;

  const double norm = IntegrateThreeEighths(p, NormIntegrand, xm - 10 * s, xm + 10 * s, n);
  p.DistNorm = 1.0 / norm;

  ScaleJc0(p, p.Re_A_m);
  const double jcm = p.Jc0Abs;
  const double w = 4 * s;
  const double logJ = std::log10(p.EvalJ);
  const double below = (std::log10(jcm) - w) - logJ;
  const double above = logJ - (std::log10(jcm) + w);
  const double lowerExt = below >= 0 ? below : 0;
  const double upperExt = above >= 0 ? above : 0;

  const double lower = xm - w - lowerExt;
  const double upper = xm + w + upperExt;
  return IntegrateThreeEighths(p, WeightedE, lower, upper, n);
}

double ModelE(const ModelParams& inputs, double J, double T, double B) {
  // One record per thread: assigning the inputs reuses its storage.
  thread_local ModelWork p;
  static_cast<ModelParams&>(p) = inputs;
  p.EvalJ = J;
  p.EvalT = T;
  p.EvalB = B;
  return EvaluateE(p);
}

}  // namespace zx
