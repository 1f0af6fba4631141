#include "renderer/batch_lines.h"

#include <algorithm>

#include "seed/name_rules.h"

namespace card {
namespace {

// FNV-1a: the same on every machine and library, which std::hash does not promise, so that
// shards on different machines number alike.
std::uint64_t StemHash(std::string_view stem) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : stem) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace

std::string PersonStem(std::string_view name) {
  std::string stem;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t start = name.find_first_not_of(' ', at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(name.find(' ', start), name.size());
    if (!stem.empty()) stem += '-';
    stem.append(name.substr(start, end - start));
    at = end;
  }
  return stem.empty() ? "card" : stem;
}

std::string PersonFileName(const std::string& stem, int number, const std::string& extension) {
  std::string name = stem;
  if (number > 1) name.append("-").append(std::to_string(number));
  return name.append(".").append(extension);
}

std::optional<PlannedLine> BatchLines::Next() {
  while (auto line = lines_.Next()) {
    PlannedLine planned{std::move(*line), {}, 0, 1};
    planned.refusal = planned.line.unreadable;
    if (planned.refusal.empty()) {
      if (const auto verdict = CheckName(planned.line.name)) {
        planned.refusal = DescribeRefusal(*verdict);
      } else if (count_names_) {
        planned.number = ++stems_[StemHash(PersonStem(planned.line.name))];
      }
    }
    if (!shard_.Makes(planned.line.line)) continue;
    planned.row = rows_++;
    return planned;
  }
  return std::nullopt;
}

}  // namespace card
