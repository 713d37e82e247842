#include "numeric/roots.h"

#include <algorithm>
#include <cmath>

namespace zx {

namespace {

double HalveToValue(const std::function<double(double)>& f, double lo, double hi, double fLo,
                    double fHi, const RootSearch& s) {
  const double target = s.target;
  double mid = 0;
  for (int halving = 0; halving < s.maxSteps; ++halving) {
    mid = std::pow(10, (std::log10(lo) + std::log10(hi)) / 2);
    const double v = f(mid);
    if (std::fabs(target - v) < target * s.tolerance / 100) return mid;
    if (fLo <= target && v >= target) {
      hi = mid;
      fHi = v;
    } else if (v < target && fHi >= target) {
      lo = mid;
      fLo = v;
    } else {
      return 1.0;
    }
  }
  // A tolerance of 0, or one finer than double precision, is never met.
  return mid;
}

double Illinois(const std::function<double(double)>& g, double a, double b, double fa, double fb,
                const RootSearch& s) {
  auto f = [&](double x) { return g(x) - s.target; };
  fa -= s.target;
  fb -= s.target;
  if (fa == 0) return a;
  const double du = s.tolerance;
  int side = 0;
  // The last evaluated point, unscaled, for the slope.
  double prevU = std::fabs(fa) < std::fabs(fb) ? a : b;
  double prevF = std::fabs(fa) < std::fabs(fb) ? fa : fb;
  for (int it = 0; it < s.maxSteps && b - a > du; ++it) {
    double c = (a + b) / 2;
    if (std::isfinite(fa) && std::isfinite(fb)) {
      const double t = (a * fb - b * fa) / (fb - fa);
      if (t > a && t < b) c = t;
    }
    const double fc = f(c);
    if (std::isnan(fc)) return NAN;
    if (fc == 0) return c;
    const double slope = (fc - prevF) / (c - prevU);
    if (std::isfinite(slope) && slope > 0 && std::fabs(fc) / slope < du / 2) return c - fc / slope;
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
    const double t = (a * fb - b * fa) / (fb - fa);
    if (t >= a && t <= b) u = t;
  }
  return u;
}

}  // namespace

double FindRoot(const std::function<double(double)>& f, double lo, double hi, double fLo,
                double fHi, const RootSearch& s) {
  switch (s.rule) {
    case RootRule::GeometricHalvingToValue:
      return HalveToValue(f, lo, hi, fLo, fHi, s);
    case RootRule::IllinoisToArgument:
      return Illinois(f, lo, hi, fLo, fHi, s);
  }
  return NAN;
}

RootBracket WidenBracket(const std::function<double(double)>& f, double lo, double hi, double step,
                         double grow, double min, double max) {
  RootBracket r;
  double a = lo, b = hi;
  double fa = f(a), fb = NAN;
  bool haveFb = false;
  while (!(fa < 0) && a > min) {
    b = a;
    fb = fa;
    haveFb = true;
    a = std::max(a - step, min);
    step *= grow;
    fa = f(a);
  }
  if (!haveFb) fb = f(b);
  while (!(fb > 0) && b < max) {
    a = b;
    fa = fb;
    b = std::min(b + step, max);
    step *= grow;
    fb = f(b);
  }
  r.lo = a;
  r.hi = b;
  r.fLo = fa;
  r.fHi = fb;
  r.found = fa < 0 && fb > 0;
  return r;
}

}  // namespace zx
