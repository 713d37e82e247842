// The V-I conversion of long sweeps: background fit, sign, floor and the
// default cut (sorting and the running median dominate).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "import/vi_to_ej.h"

namespace {

void ConvertSweep(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> i(static_cast<std::size_t>(n)), v(i.size());
  for (int k = 0; k < n; ++k) {
    const double amps = 90.0 * k / n;
    i[static_cast<std::size_t>(k)] = amps;
    // A transition of exponent 25 over an offset, a lead slope and a
    // deterministic ripple of 10 nV.
    v[static_cast<std::size_t>(k)] =
        3e-6 + 2e-9 * amps + 1e-6 * std::pow(amps / 80.0, 25) + 1e-8 * std::sin(0.7 * k);
  }
  zx::ViImportSettings st;
  st.tapLength = 0.01;
  st.width = 4e-3;
  st.thickness = 1e-6;
  for (auto _ : state) benchmark::DoNotOptimize(zx::ConvertViToEj(i, v, st).keptCount);
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(ConvertSweep)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
