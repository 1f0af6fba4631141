#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace card {

// The program's one pseudo-random generator. Every step is written here in plain integer
// arithmetic (no standard-library distribution), so a seed gives the same stream on every
// compiler and machine. Draws are Singles in [0, 1), never 1.
//
// Contract the cards rely on: after Rnd(-1) and then Randomize(seed), the stream depends on the
// seed alone.
class Generator {
 public:
  Generator();

  float Rnd();  // the next draw
  // v < 0: reseed from (float)v alone and return the first draw of that stream (neither recorded
  // nor taken from a replay); v == 0: repeat the last draw; v > 0: the next draw, as Rnd().
  float Rnd(double v);
  void Randomize(double v);  // reseed from the bits of v (replaces the whole state)

  // Replays the given draws in place of the stream for the next Rnd() calls, so a card can be
  // reproduced from its recipe or forced into a particular formula; afterwards the stream goes on
  // where it was. Reseeding keeps the replay. Throws std::invalid_argument for a draw outside
  // [0, 1).
  void Replay(std::vector<float> draws);
  // Every draw handed out by Rnd() and Rnd(v > 0) since the last Randomize, replayed ones
  // included, in order.
  const std::vector<float>& draws_since_randomize() const { return recorded_; }

 private:
  float Next();

  std::uint64_t state_;
  float last_ = 0.0f;
  std::vector<float> replay_;
  std::size_t replay_position_ = 0;
  std::vector<float> recorded_;
};

}  // namespace card
