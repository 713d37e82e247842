// The search panel: synthetic sets with known truth, each fitted with the
// default options from 20 poor starts spread over the parameters' ranges.
// Reports how many starts reach the best minimum found for the set, and
// the median and worst wall time of one fit (2 threads) and its CPU time.
// Run alone: ./bench --benchmark_filter=FitPanel
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "fit/fit_data.h"
#include "fit/fit_solver.h"

namespace {

constexpr int kPoorStarts = 20;
constexpr int kThreads = 2;
constexpr auto kGamma = static_cast<std::size_t>(zx::FitParam::Gamma);
constexpr auto kTc = static_cast<std::size_t>(zx::FitParam::Tc);

struct PanelSet {
  zx::FitInput input;  // params: the truth
  zx::FitOptions options;
};

// One condition per (T, B), 10 points evenly spaced in log J between the
// model's E = 1e-8 and 1e-2 V/m, with 3 % multiplicative noise.
zx::FitInput MakeSet(const zx::ModelParams& truth, const std::vector<std::pair<double, double>>& tb,
                     unsigned seed) {
  zx::FitInput in;
  in.mode = zx::CalcMode::EJ;
  in.params = truth;
  std::mt19937 rng(seed);
  std::normal_distribution<double> z(0.0, 1.0);
  int no = 0;
  for (auto [T, B] : tb) {
    zx::ConditionData c;
    c.no = no++;
    c.temp = T;
    c.field = B;
    c.status = zx::DataStatus::Used;
    const double lo = std::log10(zx::ModelJc(truth, T, B, 1e-8, 1e-9, 1e5, 1e11));
    const double hi = std::log10(zx::ModelJc(truth, T, B, 1e-2, 1e-9, 1e5, 1e11));
    for (int k = 0; k < 10; ++k) {
      const double J = std::pow(10.0, lo + (hi - lo) * k / 9);
      c.x.push_back(J);
      c.y.push_back(zx::ModelE(truth, J, T, B) * std::exp(0.03 * z(rng)));
    }
    in.conditions.push_back(c);
  }
  return in;
}

zx::ModelParams MgB2Like() {
  zx::ModelParams p;
  p.T_c = 39.0;
  p.B_c2_0 = 15.0;
  p.Rho_n_0 = 1.5e-6;
  p.Thickness = 1e-4;
  p.IntStepNum = 900;
  p.Re_A_m = 1.25e9;
  p.Sigma_2 = 0.08;
  p.Re_Gamma = 0.75;
  p.Re_m = 2.6;
  p.Re_g_2 = 2.5;
  return p;
}

zx::ModelParams RebcoLike() {
  zx::ModelParams p;
  p.T_c = 92.0;
  p.B_c2_0 = 120.0;
  p.Rho_n_0 = 1e-6;
  p.Thickness = 1e-6;
  p.IntStepNum = 900;
  p.Re_A_m = 3e10;
  p.Sigma_2 = 0.01;
  p.Re_Gamma = 0.5;
  p.Re_m = 1.5;
  p.Re_g_2 = 0.3;
  return p;
}

zx::ModelParams Nb3SnLike() {
  zx::ModelParams p;
  p.T_c = 18.0;
  p.B_c2_0 = 28.0;
  p.Rho_n_0 = 1e-7;
  p.Thickness = 1e-4;
  p.IntStepNum = 900;
  p.Re_A_m = 2e9;
  p.Sigma_2 = 0.04;
  p.Re_Gamma = 0.6;
  p.Re_m = 2.0;
  p.Re_g_2 = 1.5;
  return p;
}

PanelSet OneField() {
  PanelSet s{MakeSet(MgB2Like(), {{20, 1}, {25, 1}, {30, 1}}, 11), {}};
  s.options.fixed[kGamma] = true;
  return s;
}

PanelSet OneTemperature() {
  return {MakeSet(MgB2Like(), {{20, 1.5}, {20, 2.5}, {20, 3.5}}, 12), {}};
}

PanelSet RebcoSmallSigma() {
  PanelSet s{MakeSet(RebcoLike(), {{30, 0.33}, {45, 0.33}, {60, 0.33}, {75, 0.33}}, 13), {}};
  s.input.settings.MaxRe_Am = 1e13;
  s.input.settings.MiniRe_g_2 = 0.01;
  s.options.fixed[kGamma] = true;
  return s;
}

PanelSet MgB2Fields() {
  return {MakeSet(MgB2Like(), {{15, 2}, {20, 1.5}, {20, 3}, {25, 1}, {25, 2.5}, {30, 1.5}}, 14),
          {}};
}

PanelSet Nb3SnFields() {
  return {MakeSet(Nb3SnLike(), {{4.2, 8}, {4.2, 12}, {4.2, 16}, {8, 8}, {8, 12}, {12, 6}}, 15), {}};
}

// Tc freed, the sample's Tc (the start) 33 K under a condition at 34 K.
PanelSet TcFromBelow() {
  PanelSet s{MakeSet(MgB2Like(), {{20, 1.5}, {25, 1.5}, {30, 1.5}, {34, 1.5}}, 16), {}};
  s.options.fixed[kTc] = false;
  return s;
}

// The radical inverse of i in the base: one coordinate of a Halton point.
double Halton(int base, int i) {
  double r = 0, f = 1.0 / base;
  for (; i > 0; i /= base, f /= base) r += f * (i % base);
  return r;
}

// Poor start r: every free pinning parameter spread over its range (Am,
// sigma^2, m and g^2 on log scales), Tc from 30 K to 33.9 K, below the
// highest measured temperature.
zx::FitValues PoorStart(const PanelSet& set, int r) {
  const zx::CalcSettings& s = set.input.settings;
  const zx::FitValues lo = {s.MiniRe_Am, std::max(s.MiniSigma_2, 1e-3), s.MiniRe_Gamma, s.MiniRe_m,
                            s.MiniRe_g_2};
  const zx::FitValues hi = {s.MaxRe_Am, s.MaxSigma_2, s.MaxRe_Gamma, s.MaxRe_m, s.MaxRe_g_2};
  const bool logScale[zx::kPinningParamCount] = {true, true, false, true, true};
  static const int kBases[] = {2, 3, 5, 7, 11, 13};
  zx::FitValues v = zx::ParamsOf(set.input.params);
  for (std::size_t k = 0; k < zx::kPinningParamCount; ++k) {
    if (set.options.fixed[k]) continue;
    // Skip the first points, which sit at the corners of the box.
    const double u = Halton(kBases[k], r + 7);
    v[k] = logScale[k] ? lo[k] * std::pow(hi[k] / lo[k], u) : lo[k] + u * (hi[k] - lo[k]);
  }
  if (!set.options.fixed[kTc]) v[kTc] = 30.0 + 3.9 * Halton(13, r + 1);
  return v;
}

void RunPanel(benchmark::State& state, const PanelSet& set) {
  zx::FitOptions o = set.options;
  o.threads = kThreads;
  std::vector<double> costs, seconds, cpu;
  int converged = 0;
  for (auto _ : state) {
    costs.clear();
    seconds.clear();
    cpu.clear();
    converged = 0;
    for (int r = 0; r < kPoorStarts; ++r) {
      zx::FitInput in = set.input;
      zx::SetParams(in.params, PoorStart(set, r));
      const auto t0 = std::chrono::steady_clock::now();
      const std::clock_t c0 = std::clock();
      const zx::FitOutcome out = zx::RunFit(in, o);
      cpu.push_back(static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC);
      seconds.push_back(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
      costs.push_back(std::isfinite(out.cost) && !out.minima.empty() ? out.cost : INFINITY);
      converged += out.stop == zx::FitStop::Converged;
    }
  }
  // The best minimum known: the best of the poor starts and of one local
  // fit from the truth.
  zx::FitOptions fromTruth = o;
  fromTruth.starts = 1;
  const zx::FitOutcome truthFit = zx::RunFit(set.input, fromTruth);
  double best = std::isfinite(truthFit.cost) ? truthFit.cost : INFINITY;
  for (double c : costs) best = std::min(best, c);
  int reached = 0;
  for (double c : costs) reached += c <= best * (1 + 1e-5) + 1e-15;
  std::sort(seconds.begin(), seconds.end());
  std::sort(cpu.begin(), cpu.end());
  state.counters["reached"] = reached;
  state.counters["converged"] = converged;
  state.counters["median_s"] = (seconds[kPoorStarts / 2 - 1] + seconds[kPoorStarts / 2]) / 2;
  state.counters["worst_s"] = seconds.back();
  // CPU time of every thread together: what the fit costs on a machine
  // that others share, where the wall time says more about the load.
  state.counters["median_cpu_s"] = (cpu[kPoorStarts / 2 - 1] + cpu[kPoorStarts / 2]) / 2;
  state.counters["worst_cpu_s"] = cpu.back();
  state.counters["best_cost"] = best;
}

void BM_FitPanel(benchmark::State& state, PanelSet (*make)()) { RunPanel(state, make()); }

#define ZX_PANEL(name, maker)                 \
  BENCHMARK_CAPTURE(BM_FitPanel, name, maker) \
      ->Unit(benchmark::kSecond)              \
      ->UseRealTime()                         \
      ->Iterations(1)                         \
      ->Repetitions(1)

ZX_PANEL(one_field, OneField);
ZX_PANEL(one_temperature, OneTemperature);
ZX_PANEL(rebco_small_sigma2_g2, RebcoSmallSigma);
ZX_PANEL(mgb2_fields, MgB2Fields);
ZX_PANEL(nb3sn_fields, Nb3SnFields);
ZX_PANEL(tc_from_below, TcFromBelow);

}  // namespace
