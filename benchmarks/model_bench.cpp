// The model kernel: the reference evaluation against the cached one, at the
// default parameters along E-J curves.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "calc/model.h"
#include "physics/creep_flow.h"

namespace {

constexpr double kTemp = 20.0;
constexpr double kField = 2.0;
constexpr int kCurvePoints = 16;

zx::CreepFlowInputs DefaultInputs() { return zx::ToCreepFlowInputs(zx::ModelParams{}); }

// log10 of the critical current density at the distribution's centre, and
// the half-width (4 sigma) of the core integration interval.
double LogJcm() {
  const zx::CreepFlowInputs in = DefaultInputs();
  return std::log10(zx::Jc0Magnitude(zx::ScaledJc0(in, in.Am, kTemp, kField)));
}
double CoreHalfWidth() { return 4 * std::sqrt(DefaultInputs().sigma2); }

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

using Kernel = double (*)(const zx::CreepFlowInputs&, double J, double T, double B,
                          zx::CreepFlowTrace*);

template <Kernel Evaluate>
void RunCurve(benchmark::State& state, const std::vector<double>& js) {
  const zx::CreepFlowInputs in = DefaultInputs();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Evaluate(in, js[i++ % js.size()], kTemp, kField, nullptr));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_EvaluateE_Creep_Literal(benchmark::State& s) {
  RunCurve<zx::CreepFlowEReference>(s, CreepCurve());
}
void BM_EvaluateE_Creep_Fast(benchmark::State& s) { RunCurve<zx::CreepFlowE>(s, CreepCurve()); }
void BM_EvaluateE_Flow_Literal(benchmark::State& s) {
  RunCurve<zx::CreepFlowEReference>(s, FlowCurve());
}
void BM_EvaluateE_Flow_Fast(benchmark::State& s) { RunCurve<zx::CreepFlowE>(s, FlowCurve()); }
void BM_EvaluateE_FullRange_Literal(benchmark::State& s) {
  RunCurve<zx::CreepFlowEReference>(s, FullRangeCurve());
}
void BM_EvaluateE_FullRange_Fast(benchmark::State& s) {
  RunCurve<zx::CreepFlowE>(s, FullRangeCurve());
}

}  // namespace

BENCHMARK(BM_EvaluateE_Creep_Literal);
BENCHMARK(BM_EvaluateE_Creep_Fast);
BENCHMARK(BM_EvaluateE_Flow_Literal);
BENCHMARK(BM_EvaluateE_Flow_Fast);
BENCHMARK(BM_EvaluateE_FullRange_Literal);
BENCHMARK(BM_EvaluateE_FullRange_Fast);

BENCHMARK_MAIN();
