#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace card {

// One line of a names file.
struct BatchName {
  int line = 0;      // 1-based
  std::string name;  // as typed, without the line ending
};

// Splits a names file into lines: "\n" or "\r\n" ends a line, an empty line is the empty name,
// and a file's final line ending does not start another name. Returns nothing for text that is
// not a list of names (a NUL byte or malformed UTF-8: a binary file).
std::optional<std::vector<BatchName>> SplitNames(const std::string& text);

// How to spread a batch over the machine: whole cards side by side on `jobs` threads, each card
// scanned on `threads_per_card` threads. Cards side by side need no coordination, so they win as
// soon as there are enough of them to keep every core busy.
struct BatchPlan {
  int jobs = 1;
  int threads_per_card = 1;
};
BatchPlan PlanBatch(std::size_t cards, int cores, int requested_jobs);

// The file name of the card on `line`: the window's stem followed by the line number, so no card
// of a batch overwrites another ("T20261231235958-007.png").
std::string BatchFileName(const std::string& stem, int line, int last_line,
                          const std::string& extension);

// Runs `make(index)` for every index below `count` on `jobs` threads, taking the next index as
// each thread becomes free.
void RunInParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& make);

}  // namespace card
