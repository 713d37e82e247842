#include "fit/fit_relay.h"

#include <algorithm>

#include "numeric/parallel.h"

namespace zx {
namespace fit_search {

void Relay::Run(int count, int threads, const std::function<void(int, int)>& task) {
  if (count <= 0) return;
  if (count == 1 || threads <= 1) {
    RunHere(count, count == 1 ? threads : 1, task);
    return;
  }
  RunOnWorkers(count, std::min(threads, count), task);
}

void Relay::RunHere(int count, int innerThreads, const std::function<void(int, int)>& task) {
  for (int i = 0; i < count && !cancel_; ++i) task(i, innerThreads);
}

void Relay::RunOnWorkers(int count, int threads, const std::function<void(int, int)>& task) {
  std::atomic<int> next{0};
  int remaining = count;  // under mutex_
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
  WorkerThreads workers(threads, body);
  if (workers.Started() == 0) {
    direct_ = true;
    RunHere(count, 1, task);
    return;
  }
  PassOnUntilDone(remaining);
  workers.Join();
  direct_ = true;
}

// Passes the workers' latest iterations to the callback until no task
// remains.
void Relay::PassOnUntilDone(const int& remaining) {
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
}

}  // namespace fit_search
}  // namespace zx
