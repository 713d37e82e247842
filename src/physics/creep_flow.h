// The flux creep-flow model: the electric field E (V/m) of a superconducting
// sample at a current density J (A/m^2), a temperature T (K) and a field
// B (T), averaged over a log-normal distribution of pinning strengths. The
// formulas are written out in creep_flow.cpp, beside the reference
// evaluation that computes them in their written order.
#pragma once

#include <cmath>

namespace zx {

// What the model reads. SI units throughout.
struct CreepFlowInputs {
  double Am = 0;       // centre of the pinning-strength distribution (A/m^2)
  double sigma2 = 0;   // variance of log10 of the pinning strength
  double gamma = 0;    // field exponent of Jc0 (B to the power gamma - 1)
  double m = 0;        // temperature exponent of Jc0
  double g2 = 0;       // flux-bundle size factor of the pinning potential
  double Tc = 0;       // critical temperature (K)
  double Bc20 = 0;     // upper critical field at T = 0 (T)
  double rhon0 = 0;    // normal-state resistivity coefficient (ohm m)
  double zeta = 0;     // pin shape constant
  double d = 0;        // sample thickness (m)
  int tcExponent = 2;  // nT: t = 1 - (T/Tc)^nT, 1 or 2
  int bcExponent = 2;  // nB: Jc0 ~ (1 - B/Bc2(T))^nB, 1 or 2
  int intervals = 0;   // intervals of each three-eighths integral
};

// What an evaluation leaves behind, for comparing the kernels with each
// other: the normalisation factor and Jc0 at the last abscissa evaluated
// (the upper limit of the field integral).
struct CreepFlowTrace {
  double distNorm = 0;      // 1 / I0
  double jc0 = 0;           // Jc0 as the scaling law gives it
  double jc0Magnitude = 0;  // sqrt(Jc0^2), the value the formulas use
};

// E at (J, T, B). Keeps a cache per thread of everything that does not
// depend on J (keyed on the exact bits of every input), so threads may
// evaluate side by side; bit for bit the result of CreepFlowEReference.
double CreepFlowE(const CreepFlowInputs& in, double J, double T, double B,
                  CreepFlowTrace* trace = nullptr);

// The same, recomputing everything on every call, each formula in its
// written order. Also what CreepFlowE falls back on when a table of the
// integrand would be too large.
double CreepFlowEReference(const CreepFlowInputs& in, double J, double T, double B,
                           CreepFlowTrace* trace = nullptr);

// The pieces of the formulas, as the reference evaluates them.

// t = 1 - (T/Tc)^nT.
double ReducedTemperature(const CreepFlowInputs& in, double T);
// Bc2(T) = Bc2(0) t.
double UpperCriticalField(const CreepFlowInputs& in, double T);
// Jc0 of pinning strength A at (T, B) by the scaling law; 0 outside the
// superconducting region (T >= Tc or B >= Bc2(T)).
double ScaledJc0(const CreepFlowInputs& in, double A, double T, double B);
// |Jc0| computed as sqrt(Jc0^2): it is 0 or infinite where the square
// underflows or overflows, and the results depend on that.
inline double Jc0Magnitude(double jc0) { return std::sqrt(jc0 * jc0); }
// omega(x), the log-normal weight at x = log10 A times distNorm.
double PinningWeight(const CreepFlowInputs& in, double distNorm, double x);
// omega(x) times the local creep-flow field at x = log10 A.
double WeightedLocalField(const CreepFlowInputs& in, double distNorm, double J, double T, double B,
                          double x);

// How often the calling thread's cache was (re)built, for tests and tuning.
struct CreepFlowCacheStats {
  long long normBuilds = 0;   // normalisation integrals computed
  long long setupBuilds = 0;  // per-(inputs, T, B) constants computed
  long long tableBuilds = 0;  // per-abscissa tables computed (new limits)
  long long evaluations = 0;
};
CreepFlowCacheStats ThreadCreepFlowCacheStats();
// Forgets the calling thread's cache (the next call rebuilds everything).
void ClearThreadCreepFlowCache();

}  // namespace zx
