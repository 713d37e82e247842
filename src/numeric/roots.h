// Roots of a rising function of one variable.
#pragma once

#include <functional>

namespace zx {

// How FindRoot walks its bracket and when it stops.
enum class RootRule {
  // Geometric midpoints of a positive bracket; stops at the first midpoint
  // whose value lies within `tolerance` percent of the target. A midpoint
  // that leaves the target outside the bracket ends the search with the
  // sentinel 1.0; when the tolerance is never met the last midpoint is
  // returned. The calculation passes rely on exactly these steps.
  GeometricHalvingToValue,
  // Illinois false position; stops when the local slope puts the root
  // within half of `tolerance` (in x) of the last point, or when the
  // bracket is narrower than `tolerance`. NaN when f gives NaN inside.
  IllinoisToArgument,
};

struct RootSearch {
  RootRule rule = RootRule::IllinoisToArgument;
  double target = 0.0;  // the value f is to reach
  double tolerance = 0.0;
  int maxSteps = 200;
};

// The x in [lo, hi] at which the rising f reaches s.target; fLo and fHi are
// f(lo) and f(hi), already known to the caller.
double FindRoot(const std::function<double(double)>& f, double lo, double hi, double fLo,
                double fHi, const RootSearch& s);

struct RootBracket {
  bool found = false;
  double lo = 0.0, hi = 0.0, fLo = 0.0, fHi = 0.0;  // fLo < 0 < fHi when found
};

// Widens [lo, hi] until f changes sign from below zero to above zero,
// moving the end that fails by `step` (multiplied by `grow` after every
// move) and never past [min, max]. f(lo) is evaluated first, then f(hi)
// only when lo did not have to move.
RootBracket WidenBracket(const std::function<double(double)>& f, double lo, double hi, double step,
                         double grow, double min, double max);

}  // namespace zx
