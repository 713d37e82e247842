#include "calc/model_jc.h"

#include <algorithm>
#include <cmath>

#include "calc/model.h"
#include "numeric/roots.h"

namespace zx {

namespace {

constexpr double kLogJMin = -10.0;
constexpr double kLogJMax = 25.0;

}  // namespace

double FindJc(const ModelParams& p, double T, double B, double jLo, double jHi, double eLo,
              double eHi) {
  RootSearch s;
  s.rule = RootRule::GeometricHalvingToValue;
  s.target = p.E_c;
  s.tolerance = p.E_cAllowableError;
  s.maxSteps = kMaxJcHalvings;
  return FindRoot([&](double j) { return ModelE(p, j, T, B); }, jLo, jHi, eLo, eHi, s);
}

double ModelJc(const ModelParams& p, double T, double B, double eC, double relTol, double jLo,
               double jHi, long long* evaluations, double hint) {
  if (!(eC > 0)) return NAN;
  const double logEc = std::log10(eC);
  // f(u) = log10 E(10^u) - log10 eC; E rises with J.
  auto f = [&](double u) -> double {
    if (evaluations) ++*evaluations;
    const double e = ModelE(p, std::pow(10.0, u), T, B);
    if (std::isnan(e)) return NAN;
    return e > 0 ? std::log10(e) - logEc : -INFINITY;
  };
  // A hint starts a narrow bracket that widens fourfold per step; without
  // one the bracket is the given range, widened by decades.
  double a, b, step, grow;
  if (hint > 0 && std::isfinite(hint)) {
    a = std::log10(hint) - 0.005;
    b = a + 0.01;
    step = 0.02;
    grow = 4;
  } else {
    a = jLo > 0 ? std::log10(jLo) : 5.0;
    b = jHi > 0 ? std::log10(jHi) : 11.0;
    if (!(a < b)) std::swap(a, b);
    if (!(a < b)) b = a + 1;
    step = 1;
    grow = 1;
  }
  const RootBracket br = WidenBracket(f, a, b, step, grow, kLogJMin, kLogJMax);
  if (!br.found) return NAN;
  // Illinois false position on log J, to the tolerance in decades.
  RootSearch s;
  s.rule = RootRule::IllinoisToArgument;
  s.tolerance = relTol / std::log(10.0);
  return std::pow(10.0, FindRoot(f, br.lo, br.hi, br.fLo, br.fHi, s));
}

double ModelN(const ModelParams& p, double J, double T, double B, long long* evaluations) {
  if (!(J > 0)) return NAN;
  constexpr double h = 1e-4;  // decades
  const double u = std::log10(J);
  const double eHi = ModelE(p, std::pow(10.0, u + h), T, B);
  const double eLo = ModelE(p, std::pow(10.0, u - h), T, B);
  if (evaluations) *evaluations += 2;
  if (!(eHi > 0) || !(eLo > 0)) return NAN;
  return (std::log10(eHi) - std::log10(eLo)) / (2 * h);
}

}  // namespace zx
