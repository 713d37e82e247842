// Jc and the n value of the fitted model at one temperature and field, with
// their 95 % bands, and the map of them over a grid.
#pragma once

#include <cmath>
#include <vector>

#include "design/design_basis.h"

namespace zx {

struct DesignPoint {
  double temp = NAN, field = NAN;
  // False where the model has no value: T >= Tc, B >= Bc2(T), B <= 0, or no
  // J reaches the criterion. Then every number below is NaN.
  bool hasValue = false;
  double jc = NAN, jcLower = NAN, jcUpper = NAN;  // A/m^2; the band NaN without a covariance
  double n = NAN, nLower = NAN, nUpper = NAN;     // d ln E / d ln J at Jc
  bool extrapolated = false;                      // outside the data's range
};

// Whether (T, B) at criterion eC lies outside the data's range: T or B
// outside the span of the points used, or (E-J mode) eC outside their E
// span; in Jc-B mode the data are at the project's criterion only.
bool OutsideData(const DesignBasis& basis, double T, double B, double eC);

// One point. `hint`: a Jc close to the answer (a neighbour's), or 0.
// Bands by the delta method: d log Jc / dp = -(d log E / dp) / n at fixed J
// (implicit differentiation of E(Jc) = eC), dn/dp = dn/dp|J + dn/dlogJ
// d log Jc/dp; Jc's band 10^(log10 Jc ± 1.96 s), n's n ± 1.96 s.
DesignPoint EvaluateDesignPoint(const DesignBasis& basis, double T, double B, double eC,
                                double hint = 0.0, long long* evaluations = nullptr);

// A regular axis LO, LO+STEP, ... up to HI (HI included when it falls on
// the grid, within a millionth of a step).
std::vector<double> AxisValues(double lo, double hi, double step);

struct DesignMap {
  std::vector<double> temps, fields;
  double eC = NAN;
  std::vector<DesignPoint> points;  // temperature-major: points[i * fields.size() + j]
  long long evaluations = 0;        // model evaluations spent
};

// Every (T, B) of the grid, on `threads` threads (0: every core); along a
// temperature the fields go up and each Jc hints the next.
DesignMap ComputeDesignMap(const DesignBasis& basis, const std::vector<double>& temps,
                           const std::vector<double>& fields, double eC, int threads = 0);

}  // namespace zx
