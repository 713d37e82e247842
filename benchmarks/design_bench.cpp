// Design data from a fit: a 50 x 50 map of Jc and n with their bands on two
// threads, for the E-J example and a REBCO-like sample at IntStepNum 900,
// and the map window's curves (four temperatures x 100 fields).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "design/design_point.h"
#include "fit/fit_data.h"
#include "fit/fit_quality.h"
#include "fit/fit_solver.h"
#include "model/settings_file.h"

namespace {

// A fitted basis: one local fit from the given start gives the covariance.
zx::DesignBasis Fitted(const zx::FitInput& in, zx::FitOptions o) {
  o.starts = 1;
  o.threads = 2;
  const zx::FitOutcome fit = zx::RunFit(in, o);
  zx::Project p;
  p.Params = in.params;
  zx::SetParams(p.Params, zx::ValuesOf(fit));
  p.Settings = in.settings;
  const zx::FitRecord rec = zx::MakeFitRecord(in, fit, o, zx::FitQuality{}, p.Params);
  return zx::BasisOf(p, &rec);
}

const zx::DesignBasis& ExampleBasis() {
  static const zx::DesignBasis basis = [] {
    zx::Project p;
    zx::LoadSettingsFile(p, ZX_SOURCE_DIR "/examples/ej/mgb2-ej.zx2");
    return Fitted(zx::TakeFitInput(p), zx::FitOptions{});
  }();
  return basis;
}

// Tc 92 K, four temperatures at 0.33 T and 1 T, 5 % noise, IntStepNum 900.
const zx::DesignBasis& RebcoBasis() {
  static const zx::DesignBasis basis = [] {
    zx::FitInput in;
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
    for (double B : {0.33, 1.0})
      for (double T : {30.0, 50.0, 65.0, 77.0}) {
        zx::ConditionData c;
        c.no = no++;
        c.temp = T;
        c.field = B;
        c.status = zx::DataStatus::Used;
        const double lo = std::log10(zx::ModelJc(t, T, B, 1e-6, 1e-9, 1e5, 1e12));
        const double hi = std::log10(zx::ModelJc(t, T, B, 1e-2, 1e-9, 1e5, 1e12));
        for (int k = 0; k < 15; ++k) {
          const double J = std::pow(10.0, lo + (hi - lo) * k / 14);
          c.x.push_back(J);
          c.y.push_back(zx::ModelE(t, J, T, B) * std::exp(0.05 * z(rng)));
        }
        in.conditions.push_back(c);
      }
    return Fitted(in, zx::FitOptions{});
  }();
  return basis;
}

void RunMap(benchmark::State& state, const zx::DesignBasis& basis, double tLo, double tHi,
            double bHi) {
  const int n = 50;
  const auto temps = zx::AxisValues(tLo, tHi, (tHi - tLo) / (n - 1));
  const auto fields = zx::AxisValues(bHi / n, bHi, bHi / n);
  zx::DesignMap map;
  for (auto _ : state) {
    map = zx::ComputeDesignMap(basis, temps, fields, basis.params.E_c, 2);
    benchmark::DoNotOptimize(map.points.data());
  }
  const double points = static_cast<double>(map.points.size());
  state.counters["points"] = points;
  state.counters["evaluations_per_point"] = static_cast<double>(map.evaluations) / points;
  state.counters["bands"] = basis.HasBands() ? 1 : 0;
}

void BM_DesignMapEJExample(benchmark::State& state) { RunMap(state, ExampleBasis(), 15, 35, 5); }
BENCHMARK(BM_DesignMapEJExample)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_DesignMapRebcoLike(benchmark::State& state) { RunMap(state, RebcoBasis(), 20, 85, 10); }
BENCHMARK(BM_DesignMapRebcoLike)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// What the map window computes when its temperature list changes.
void BM_DesignWindowCurves(benchmark::State& state) {
  const zx::DesignBasis& basis = ExampleBasis();
  const auto fields = zx::AxisValues(0.05, 5, 0.05);
  zx::DesignMap map;
  for (auto _ : state) {
    map = zx::ComputeDesignMap(basis, {15, 20, 25, 30}, fields, basis.params.E_c, 2);
    benchmark::DoNotOptimize(map.points.data());
  }
  state.counters["points"] = static_cast<double>(map.points.size());
  state.counters["evaluations_per_point"] =
      static_cast<double>(map.evaluations) / static_cast<double>(map.points.size());
  state.counters["bands"] = basis.HasBands() ? 1 : 0;
}
BENCHMARK(BM_DesignWindowCurves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
