// The calculation passes over a project of six conditions on three data
// files, with the reference kernel on one thread against the cached kernel
// on several.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "calc/full_pass.h"
#include "calc/preview_pass.h"
#include "model/format.h"
#include "model/graph_view.h"
#include "physics/creep_flow_kernel.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own for the data, result and curve files, removed at exit.
class BenchFolder {
 public:
  BenchFolder() : path_(fs::temp_directory_path() / ("zentrix-bench-" + std::to_string(getpid()))) {
    fs::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

// Measured-looking curves: 25 points each, E against J or Jc against B.
void WriteDataFile(const std::string& path, int mode, int file) {
  std::ofstream f(path, std::ios::binary);
  for (int k = 0; k < 25; ++k) {
    const double x = mode == 1 ? 0.5 + 0.25 * k : 1e6 * std::pow(10.0, 0.15 * k);
    const double y =
        mode == 1 ? 1e9 * std::exp(-0.6 * x) / (1 + file) : 1e-9 * std::pow(10.0, 0.3 * k);
    f << zx::FormatLe(x) << "\t" << zx::FormatLe(y) << "\r\n";
  }
}

// Six conditions at 4 to 14 K, two per data file. A_m = 1e10 keeps the
// critical current inside the default J bracket at most fields, as in a
// real fit (otherwise most searches end at once without a bracket).
zx::Project SixConditionProject(int mode) {
  zx::Project p;
  p.Params.Re_A_m = 1e10;
  const std::string tag = "m" + std::to_string(mode) + "-";
  p.ProgramFolder = Folder().File(tag);
  p.Settings.Mode = static_cast<zx::CalcMode>(mode);
  zx::ApplyModeAxes(p.Axes, p.Settings.Mode);
  for (int f = 0; f < 3; ++f) {
    const std::string path = Folder().File(tag + "data" + std::to_string(f) + ".dat");
    WriteDataFile(path, mode, f);
    zx::AddDataFile(p, path);
  }
  for (int c = 0; c < 6; ++c)
    zx::AddCalcCond(p, c % 3, 4.0 + 2.0 * c, 1.0 + 0.5 * c,
                    Folder().File(tag + "out" + std::to_string(c) + ".txt"));
  return p;
}

// Selects a kernel for one benchmark and the cached one again afterwards.
class KernelScope {
 public:
  explicit KernelScope(zx::CreepFlowKernel k) { zx::SelectCreepFlowKernel(k); }
  ~KernelScope() { zx::SelectCreepFlowKernel(zx::CreepFlowKernel::Cached); }
};

void RunFullPass(benchmark::State& state, zx::CreepFlowKernel kernel, int threads) {
  KernelScope scope(kernel);
  zx::FullCalcInput in = zx::TakeFullCalcInput(SixConditionProject(1));
  in.threads = threads;
  for (auto _ : state) {
    const zx::FullCalcOutcome out = zx::RunFullCalculation(in, {});
    if (out.filesWritten != 6) state.SkipWithError("result files not written");
  }
}

void RunPreview(benchmark::State& state, int mode, zx::CreepFlowKernel kernel, int threads) {
  KernelScope scope(kernel);
  zx::Project p = SixConditionProject(mode);
  zx::ViewState view = zx::MakeViewState(p);
  zx::PreviewHooks hooks;
  hooks.threads = threads;
  for (auto _ : state) {
    if (!zx::RunPreviewCalculation(p, view, hooks)) state.SkipWithError("data files not scanned");
  }
}

// Jc-B full pass: 31 fields per condition, a bisection per field.
void BM_FullPassJcB_Literal(benchmark::State& s) {
  RunFullPass(s, zx::CreepFlowKernel::Reference, 1);
}
void BM_FullPassJcB_Fast(benchmark::State& s) { RunFullPass(s, zx::CreepFlowKernel::Cached, 2); }
// Preview of every repaint: five samples per condition.
void BM_PreviewJcB_Literal(benchmark::State& s) {
  RunPreview(s, 1, zx::CreepFlowKernel::Reference, 1);
}
void BM_PreviewJcB_Fast(benchmark::State& s) { RunPreview(s, 1, zx::CreepFlowKernel::Cached, 0); }
void BM_PreviewEJ_Literal(benchmark::State& s) {
  RunPreview(s, 0, zx::CreepFlowKernel::Reference, 1);
}
void BM_PreviewEJ_Fast(benchmark::State& s) { RunPreview(s, 0, zx::CreepFlowKernel::Cached, 0); }

}  // namespace

// Several threads work for the fast runs: wall-clock time is what counts.
BENCHMARK(BM_FullPassJcB_Literal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FullPassJcB_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewJcB_Literal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewJcB_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewEJ_Literal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewEJ_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
