#include "renderer/batch.h"

#include <algorithm>

namespace card {

BatchPlan PlanBatch(std::size_t cards, int cores, int requested_jobs, int requested_threads) {
  cores = std::max(cores, 1);
  BatchPlan plan;
  // More cards side by side than cores only costs memory.
  plan.jobs = requested_jobs > 0 ? std::min(requested_jobs, cores) : cores;
  plan.jobs = static_cast<int>(std::max<std::size_t>(1, std::min<std::size_t>(plan.jobs, cards)));
  // Cores that no card would use go to scanning each card on several threads.
  plan.threads_per_card =
      requested_threads > 0 ? requested_threads : std::max(1, cores / plan.jobs);
  return plan;
}

std::string BatchFileName(const std::string& stem, int line, const std::string& extension,
                          int attempt) {
  std::string name = stem + "-";
  const std::string number = std::to_string(line);
  if (number.size() < kBatchLineDigits) name.append(kBatchLineDigits - number.size(), '0');
  name += number;
  if (attempt > 1) name.append("-").append(std::to_string(attempt));
  return name.append(".").append(extension);
}

}  // namespace card
