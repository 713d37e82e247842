// The automatic fit: the E-J example project (three conditions) from a
// start 30 % off on every parameter, a REBCO-like set of four
// temperatures at one field, 15 points each, from the example's start, and
// Jc-B sets of 2 and 30 conditions; all with the default twelve starts.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "fit/fit_data.h"
#include "fit/fit_solver.h"
#include "model/settings_file.h"

namespace {

void Report(benchmark::State& state, const zx::FitOutcome& out) {
  if (out.stop != zx::FitStop::Converged) state.SkipWithError(out.reason.c_str());
  state.counters["fit_iterations"] = out.iterations;
  state.counters["model_evaluations"] = static_cast<double>(out.modelEvaluations);
  state.counters["minima"] = static_cast<double>(out.minima.size());
}

void BM_FitEJExample(benchmark::State& state) {
  zx::Project p;
  if (!zx::LoadSettingsFile(p, ZX_SOURCE_DIR "/examples/ej/mgb2-ej.zx2")) {
    state.SkipWithError("cannot read the example project");
    return;
  }
  zx::FitInput in = zx::TakeFitInput(p);
  zx::FitValues start = zx::ParamsOf(in.params);
  for (int k = 0; k < zx::kPinningParamCount; ++k) start[static_cast<std::size_t>(k)] *= 1.3;
  zx::SetParams(in.params, start);
  zx::FitOptions o;
  o.threads = static_cast<int>(state.range(0));
  zx::FitOutcome out;
  for (auto _ : state) {
    out = zx::RunFit(in, o);
    benchmark::DoNotOptimize(out.cost);
  }
  Report(state, out);
}
BENCHMARK(BM_FitEJExample)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// A coated-conductor-like sample: Tc 92 K, four temperatures at 0.33 T,
// 5 % noise, IntStepNum 900.
zx::FitInput RebcoLikeInput() {
  zx::FitInput in;
  in.mode = zx::CalcMode::EJ;
  zx::ModelParams& t = in.params;
  t.T_c = 92.0;
  t.B_c2_0 = 120.0;
  t.Rho_n_0 = 1e-6;
  t.Thickness = 1e-6;
  t.Re_A_m = 3e10;
  t.Sigma_2 = 0.05;
  t.Re_Gamma = 0.5;
  t.Re_m = 1.5;
  t.Re_g_2 = 1.5;
  t.IntStepNum = 900;
  in.settings.MaxRe_Am = 1e12;
  std::mt19937 rng(5);
  std::normal_distribution<double> z(0.0, 1.0);
  int no = 0;
  for (double T : {30.0, 50.0, 65.0, 77.0}) {
    zx::ConditionData c;
    c.no = no++;
    c.temp = T;
    c.field = 0.33;
    c.status = zx::DataStatus::Used;
    const double lo = std::log10(zx::ModelJc(t, T, 0.33, 1e-6, 1e-9, 1e5, 1e12));
    const double hi = std::log10(zx::ModelJc(t, T, 0.33, 1e-2, 1e-9, 1e5, 1e12));
    for (int k = 0; k < 15; ++k) {
      const double J = std::pow(10.0, lo + (hi - lo) * k / 14);
      c.x.push_back(J);
      c.y.push_back(zx::ModelE(t, J, T, 0.33) * std::exp(0.05 * z(rng)));
    }
    in.conditions.push_back(c);
  }
  // The start: every pinning parameter 30 % off.
  t.Re_A_m *= 1.3;
  t.Sigma_2 *= 1.3;
  t.Re_m *= 0.7;
  t.Re_g_2 *= 1.3;
  return in;
}

void BM_FitRebcoLike(benchmark::State& state) {
  const zx::FitInput in = RebcoLikeInput();
  for (const zx::ConditionData& c : in.conditions)
    if (!std::isfinite(c.x.front()) || !std::isfinite(c.x.back())) {
      state.SkipWithError("no model Jc for the synthetic data");
      return;
    }
  zx::FitOptions o;
  o.threads = static_cast<int>(state.range(0));
  o.fixed[static_cast<std::size_t>(zx::FitParam::Gamma)] = true;  // one field
  zx::FitOutcome out;
  for (auto _ : state) {
    out = zx::RunFit(in, o);
    benchmark::DoNotOptimize(out.cost);
  }
  Report(state, out);
}
BENCHMARK(BM_FitRebcoLike)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// An MgB2-like Jc-B set: `conditions` temperatures from 15 K in steps of
// 0.5 K, 11 fields from 1 T to 5 T each, 3 % noise, from a start 10 % off
// on Am, gamma and m.
zx::FitInput JcBInput(int conditions) {
  zx::FitInput in;
  in.mode = zx::CalcMode::JcB;
  zx::ModelParams& t = in.params;
  t.Re_A_m = 1.25e9;
  t.Sigma_2 = 0.08;
  t.Re_Gamma = 0.75;
  t.Re_m = 2.6;
  t.Re_g_2 = 2.5;
  t.T_c = 39.0;
  t.B_c2_0 = 15.0;
  t.Rho_n_0 = 1.5e-6;
  t.Thickness = 1e-4;
  t.IntStepNum = 900;
  t.E_c = 1e-4;
  in.settings.JIni = 1e5;
  in.settings.JFin = 1e11;
  std::mt19937 rng(11);
  std::normal_distribution<double> z(0.0, 1.0);
  for (int k = 0; k < conditions; ++k) {
    zx::ConditionData c;
    c.no = k;
    c.temp = 15.0 + 0.5 * k;
    c.status = zx::DataStatus::Used;
    for (int i = 0; i <= 10; ++i) {
      const double B = 1.0 + 0.4 * i;
      c.x.push_back(B);
      c.y.push_back(zx::ModelJc(t, c.temp, B, t.E_c, 1e-9, 1e5, 1e11) * std::exp(0.03 * z(rng)));
    }
    in.conditions.push_back(c);
  }
  t.Re_A_m *= 1.1;
  t.Re_Gamma *= 1.1;
  t.Re_m *= 1.1;
  return in;
}

void FitJcB(benchmark::State& state, int conditions) {
  const zx::FitInput in = JcBInput(conditions);
  for (const zx::ConditionData& c : in.conditions)
    for (double y : c.y)
      if (!std::isfinite(y)) {
        state.SkipWithError("no model Jc for the synthetic data");
        return;
      }
  zx::FitOptions o;
  o.threads = 2;
  zx::FitOutcome out;
  for (auto _ : state) {
    out = zx::RunFit(in, o);
    benchmark::DoNotOptimize(out.cost);
  }
  Report(state, out);
  state.counters["rms"] = out.minima.empty() ? NAN : out.minima[0].rms;
}
// One name each: the report's fit lines are keyed by name.
void BM_FitJcB2(benchmark::State& state) { FitJcB(state, 2); }
void BM_FitJcB30(benchmark::State& state) { FitJcB(state, 30); }
BENCHMARK(BM_FitJcB2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_FitJcB30)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
