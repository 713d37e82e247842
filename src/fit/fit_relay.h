// Runs the local fits of the search on worker threads and passes their
// progress to the caller's callback on the calling thread.
#pragma once

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>

#include "fit/fit_types.h"

namespace zx {
namespace fit_search {

// Passes the progress of fits on worker threads to the caller's callback,
// on the thread that called RunFit, one call at a time. Only the latest
// iteration of each start waits to be passed on.
class Relay {
 public:
  explicit Relay(const std::function<bool(const FitIteration&)>& callback) : callback_(callback) {}

  // Worker side; false when the fit is to stop.
  bool Post(FitIteration it) {
    if (cancel_) return false;
    if (!callback_) return true;
    std::unique_lock<std::mutex> lock(mutex_);
    it.startsDone = startsDone_;
    it.bestMerit = bestMerit_;
    if (direct_) {
      lock.unlock();
      if (!callback_(it)) cancel_ = true;
      return !cancel_;
    }
    pending_[it.start] = it;
    lock.unlock();
    wake_.notify_one();
    return !cancel_;
  }

  void StartDone(double merit) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++startsDone_;
    if (std::isfinite(merit) && !(bestMerit_ <= merit)) bestMerit_ = merit;
  }
  void Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    startsDone_ = 0;
    bestMerit_ = NAN;
  }
  bool Cancelled() const { return cancel_; }

  // Runs task(i, innerThreads) for i in [0, count) on up to `threads`
  // threads; the calling thread passes the progress on meanwhile. A single
  // task, or a single thread, runs on the calling thread itself.
  void Run(int count, int threads, const std::function<void(int, int)>& task);

 private:
  void RunHere(int count, int innerThreads, const std::function<void(int, int)>& task);
  void RunOnWorkers(int count, int threads, const std::function<void(int, int)>& task);
  void PassOnUntilDone(const int& remaining);

  const std::function<bool(const FitIteration&)>& callback_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::map<int, FitIteration> pending_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> direct_{true};
  int startsDone_ = 0;
  double bestMerit_ = NAN;
};

}  // namespace fit_search
}  // namespace zx
