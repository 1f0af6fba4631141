#include "renderer/batch_shard.h"

#include <charconv>

namespace card {
namespace {

// Plain decimal digits with no sign and no leading zero (but "0" itself), up to `most`.
std::optional<int> Number(std::string_view text, int most) {
  if (text.empty() || text.size() > 6 || (text.size() > 1 && text[0] == '0') ||
      text.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value > most) return std::nullopt;
  return value;
}

}  // namespace

std::optional<BatchShard> ParseShard(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const auto count = Number(text.substr(slash + 1), kMaxShards);
  const auto index = Number(text.substr(0, slash), kMaxShards);
  if (!count || !index || *count < 1 || *index >= *count) return std::nullopt;
  return BatchShard{*index, *count};
}

}  // namespace card
