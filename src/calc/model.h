// The flux creep-flow model: the electric field of a sample at one current
// density, temperature and field, averaged over a log-normal distribution
// of pinning strengths.
//
// This is the reference evaluation: every operation is written in the
// order of the formulas so that its results are reproducible to the last
// bit. Faster kernels must agree with it exactly.
#pragma once

#include "model/project.h"

namespace zx {

// An integrand of the pinning-strength integrals, at x = log10 A.
using Integrand = double (*)(ModelParams& p, double x);

// E (V/m) at EvalJ, EvalB, EvalT. Overwrites DistNorm, Jc0, Jc0Im, Jc0Abs.
double EvaluateE(ModelParams& p);

// Critical current density of pinning strength a at EvalT and EvalB, stored
// in Jc0 / Jc0Im / Jc0Abs (all 0 outside the superconducting region).
void ScaleJc0(ModelParams& p, double a);

// Distribution weight at x = log10 A, scaled by DistNorm.
double NormIntegrand(ModelParams& p, double x);

// Distribution-weighted local creep-flow field at x = log10 A.
double WeightedE(ModelParams& p, double x);

// Composite three-eighths rule over n intervals. The integrand is called
// for the pairs (k, k+1), k = 1, 4, 7, ... first, then k = 3, 6, ..., then
// at a and at b; results depend on that order.
double IntegrateThreeEighths(ModelParams& p, Integrand g, double a, double b, int n);

}  // namespace zx
