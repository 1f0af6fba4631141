#include "services/worker_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace card {
namespace {

TEST(RunOnThreads, RunsEveryJobOnceAndSideBySide) {
  for (const int count : {0, 1, 2, 7}) {
    // Every job waits until all have started: run one after another they would time out.
    std::vector<std::atomic<int>> ran(static_cast<std::size_t>(count));
    std::atomic<int> started{0};
    std::atomic<int> met{0};
    const int threads = RunOnThreads(count, [&](int job) {
      ++ran[static_cast<std::size_t>(job)];
      ++started;
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (started.load() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
      }
      if (started.load() == count) ++met;
    });
    if (count > 0) {
      EXPECT_EQ(threads, count);
    }
    EXPECT_EQ(met.load(), count) << count << " jobs did not all run at the same time";
    for (int job = 0; job < count; ++job) {
      EXPECT_EQ(ran[static_cast<std::size_t>(job)].load(), 1) << "job " << job << " of " << count;
    }
  }
}

}  // namespace
}  // namespace card
