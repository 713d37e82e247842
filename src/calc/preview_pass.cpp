#include "calc/preview_pass.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <deque>
#include <vector>

#include "calc/condition_curve.h"
#include "calc/correlation.h"
#include "calc/result_file.h"
#include "calc/sampling.h"
#include "model/series_file.h"
#include "numeric/parallel.h"

namespace zx {

namespace {

// The sampled points of one scanned data file.
struct SampledFile {
  std::vector<double> x, y;
};

// One condition's curve over its data file's samples.
struct PreviewJob {
  const SampledFile* file = nullptr;
  const CalcCondEntry* cond = nullptr;
  std::string path;  // of its curve file
  std::vector<double> values;
  std::atomic<bool> late{false};  // a point was left out at the deadline
};

// The conditions of data file `no`, newest (highest No) first.
std::vector<const CalcCondEntry*> ConditionsOf(const Project& p, int no) {
  std::vector<const CalcCondEntry*> conds;
  for (int k = p.CalcConds.HeadNo(); k >= 0; --k) {
    const CalcCondEntry* c = p.CalcConds.Find(k);
    if (c->RelatedDatFileNo == no) conds.push_back(c);
  }
  return conds;
}

// Samples the points the scan kept.
bool SampleDataFile(const SeriesEntry& series, SampledFile& out) {
  if (!series.Points || series.Points->path != series.Path) return false;
  const std::vector<double>& x = series.Points->x;
  const std::vector<double>& y = series.Points->y;
  for (int i : SampleIndices(static_cast<int>(std::min(x.size(), y.size())))) {
    out.x.push_back(x[static_cast<std::size_t>(i)]);
    out.y.push_back(y[static_cast<std::size_t>(i)]);
  }
  return true;
}

// Writes a condition's curve file and reports its coefficient. False when
// the file could not be written.
bool FinishJob(const Project& p, ViewState& v, const PreviewJob& job, const PreviewHooks& hooks) {
  const SampledFile& f = *job.file;
  const ResultHeader header = ConditionHeader(p.Settings, *job.cond, f.x);
  if (hooks.writeCurveFiles &&
      !WriteResultFile(job.path, p.Params, header, f.x, job.values, ResultWrite::Scratch)) {
    if (hooks.warning) hooks.warning(kResultFileFailedText, job.path);
    return false;
  }
  const std::size_t n = f.x.size();
  std::vector<double> logMeasured(n), logCalculated(n);
  for (std::size_t k = 0; k < n; ++k) {
    logMeasured[k] = std::log10(f.y[k]);
    logCalculated[k] = std::log10(job.values[k]);
  }
  const double r =
      CorrelationCoefficient(logMeasured.data(), logCalculated.data(), static_cast<int>(n));
  SetCorrCoef(v, *job.cond, r);
  if (hooks.showCorrCoef) hooks.showCorrCoef(job.cond->No, CorrCoefText(r));
  return true;
}

// What the pass evaluates: the sampled points of every scanned data file
// and a job per condition of each.
struct PreviewPlan {
  bool anyScanned = false;
  std::deque<SampledFile> files;  // stable addresses for the jobs
  std::vector<std::deque<PreviewJob>> jobsPerFile;
};

void PlanJobs(const Project& p, ViewState& v, const PreviewHooks& hooks, PreviewPlan& plan) {
  for (SeriesEntry& series : v.DataSeries.items) {
    const SeriesRead read = ScanSeries(v.View, series);
    if (read == SeriesRead::TooLarge && hooks.warning)
      hooks.warning(kSeriesTooLargeText, series.Path);
    if (read != SeriesRead::Ok) continue;
    plan.anyScanned = true;
    SampledFile& file = plan.files.emplace_back();
    if (!SampleDataFile(series, file)) continue;
    std::deque<PreviewJob>& jobs = plan.jobsPerFile.emplace_back();
    for (const CalcCondEntry* cond : ConditionsOf(p, series.No)) {
      PreviewJob& job = jobs.emplace_back();
      job.file = &file;
      job.cond = cond;
      const SeriesEntry* curve = v.CurveSeries.Find(cond->No);
      job.path = curve ? curve->Path : cond->Path;
      job.values.resize(file.x.size());
    }
  }
}

// Every sampled point of every condition, evaluated side by side; points
// past the deadline mark their job late.
void EvaluateJobs(const Project& p, const PreviewHooks& hooks, PreviewPlan& plan) {
  struct Task {
    PreviewJob* job;
    std::size_t k;
  };
  std::vector<Task> tasks;
  for (std::deque<PreviewJob>& jobs : plan.jobsPerFile)
    for (PreviewJob& job : jobs)
      for (std::size_t k = 0; k < job.values.size(); ++k) tasks.push_back({&job, k});
  const int threads = ResolveThreadCount(hooks.threads);
  const ModelParams& params = p.Params;
  const CalcSettings& settings = p.Settings;
  ParallelFor(tasks.size(), threads, [&](int, std::size_t i) {
    const Task& t = tasks[i];
    if (hooks.deadline && std::chrono::steady_clock::now() >= *hooks.deadline) {
      t.job->late = true;
      return;
    }
    t.job->values[t.k] = EvaluateCurvePoint(params, settings, *t.job->cond, t.job->file->x[t.k]);
  });
}

}  // namespace

bool RunPreviewCalculation(const Project& p, ViewState& v, const PreviewHooks& hooks) {
  if (hooks.readPanelValues) hooks.readPanelValues();
  TakeAxisSettings(v.View, p);
  PreviewPlan plan;
  PlanJobs(p, v, hooks, plan);
  EvaluateJobs(p, hooks, plan);
  // A file that cannot be written skips the rest of its data file.
  for (const std::deque<PreviewJob>& jobs : plan.jobsPerFile)
    for (const PreviewJob& job : jobs) {
      if (job.late) continue;
      if (!FinishJob(p, v, job, hooks)) break;
    }
  return plan.anyScanned;
}

std::function<bool(const Project&, ViewState&)> PreviewRunner(PreviewHooks hooks) {
  return [hooks = std::move(hooks)](const Project& p, ViewState& v) {
    return RunPreviewCalculation(p, v, hooks);
  };
}

}  // namespace zx
