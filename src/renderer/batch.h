#pragma once

#include <cstddef>
#include <string>

namespace card {

// How to spread a batch over the machine: whole cards side by side on `jobs` threads, each card
// scanned on `threads_per_card` threads. Cards side by side need no coordination, so they win as
// soon as there are enough of them to keep every core busy. `cards` is an upper bound (the lines
// of the names file) and may be unknown (SIZE_MAX); a requested count of 0 leaves it to the plan.
struct BatchPlan {
  int jobs = 1;
  int threads_per_card = 1;
};
BatchPlan PlanBatch(std::size_t cards, int cores, int requested_jobs, int requested_threads = 0);

// The line number in a batch's file names is padded to this many digits, so that a listing sorted
// by name follows the names file up to line 999999 without knowing its length in advance.
inline constexpr std::size_t kBatchLineDigits = 6;

// The file name of the card on `line`: the window's stem followed by the line number, so no card
// of a batch overwrites another ("T20261231235958-000007.png"). When that name is taken (another
// batch in the same folder and second), the `attempt`-th try adds "-2", "-3", ...
std::string BatchFileName(const std::string& stem, int line, const std::string& extension,
                          int attempt = 1);

}  // namespace card
