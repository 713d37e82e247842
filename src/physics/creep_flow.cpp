// The reference evaluation of the flux creep-flow model.
//
// A pinning strength A (A/m^2) is integrated over as x = log10 A. With the
// inputs of CreepFlowInputs, the evaluation point (J, T, B) and the
// constants of constants.h:
//
// Scaling law of the critical current density of strength A, with
// nT = tcExponent and nB = bcExponent:
//   t      = 1 - (T/Tc)^nT
//   Bc2(T) = Bc20 t
//   Jc0(A) = A t^m B^(gamma-1) (1 - B/Bc2(T))^nB   if T < Tc and B < Bc2(T)
//          = 0                                     otherwise
//   and |Jc0| = sqrt(Jc0^2) wherever Jc0 is used below.
//
// Flux bundles and pinning potential:
//   a_f = sqrt(2 phi0 / (sqrt(3) B))                 flux-line spacing
//   L   = sqrt(a_f B) / sqrt(mu0 zeta Jc0)           bundle length
//   U0  = |4.23 g2 kB Jc0 d / (zeta B^(1/2))|          if L > d  (thin sample)
//       = |0.835 g2 kB Jc0^(1/2) / (zeta^1.5 B^(1/4))|  if L <= d (bulk)
//
// Flow resistivity and hopping frequency:
//   rho_n = rhon0 T / Tc
//   rho_f = rho_n B / Bc2(T)
//   nu0   = rho_f zeta Jc0 / (2 pi a_f B)
//
// Local creep and flow fields at j = J / Jc0, with kT = kB T:
//   j < 1:   E_cr = B a_f nu0 exp(-U0 (sqrt(1 - j^2) - j arccos j) / kT)
//                            (1 - exp(-pi U0 j / kT)),       E_ff = 0
//   j >= 1:  E_cr = B a_f nu0 (1 - exp(-pi U0 / kT)),        E_ff = rho_f (J - Jc0)
// and combine, weighted by omega(x) below, as
//   sqrt((omega E_cr)^2 + (omega E_ff)^2).
//
// Log-normal weight (10^x ln 10 = dA/dx turns the density over x into one
// over A), with x_m = log10 Am and s = sqrt(sigma2):
//   omega(x) = exp(-(x - x_m)^2 / (2 sigma2)) N ln10 10^x
//   N        = 1 / I0,  I0 = the integral of omega(x) / N over [x_m - 10 s, x_m + 10 s]
//
// The field, with Jcm = Jc0(Am) at the centre of the distribution:
//   E(J, T, B) = integral over [x_m - 4s - lo, x_m + 4s + hi] of
//                sqrt((omega E_cr)^2 + (omega E_ff)^2) dx
//   lo = max(0, (log10 Jcm - 4s) - log10 J)
//   hi = max(0, log10 J - (log10 Jcm + 4s))
//   so that the core interval of 4 s to each side reaches down (up) to the
//   strength whose Jc0 is J when J lies far below (above) Jcm.
//
// Both integrals: the composite three-eighths rule over N = intervals,
// h = (b - a) / N,
//   I = 3h/8 (g(a) + g(b) + 3 sum_{k=1,4,7..<=N-2} (g(a + kh) + g(a + (k+1)h))
//                         + 2 sum_{k=3,6,9..<=N-3} g(a + kh))
// with the integrand called in that order (numeric/quadrature.h): the
// last bits of the result depend on it.
//
// Every expression below keeps the written order of its operations, so that
// the cached kernel (creep_flow_cached.cpp) can reproduce its bits.
#include "physics/creep_flow.h"

#include <cmath>

#include "numeric/quadrature.h"
#include "physics/constants.h"

