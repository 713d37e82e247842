#include "fit/model_jc.h"

#include <cmath>

#include "calc/model.h"

namespace zx {

namespace {

constexpr double kLogJMin = -10.0;
constexpr double kLogJMax = 25.0;

}  // namespace

double ModelJc(const ModelParams& p, double T, double B, double eC, double relTol, double jLo,
               double jHi, long long* evaluations) {
  if (!(eC > 0)) return NAN;
  const double logEc = std::log10(eC);
  // f(u) = log10 E(10^u) - log10 eC; E rises with J.
  auto f = [&](double u) -> double {
    if (evaluations) ++*evaluations;
    const double e = ModelE(p, std::pow(10.0, u), T, B);
    if (std::isnan(e)) return NAN;
    return e > 0 ? std::log10(e) - logEc : -INFINITY;
  };
  double a = jLo > 0 ? std::log10(jLo) : 5.0;
  double b = jHi > 0 ? std::log10(jHi) : 11.0;
  if (!(a < b)) std::swap(a, b);
  if (!(a < b)) b = a + 1;
  double fa = f(a);
  while (!(fa < 0) && a > kLogJMin) {
    b = a;
    a = std::max(a - 1, kLogJMin);
    fa = f(a);
  }
  double fb = f(b);
  while (!(fb > 0) && b < kLogJMax) {
    a = b;
    fa = fb;
    b = std::min(b + 1, kLogJMax);
    fb = f(b);
  }
  if (!(fa < 0) || !(fb > 0)) return NAN;
  if (fa == 0) return std::pow(10.0, a);

  // Illinois false position on log J, halving when a step gains too little.
  const double du = relTol / std::log(10.0);
  int side = 0;
  bool bisectNext = false;
  for (int it = 0; it < 200 && b - a > du; ++it) {
    const double width = b - a;
    double c = (a + b) / 2;
    if (!bisectNext && std::isfinite(fa) && std::isfinite(fb)) {
      const double s = (a * fb - b * fa) / (fb - fa);
      if (s > a && s < b) c = s;
    }
    const double fc = f(c);
    if (std::isnan(fc)) return NAN;
    if (fc == 0) return std::pow(10.0, c);
    if (fc < 0) {
      a = c;
      fa = fc;
      if (side == -1) fb /= 2;
      side = -1;
    } else {
      b = c;
      fb = fc;
      if (side == 1) fa /= 2;
      side = 1;
    }
    bisectNext = b - a > width / 2;
  }
  // The interpolated root inside the final bracket varies smoothly with
  // the parameters, which numeric derivatives need.
  double u = (a + b) / 2;
  if (std::isfinite(fa) && std::isfinite(fb) && fb != fa) {
    const double s = (a * fb - b * fa) / (fb - fa);
    if (s >= a && s <= b) u = s;
  }
  return std::pow(10.0, u);
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
