// The model kernel: the reference evaluation against the cached one, at the
// default parameters along E-J curves.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "calc/model.h"

namespace {

constexpr double kTemp = 20.0;
constexpr double kField = 2.0;
constexpr int kCurvePoints = 16;

zx::ModelWork DefaultPoint() {
  zx::ModelWork p;
  p.EvalT = kTemp;
  p.EvalB = kField;
  return p;
}

// log10 of the critical current density at the distribution's centre, and
// the half-width (4 sigma) of the core integration interval.
double LogJcm() {
  zx::ModelWork p = DefaultPoint();
  zx::ScaleJc0(p, p.Re_A_m);
  return std::log10(p.Jc0Abs);
}
double CoreHalfWidth() { return 4 * std::sqrt(zx::ModelWork{}.Sigma_2); }

// kCurvePoints current densities, evenly spaced in log J over [lo, hi].
std::vector<double> Curve(double logLo, double logHi) {
  std::vector<double> js;
  for (int k = 0; k < kCurvePoints; ++k)
    js.push_back(std::pow(10.0, logLo + (logHi - logLo) * k / (kCurvePoints - 1)));
  return js;
}

// Below J_cm, inside the core interval: most abscissae creep (j < 1).
std::vector<double> CreepCurve() { return Curve(LogJcm() - CoreHalfWidth(), LogJcm() - 0.05); }
// Above J_cm, inside the core interval: most abscissae flow (j >= 1).
std::vector<double> FlowCurve() { return Curve(LogJcm() + 0.05, LogJcm() + CoreHalfWidth()); }
// The default J range of the full pass, mostly with extended limits.
std::vector<double> FullRangeCurve() { return Curve(5.0, 11.0); }

template <double (*Evaluate)(zx::ModelWork&)>
void RunCurve(benchmark::State& state, const std::vector<double>& js) {
  zx::ModelWork p = DefaultPoint();
  std::size_t i = 0;
  for (auto _ : state) {
    p.EvalJ = js[i++ % js.size()];
    benchmark::DoNotOptimize(Evaluate(p));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_EvaluateE_Creep_Literal(benchmark::State& s) {
  RunCurve<zx::EvaluateELiteral>(s, CreepCurve());
}
void BM_EvaluateE_Creep_Fast(benchmark::State& s) { RunCurve<zx::EvaluateE>(s, CreepCurve()); }
void BM_EvaluateE_Flow_Literal(benchmark::State& s) {
  RunCurve<zx::EvaluateELiteral>(s, FlowCurve());
}
void BM_EvaluateE_Flow_Fast(benchmark::State& s) { RunCurve<zx::EvaluateE>(s, FlowCurve()); }
void BM_EvaluateE_FullRange_Literal(benchmark::State& s) {
  RunCurve<zx::EvaluateELiteral>(s, FullRangeCurve());
}
void BM_EvaluateE_FullRange_Fast(benchmark::State& s) {
  RunCurve<zx::EvaluateE>(s, FullRangeCurve());
}

}  // namespace

BENCHMARK(BM_EvaluateE_Creep_Literal);
BENCHMARK(BM_EvaluateE_Creep_Fast);
BENCHMARK(BM_EvaluateE_Flow_Literal);
BENCHMARK(BM_EvaluateE_Flow_Fast);
BENCHMARK(BM_EvaluateE_FullRange_Literal);
BENCHMARK(BM_EvaluateE_FullRange_Fast);

BENCHMARK_MAIN();