namespace zx {

using namespace physics;

double ReducedTemperature(const CreepFlowInputs& in, double T) {
  return 1 - std::pow(T / in.Tc, static_cast<double>(in.tcExponent));
}

double UpperCriticalField(const CreepFlowInputs& in, double T) {
  return in.Bc20 * ReducedTemperature(in, T);
}

double ScaledJc0(const CreepFlowInputs& in, double A, double T, double B) {
  const double t = ReducedTemperature(in, T);
  const double Bc2 = in.Bc20 * t;
  if (!(T < in.Tc && B < Bc2)) return 0;
  return A * std::pow(t, in.m) * std::pow(B, in.gamma - 1) *
         std::pow(1 - B / Bc2, static_cast<double>(in.bcExponent));
}

double PinningWeight(const CreepFlowInputs& in, double distNorm, double x) {
  const double dx = x - std::log10(in.Am);
  return std::exp(dx * dx * -1.0 / (2.0 * in.sigma2)) * distNorm * kLn10 * std::pow(10, x);
}

double WeightedLocalField(const CreepFlowInputs& in, double distNorm, double J, double T, double B,
                          double x) {
  const double Jc0 = Jc0Magnitude(ScaledJc0(in, std::pow(10, x), T, B));
  const double j = J / Jc0;

  const double af = std::sqrt(2 * kFluxQuantum / (std::sqrt(3.0) * B));
  const double L = std::sqrt(af * B) / std::sqrt(kMu0 * in.zeta * Jc0);
  double U0;
  if (L > in.d) {
    U0 = kThinPotentialCoefficient * in.g2 * kBoltzmann * Jc0 * in.d / (in.zeta * std::sqrt(B));
  } else {
    U0 = kBulkPotentialCoefficient * in.g2 * kBoltzmann * std::sqrt(Jc0) /
         (std::pow(in.zeta, 1.5) * std::pow(B, 0.25));
  }
  U0 = std::fabs(U0);

  const double rhoN = in.rhon0 * T / in.Tc;
  const double rhoF = rhoN * B / UpperCriticalField(in, T);
  const double nu0 = rhoF * in.zeta * Jc0 / (2 * kPi * af * B);
  const double omega = PinningWeight(in, distNorm, x);
  const double kT = kBoltzmann * T;

  double Ecr;
  double Eff;
  if (j < 1) {
    Ecr = B * af * nu0 * std::exp(-U0 * (std::sqrt(1 - j * j) - j * std::acos(j)) / kT) *
          (1 - std::exp(-kPi * U0 * j / kT));
    Eff = 0;
  } else {
    Ecr = B * af * nu0 * (1 - std::exp(-kPi * U0 / kT));
    Eff = rhoF * (J - Jc0);
  }
  return std::sqrt((omega * Ecr) * (omega * Ecr) + (omega * Eff) * (omega * Eff));
}

double CreepFlowEReference(const CreepFlowInputs& in, double J, double T, double B,
                           CreepFlowTrace* trace) {
  const double xm = std::log10(in.Am);
  const double s = std::sqrt(in.sigma2);
  const int N = in.intervals;

  const double I0 = ThreeEighths([&](std::size_t, double x) { return PinningWeight(in, 1.0, x); },
                                 xm - 10 * s, xm + 10 * s, N);
  const double distNorm = 1.0 / I0;

  const double Jcm = Jc0Magnitude(ScaledJc0(in, in.Am, T, B));
  const double w = 4 * s;
  const double logJ = std::log10(J);
  const double below = (std::log10(Jcm) - w) - logJ;
  const double above = logJ - (std::log10(Jcm) + w);
  const double lo = below >= 0 ? below : 0;
  const double hi = above >= 0 ? above : 0;

  const double lower = xm - w - lo;
  const double upper = xm + w + hi;
  const double E = ThreeEighths(
      [&](std::size_t, double x) { return WeightedLocalField(in, distNorm, J, T, B, x); }, lower,
      upper, N);
  if (trace) {
    // The rule's last abscissa is the upper limit itself.
    trace->distNorm = distNorm;
    trace->jc0 = ScaledJc0(in, std::pow(10, upper), T, B);
    trace->jc0Magnitude = Jc0Magnitude(trace->jc0);
  }
  return E;
}

}  // namespace zx
