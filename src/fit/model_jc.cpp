#include "fit/model_jc.h"

#include <algorithm>
#include <cmath>

#include "calc/model.h"

namespace zx {

namespace {

constexpr double kLogJMin = -10.0;
constexpr double kLogJMax = 25.0;

}  // namespace

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
  double fa = f(a), fb = NAN;
  bool haveFb = false;
  while (!(fa < 0) && a > kLogJMin) {
    b = a;
    fb = fa;
    haveFb = true;
    a = std::max(a - step, kLogJMin);
    step *= grow;
    fa = f(a);
  }
  if (!haveFb) fb = f(b);
  while (!(fb > 0) && b < kLogJMax) {
    a = b;
    fa = fb;
    b = std::min(b + step, kLogJMax);
    step *= grow;
    fb = f(b);
  }
  if (!(fa < 0) || !(fb > 0)) return NAN;
  if (fa == 0) return std::pow(10.0, a);

  // Illinois false position on log J. It ends when the local slope puts
  // the root within half the tolerance of the last point, or when the
  // bracket is narrower than the tolerance.
  const double du = relTol / std::log(10.0);
  int side = 0;
  // The last evaluated point, unscaled, for the slope.
  double prevU = std::fabs(fa) < std::fabs(fb) ? a : b;
  double prevF = std::fabs(fa) < std::fabs(fb) ? fa : fb;
  for (int it = 0; it < 200 && b - a > du; ++it) {
    double c = (a + b) / 2;
    if (std::isfinite(fa) && std::isfinite(fb)) {
      const double s = (a * fb - b * fa) / (fb - fa);
      if (s > a && s < b) c = s;
    }
    const double fc = f(c);
    if (std::isnan(fc)) return NAN;
    if (fc == 0) return std::pow(10.0, c);
    const double slope = (fc - prevF) / (c - prevU);
    if (std::isfinite(slope) && slope > 0 && std::fabs(fc) / slope < du / 2)
      return std::pow(10.0, c - fc / slope);
    prevU = c;
    prevF = fc;
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
  }
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
