#include "calc/full_pass.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

#include "calc/condition_curve.h"
#include "calc/grid.h"
#include "calc/result_file.h"
#include "model/result_path.h"
#include "numeric/parallel.h"

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

// One run of the pass on the calling thread: it writes the files in order
// and evaluates points while it waits for them; helpers evaluate too.
class FullPass {
 public:
  FullPass(const FullCalcInput& in, const FullCalcHooks& hooks, std::vector<double> grid)
      : in_(in),
        hooks_(hooks),
        grid_(std::move(grid)),
        points_(grid_.size()),
        jobs_(OrderedJobs(in, points_)),
        queue_(in, grid_, jobs_),
        closed_(jobs_.size(), false),
        dataFileFailed_(static_cast<std::size_t>(std::max(in.dataSeriesCount, 0))) {
    progress_.conditionsTotal = static_cast<int>(jobs_.size());
    progress_.pointsTotal = static_cast<long long>(jobs_.size() * points_);
  }

  FullCalcOutcome Run() {
    const std::size_t tasks = jobs_.size() * points_;
    const int threads = static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(ResolveThreadCount(in_.threads)),
                              std::max<std::size_t>(tasks, 1)));
    // The calling thread evaluates too, between writing files.
    WorkerThreads helpers(threads - 1, [this] { queue_.RunUntilEmpty(); });
    for (std::size_t j = 0; j < jobs_.size(); ++j) {
      if (Cancelled() || !Close(j)) {
        outcome_.cancelled = true;
        break;
      }
      closed_[j] = true;
      ++progress_.conditionsDone;
      Report();
    }
    queue_.Stop();
    helpers.Join();
    return outcome_;
  }

 private:
  bool Cancelled() const { return hooks_.cancel && hooks_.cancel->load(); }

  void Report() {
    long long done = 0;
    for (std::size_t j = 0; j < jobs_.size(); ++j)
      done += closed_[j] ? static_cast<long long>(points_)
                         : static_cast<long long>(jobs_[j]->done.load());
    // Points of a skipped condition count as done; never step back.
    progress_.pointsDone = std::max(progress_.pointsDone, done);
    if (hooks_.progress) hooks_.progress(progress_);
  }

  // Writes job j's file, or reports why it is not written. False when the
  // pass was cancelled first.
  bool Close(std::size_t j) {
    Job& job = *jobs_[j];
    if (job.clash != ResultPathClash::None) {
      ++outcome_.filesFailed;
      if (hooks_.writeFailed)
        hooks_.writeFailed(ResultPathClashText(job.clash), job.cond->OutpFilePath);
      return true;
    }
    if (dataFileFailed_[static_cast<std::size_t>(job.dataFile)]) return true;
    if (!AwaitPoints(job)) return false;
    Write(j);
    return true;
  }

  // Evaluates points (of any job) until every point of `job` is done; false
  // when the pass is cancelled.
  bool AwaitPoints(const Job& job) {
    while (job.done.load() < points_) {
      if (Cancelled()) break;
      if (!queue_.RunOne())
        queue_.WaitBriefly([&] { return job.done.load() >= points_ || Cancelled(); });
      Report();
    }
    return !Cancelled();
  }

  void Write(std::size_t j) {
    const Job& job = *jobs_[j];
    const ResultHeader header = ConditionHeader(in_.settings, *job.cond, grid_);
    if (WriteResultFile(job.cond->OutpFilePath, in_.params, header, grid_, job.values)) {
      ++outcome_.filesWritten;
      if (hooks_.fileWritten) hooks_.fileWritten(*job.cond, static_cast<int>(points_));
      return;
    }
    ++outcome_.filesFailed;
    dataFileFailed_[static_cast<std::size_t>(job.dataFile)] = true;
    // The data file's remaining conditions are skipped: stop their points.
    for (std::size_t later = j + 1; later < jobs_.size(); ++later)
      if (jobs_[later]->dataFile == job.dataFile) jobs_[later]->skip = true;
    if (hooks_.writeFailed) hooks_.writeFailed(kResultFileFailedText, job.cond->OutpFilePath);
  }

  const FullCalcInput& in_;
  const FullCalcHooks& hooks_;
  const std::vector<double> grid_;  // every condition shares it
  const std::size_t points_;
  std::vector<std::unique_ptr<Job>> jobs_;
  PointQueue queue_;
  FullCalcProgress progress_;
  std::vector<bool> closed_;  // written, failed or skipped
  std::vector<bool> dataFileFailed_;
  FullCalcOutcome outcome_;
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
  const int count = GridPointCount(in.settings);
  if (count == 0) return FullCalcOutcome{};
  // The grid does not depend on the data file: every condition shares it.
  FullPass pass(in, hooks, BuildGrid(in.settings, count));
  return pass.Run();
}

}  // namespace zx
