#include "calc/parallel.h"

#include <algorithm>
#include <atomic>
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
  const std::size_t wanted =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), count);
  std::atomic<std::size_t> next{0};
  std::atomic<int> workerNumbers{1};
  const auto drain = [&](int worker) {
    for (std::size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) task(worker, i);
  };
  WorkerThreads helpers(static_cast<int>(wanted) - 1, [&] { drain(workerNumbers.fetch_add(1)); });
  drain(0);
  helpers.Join();
}

}  // namespace zx
