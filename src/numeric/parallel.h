// Spreading work over the processor's cores: every thread the program
// starts for a calculation or a fit starts here.
#pragma once

#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace zx {

// The number of threads a pass or a fit uses: `requested`, or every core for 0 or
// less.
int ResolveThreadCount(int requested);

// Threads running one body each until they are joined (at the latest on
// destruction). Threads the system refuses are simply not started.
class WorkerThreads {
 public:
  WorkerThreads(int count, const std::function<void()>& body);
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;
  void Join();
  // The threads started and not yet joined (fewer than asked when the
  // system refused some).
  int Started() const { return static_cast<int>(threads_.size()); }

 private:
  std::vector<std::thread> threads_;
};

// Calls task(worker, i) for every i in [0, count) on up to `threads`
// threads, the calling one among them (it never waits for a helper that
// has not started yet); worker numbers a thread (0 is the
// caller) so that tasks can keep scratch state per thread. Returns when
// every task has run.
void ParallelFor(std::size_t count, int threads,
                 const std::function<void(int worker, std::size_t i)>& task);

}  // namespace zx
