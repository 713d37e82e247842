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

// The false-position point of [a, b] when it lies inside (or, for the last
// estimate, on an end), else the midpoint.
double SecantPoint(double a, double b, double fa, double fb, bool endsAllowed) {
  const double mid = (a + b) / 2;
  if (!std::isfinite(fa) || !std::isfinite(fb)) return mid;
  const double t = (a * fb - b * fa) / (fb - fa);
  const bool inside = endsAllowed ? t >= a && t <= b : t > a && t < b;
  return inside ? t : mid;
}

// The bracket of the Illinois rule: f(a) < 0 < f(b), with the value at an
// end halved each time that end is kept twice in a row.
struct IllinoisBracket {
  double a, b, fa, fb;
  int kept = 0;  // -1: b was kept last time, 1: a was

  void Replace(double c, double fc) {
    if (fc < 0) {
      a = c;
      fa = fc;
      if (kept == -1) fb /= 2;
      kept = -1;
    } else {
      b = c;
      fb = fc;
      if (kept == 1) fa /= 2;
      kept = 1;
    }
  }
};

double Illinois(const std::function<double(double)>& g, double a, double b, double fa, double fb,
                const RootSearch& s) {
  IllinoisBracket br{a, b, fa - s.target, fb - s.target};
  if (br.fa == 0) return a;
  const double du = s.tolerance;
  // The last evaluated point, unscaled, for the slope.
  const bool aCloser = std::fabs(br.fa) < std::fabs(br.fb);
  double prevU = aCloser ? br.a : br.b;
  double prevF = aCloser ? br.fa : br.fb;
  for (int it = 0; it < s.maxSteps && br.b - br.a > du; ++it) {
    const double c = SecantPoint(br.a, br.b, br.fa, br.fb, false);
    const double fc = g(c) - s.target;
    if (std::isnan(fc)) return NAN;
    if (fc == 0) return c;
    // Close enough when the local slope puts the root within du / 2.
    const double slope = (fc - prevF) / (c - prevU);
    if (std::isfinite(slope) && slope > 0 && std::fabs(fc) / slope < du / 2) return c - fc / slope;
    prevU = c;
    prevF = fc;
    br.Replace(c, fc);
  }
  return SecantPoint(br.a, br.b, br.fa, br.fb, true);
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
