// Runs the local fits of the search on worker threads and passes their
// progress to the caller's callback on the calling thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

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
  void Run(int count, int threads, const std::function<void(int, int)>& task) {
    if (count <= 0) return;
    if (count == 1 || threads <= 1) {
      for (int i = 0; i < count && !cancel_; ++i) task(i, count == 1 ? threads : 1);
      return;
    }
    std::atomic<int> next{0};
    int remaining = count;
    auto body = [&] {
      for (int i = next++; i < count; i = next++) {
        if (!cancel_) task(i, 1);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          --remaining;
        }
        wake_.notify_one();
      }
    };
    // Set before any worker can post: from here on only this thread calls back.
    direct_ = false;
    std::vector<std::thread> workers;
    for (int t = 0; t < std::min(threads, count); ++t) {
      try {
        workers.emplace_back(body);
      } catch (const std::system_error&) {
        break;
      }
    }
    if (workers.empty()) {
      direct_ = true;
      for (int i = 0; i < count && !cancel_; ++i) task(i, 1);
      return;
    }
    while (true) {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return !pending_.empty() || remaining == 0; });
      std::map<int, FitIteration> batch;
      batch.swap(pending_);
      const bool done = remaining == 0;
      lock.unlock();
      for (auto& [start, it] : batch)
        if (callback_ && !cancel_ && !callback_(it)) cancel_ = true;
      if (done) break;
    }
    for (std::thread& w : workers) w.join();
    direct_ = true;
  }

 private:
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
