#include "services/worker_threads.h"

#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace card {
namespace {

std::atomic<ThreadShortfallHandler> shortfall_handler{nullptr};
std::atomic<bool> shortfall_reported{false};

// Joins every thread it holds when it goes, also when the caller's own job throws: a joinable
// std::thread destroyed would end the program.
struct Workers {
  std::vector<std::thread> threads;
  ~Workers() {
    for (auto& thread : threads) thread.join();
  }
};

}  // namespace

void SetThreadShortfallHandler(ThreadShortfallHandler handler) {
  shortfall_handler = handler;
}

int RunOnThreads(int count, const std::function<void(int)>& job) {
  Workers workers_guard;
  std::vector<std::thread>& workers = workers_guard.threads;
  int next = 1;
  for (; next < count; ++next) {
    try {
      workers.emplace_back(job, next);
    } catch (const std::system_error&) {
      break;  // no more threads for now: the caller does the rest
    }
  }
  const int started = next;
  if (started < count && !shortfall_reported.exchange(true)) {
    if (const ThreadShortfallHandler handler = shortfall_handler) handler(count, started);
  }
  if (count > 0) job(0);
  for (; next < count; ++next) job(next);
  return started;
}

}  // namespace card
