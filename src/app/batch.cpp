#include "app/batch.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "numeric/text.h"

namespace card {

std::optional<std::vector<BatchName>> SplitNames(const std::string& text) {
  if (text.find('\0') != std::string::npos) return std::nullopt;
  for (std::size_t pos = 0; pos < text.size();) {
    // Malformed input decodes to U+FFFD too; only its own three bytes are the character itself.
    const std::size_t start = pos;
    if (DecodeUtf8(text, pos) == U'\uFFFD' && text.compare(start, 3, "\xEF\xBF\xBD") != 0) {
      return std::nullopt;
    }
  }
  std::vector<BatchName> names;
  std::size_t begin = 0;
  int line = 1;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    const bool last = end == std::string::npos;
    if (last) end = text.size();
    std::string name = text.substr(begin, end - begin);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    names.push_back({line++, std::move(name)});
    begin = end + 1;
  }
  return names;
}

BatchPlan PlanBatch(std::size_t cards, int cores, int requested_jobs) {
  cores = std::max(cores, 1);
  BatchPlan plan;
  plan.jobs = requested_jobs > 0 ? requested_jobs : cores;
  plan.jobs = static_cast<int>(std::max<std::size_t>(1, std::min<std::size_t>(plan.jobs, cards)));
  // Cores that no card would use go to scanning each card on several threads.
  plan.threads_per_card = std::max(1, cores / plan.jobs);
  return plan;
}

std::string BatchFileName(const std::string& stem, int line, int last_line,
                          const std::string& extension) {
  const std::size_t width = std::to_string(std::max(last_line, 1)).size();
  std::string number = std::to_string(line);
  if (number.size() < width) number.insert(0, width - number.size(), '0');
  return stem + "-" + number + "." + extension;
}

void RunInParallel(std::size_t count, int jobs, const std::function<void(std::size_t)>& make) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t index = next++; index < count; index = next++) make(index);
  };
  std::vector<std::thread> workers;
  for (int k = 1; k < jobs; ++k) workers.emplace_back(work);
  work();
  for (auto& worker : workers) worker.join();
}

}  // namespace card
