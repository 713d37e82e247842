// The flux creep-flow model: the electric field of a sample at one current
// density, temperature and field, averaged over a log-normal distribution
// of pinning strengths.
//
// EvaluateELiteral is the reference evaluation: every operation is written
// in the order of the formulas so that its results are reproducible to the
// last bit. EvaluateE gives the same bits faster, by keeping what does not
// depend on J from one call to the next.
#pragma once

#include "model/project.h"

namespace zx {

// E (V/m) of the inputs at (J, T, B). Writes nothing the caller can see, so
// any number of parameter sets may be evaluated side by side.
double ModelE(const ModelParams& inputs, double J, double T, double B);

// The kernels' own record: a copy of the inputs, the evaluation point and
// the values the integrands leave behind.
struct ModelWork : ModelParams {
  ModelWork() = default;
  explicit ModelWork(const ModelParams& inputs) : ModelParams(inputs) {}
  double EvalJ = 0.0;
  double EvalB = 0.0;
  double EvalT = 0.0;
  double DistNorm = 0.0;
  double Jc0 = 0.0;
  double Jc0Im = 0.0;
  double Jc0Abs = 0.0;
};

// An integrand of the pinning-strength integrals, at x = log10 A.
using Integrand = double (*)(ModelWork& p, double x);

// E (V/m) at EvalJ, EvalB, EvalT. Overwrites DistNorm, Jc0, Jc0Im, Jc0Abs.
// Bit for bit the result and working values of EvaluateELiteral. Keeps a
// cache per thread (the normalisation, and every per-abscissa quantity that
// does not involve J), keyed on the exact bits of every input it reads, so
// threads may evaluate side by side on their own records.
double EvaluateE(ModelWork& p);

// The same, recomputing everything on every call.
double EvaluateELiteral(ModelWork& p);

// Which evaluation EvaluateE runs, for the whole process. The reference
// serves comparisons (benchmarks, checks of the cache); results are the
// same either way.
enum class ModelKernel { Cached, Reference };
void SelectModelKernel(ModelKernel kernel);

// How often the calling thread's cache was (re)built, for tests and tuning.
struct ModelCacheStats {
  long long normBuilds = 0;   // normalisation integrals computed
  long long setupBuilds = 0;  // per-(parameters, T, B) constants computed
  long long tableBuilds = 0;  // per-abscissa tables computed (new limits)
  long long evaluations = 0;
};
ModelCacheStats ThreadModelCacheStats();
// Forgets the calling thread's cache (the next call rebuilds everything).
void ClearThreadModelCache();

// Critical current density of pinning strength a at EvalT and EvalB, stored
// in Jc0 / Jc0Im / Jc0Abs (all 0 outside the superconducting region).
void ScaleJc0(ModelWork& p, double a);

// Distribution weight at x = log10 A, scaled by DistNorm.
double NormIntegrand(ModelWork& p, double x);

// Distribution-weighted local creep-flow field at x = log10 A.
double WeightedE(ModelWork& p, double x);

// Composite three-eighths rule over n intervals. The integrand is called
// for the pairs (k, k+1), k = 1, 4, 7, ... first, then k = 3, 6, ..., then
// at a and at b; results depend on that order.
double IntegrateThreeEighths(ModelWork& p, Integrand g, double a, double b, int n);

}  // namespace zx
