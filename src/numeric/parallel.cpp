#include "numeric/parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>

namespace zx {

int ResolveThreadCount(int requested) {
  if (requested > 0) return requested;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

WorkerThreads::WorkerThreads(int count, const std::function<void()>& body) {
  for (int k = 0; k < count; ++k) {
    try {
      threads_.emplace_back(body);
    } catch (const std::system_error&) {
      break;  // the threads already running (and the caller) do the work
    }
  }
}

WorkerThreads::~WorkerThreads() { Join(); }

void WorkerThreads::Join() {
  for (std::thread& t : threads_)
    if (t.joinable()) t.join();
  threads_.clear();
}

void ParallelFor(std::size_t count, int threads,
                 const std::function<void(int worker, std::size_t i)>& task) {
  if (count == 0) return;
  // Helpers may start late on a busy machine; the caller then does the
  // work itself and waits only for tasks a helper has actually taken, not
  // for the helper to be scheduled at all. So helpers are detached and
  // share this state with the caller.
  struct Shared {
    std::function<void(int, std::size_t)> task;
    std::size_t count = 0;
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable allDone;
    std::size_t done = 0;  // under mutex
  };
  auto shared = std::make_shared<Shared>();
  shared->task = task;
  shared->count = count;
  const auto drain = [](Shared& st, int worker) {
    std::size_t finished = 0;
    for (std::size_t i = st.next.fetch_add(1); i < st.count; i = st.next.fetch_add(1)) {
      st.task(worker, i);
      ++finished;
    }
    if (finished == 0) return;
    std::lock_guard<std::mutex> lock(st.mutex);
    st.done += finished;
    if (st.done == st.count) st.allDone.notify_all();
  };
  const std::size_t wanted =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), count);
  for (std::size_t w = 1; w < wanted; ++w) {
    try {
      std::thread([shared, drain, w] { drain(*shared, static_cast<int>(w)); }).detach();
    } catch (const std::system_error&) {
      break;  // the caller does the rest
    }
  }
  drain(*shared, 0);
  std::unique_lock<std::mutex> lock(shared->mutex);
  shared->allDone.wait(lock, [&] { return shared->done == shared->count; });
  // Once every task is done, late helpers find none and touch only `shared`.
  shared->task = nullptr;
}

}  // namespace zx
