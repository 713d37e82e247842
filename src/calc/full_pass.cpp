#include "calc/full_pass.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "calc/condition_curve.h"
#include "calc/grid.h"
#include "numeric/parallel.h"
#include "calc/result_file.h"
#include "model/result_path.h"

namespace zx {

namespace {

// One condition's curve, filled point by point by whichever thread gets
// there first.
struct Job {
  const CalcCondEntry* cond = nullptr;
  int dataFile = 0;
  std::vector<double> values;
  std::atomic<std::size_t> done{0};
  std::atomic<bool> skip{false};
  // Set when the result would replace a data file or the project.
  ResultPathClash clash = ResultPathClash::None;
};

// The conditions in the order their files are written: data files rising,
// within each the highest No first.
std::vector<std::unique_ptr<Job>> OrderedJobs(const FullCalcInput& in, std::size_t points) {
  std::vector<std::unique_ptr<Job>> jobs;
  for (int r = 0; r < in.dataSeriesCount; ++r) {
    for (auto it = in.conditions.rbegin(); it != in.conditions.rend(); ++it) {
      if (it->RelatedDatFileNo != r) continue;
      auto job = std::make_unique<Job>();
      job->cond = &*it;
      job->dataFile = r;
      job->values.resize(points);
      job->clash = CheckResultPath(in.dataFilePaths, in.settingsFilePath, it->OutpFilePath);
      job->skip = job->clash != ResultPathClash::None;
      jobs.push_back(std::move(job));
    }
  }
  return jobs;
}

// Hands out the points of every job in write order and records them.
class PointQueue {
 public:
  PointQueue(const FullCalcInput& in, const std::vector<double>& grid,
             std::vector<std::unique_ptr<Job>>& jobs)
      : in_(in), grid_(grid), jobs_(jobs), total_(jobs.size() * grid.size()) {}

  // Evaluates the next point. False when none is left or the pass stops.
  bool RunOne() {
    if (stop_.load()) return false;
    const std::size_t t = next_.fetch_add(1);
    if (t >= total_) return false;
    const std::size_t points = grid_.size();
    Job& job = *jobs_[t / points];
    const std::size_t k = t % points;
    if (job.skip.load()) return true;
    job.values[k] = EvaluateCurvePoint(in_.params, in_.settings, *job.cond, grid_[k]);
    if (job.done.fetch_add(1) + 1 == points) {
      std::lock_guard<std::mutex> lock(mutex_);
      finished_.notify_all();
    }
    return true;
  }

  void RunUntilEmpty() {
    while (RunOne()) {
    }
  }

  // Waits a little for a job to finish (or for `wake`).
  template <class Pred>
  void WaitBriefly(Pred wake) {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait_for(lock, std::chrono::milliseconds(5), wake);
  }

  void Stop() { stop_ = true; }

 private:
  const FullCalcInput& in_;
  const std::vector<double>& grid_;
  std::vector<std::unique_ptr<Job>>& jobs_;
  const std::size_t total_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable finished_;
};

}  // namespace

FullCalcInput TakeFullCalcInput(const Project& p) {
  FullCalcInput in;
  in.params = p.Params;
  in.settings = p.Settings;
  in.conditions = p.CalcConds.items;
  in.dataSeriesCount = p.DataFiles.Count();
  for (const RegistryEntry& d : p.DataFiles.items) in.dataFilePaths.push_back(d.Path);
  in.settingsFilePath = p.SettingsFilePath;
  return in;
}

FullCalcOutcome RunFullCalculation(const FullCalcInput& in, const FullCalcHooks& hooks) {
  FullCalcOutcome outcome;
  const int count = GridPointCount(in.settings);
  if (count == 0) return outcome;
  // The grid does not depend on the data file: every condition shares it.
  const std::vector<double> grid = BuildGrid(in.settings, count);
  const std::size_t points = grid.size();
  std::vector<std::unique_ptr<Job>> jobs = OrderedJobs(in, points);

  FullCalcProgress progress;
  progress.conditionsTotal = static_cast<int>(jobs.size());
  progress.pointsTotal = static_cast<long long>(jobs.size() * points);
  std::vector<bool> closed(jobs.size(), false);  // written, failed or skipped
  const auto report = [&] {
    long long done = 0;
    for (std::size_t j = 0; j < jobs.size(); ++j)
      done +=
          closed[j] ? static_cast<long long>(points) : static_cast<long long>(jobs[j]->done.load());
    // Points of a skipped condition count as done; never step back.
    progress.pointsDone = std::max(progress.pointsDone, done);
    if (hooks.progress) hooks.progress(progress);
  };
  const auto cancelled = [&] { return hooks.cancel && hooks.cancel->load(); };

  PointQueue queue(in, grid, jobs);
  const std::size_t tasks = jobs.size() * points;
  const int threads = static_cast<int>(std::min<std::size_t>(
      static_cast<std::size_t>(ResolveThreadCount(in.threads)), std::max<std::size_t>(tasks, 1)));
  // The calling thread evaluates too, between writing files.
  WorkerThreads helpers(threads - 1, [&queue] { queue.RunUntilEmpty(); });
  std::vector<bool> dataFileFailed(static_cast<std::size_t>(std::max(in.dataSeriesCount, 0)));

  for (std::size_t j = 0; j < jobs.size() && !outcome.cancelled; ++j) {
    Job& job = *jobs[j];
    if (cancelled()) {
      outcome.cancelled = true;
      break;
    }
    if (job.clash != ResultPathClash::None) {
      ++outcome.filesFailed;
      if (hooks.writeFailed)
        hooks.writeFailed(ResultPathClashText(job.clash), job.cond->OutpFilePath);
    } else if (!dataFileFailed[static_cast<std::size_t>(job.dataFile)]) {
      while (job.done.load() < points) {
        if (cancelled()) break;
        if (queue.RunOne()) {
          report();
        } else {
          queue.WaitBriefly([&] { return job.done.load() >= points || cancelled(); });
          report();
        }
      }
      if (cancelled()) {
        outcome.cancelled = true;
        break;
      }
      const ResultHeader header = ConditionHeader(in.settings, *job.cond, grid);
      if (WriteResultFile(job.cond->OutpFilePath, in.params, header, grid, job.values)) {
        ++outcome.filesWritten;
        if (hooks.fileWritten) hooks.fileWritten(*job.cond, static_cast<int>(points));
      } else {
        ++outcome.filesFailed;
        dataFileFailed[static_cast<std::size_t>(job.dataFile)] = true;
        // The data file's remaining conditions are skipped: stop their points.
        for (std::size_t later = j + 1; later < jobs.size(); ++later)
          if (jobs[later]->dataFile == job.dataFile) jobs[later]->skip = true;
        if (hooks.writeFailed) hooks.writeFailed(kResultFileFailedText, job.cond->OutpFilePath);
      }
    }
    closed[j] = true;
    ++progress.conditionsDone;
    report();
  }
  queue.Stop();
  helpers.Join();
  return outcome;
}

}  // namespace zx
