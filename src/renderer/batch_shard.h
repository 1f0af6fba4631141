#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace card {

// One of N parts of a batch, for N machines or processes that share a names list: shard K of N
// makes the lines whose number less one leaves K when divided by N, so shard 0 makes lines 1,
// N + 1, 2N + 1, ... and the N shards together make every line once.
struct BatchShard {
  int index = 0;
  int count = 1;

  bool whole() const { return count == 1; }
  bool Makes(int line) const { return (line - 1) % count == index; }
  // How many of the first `lines` lines this shard makes.
  std::size_t LinesOf(std::size_t lines) const {
    const auto k = static_cast<std::size_t>(index);
    return lines > k ? (lines - k - 1) / static_cast<std::size_t>(count) + 1 : 0;
  }
};

inline constexpr int kMaxShards = 100000;

// "K/N" in plain decimal digits, N from 1 to kMaxShards and K from 0 to N - 1; nothing for
// anything else.
std::optional<BatchShard> ParseShard(std::string_view text);

}  // namespace card
