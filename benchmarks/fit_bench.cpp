// The automatic fit of the E-J example project (three conditions) from a
// start 30 % off on every parameter.
#include <benchmark/benchmark.h>

#include "fit/fit_data.h"
#include "fit/fit_solver.h"
#include "model/settings_file.h"

namespace {

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
  if (out.stop != zx::FitStop::Converged) state.SkipWithError(out.reason.c_str());
  state.counters["fit_iterations"] = out.iterations;
  state.counters["model_evaluations"] = static_cast<double>(out.modelEvaluations);
}
BENCHMARK(BM_FitEJExample)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
