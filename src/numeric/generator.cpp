#include "numeric/generator.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

#include "numeric/single.h"

namespace card {
namespace {

// The stream is a 64-bit linear congruential sequence (Knuth's MMIX constants) whose states are
// scrambled by the SplitMix64 finaliser before use: the scrambling hides the weak low bits of
// the congruential step, and the step visits all 2^64 states before repeating.
constexpr std::uint64_t kStepMultiplier = 6364136223846793005ULL;
constexpr std::uint64_t kStepIncrement = 1442695040888963407ULL;

// Keeps Randomize(v) and Rnd(-v) apart, so the two ways of seeding never share a stream.
constexpr std::uint64_t kRandomizeTag = 0x52414e444f4d495aULL;
constexpr std::uint64_t kNegativeArgumentTag = 0x4e45474154495645ULL;
constexpr std::uint64_t kStartState = 0x0005000000000000ULL;

// The bits of a number as an integer of its size: std::bit_cast, which the web build's standard
// library lacks.
template <class To, class From>
To BitsOf(From from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

std::uint64_t Scramble(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

// Two SplitMix64 rounds, so seeds that differ in one bit start in unrelated states.
std::uint64_t SeedState(std::uint64_t bits, std::uint64_t tag) {
  constexpr std::uint64_t kGoldenGamma = 0x9e3779b97f4a7c15ULL;
  const std::uint64_t first = Scramble((bits ^ tag) + kGoldenGamma);
  return Scramble(first + 2 * kGoldenGamma);
}

// The nearest float, with everything beyond the float range going to the infinity of its sign
// (a plain cast of such a double is undefined).
float NearestSingle(double v) {
  if (std::isnan(v) || FitsSingle(v)) return static_cast<float>(v);
  return v < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
}

}  // namespace

Generator::Generator() : state_(SeedState(kStartState, kRandomizeTag)) {}

float Generator::Next() {
  state_ = state_ * kStepMultiplier + kStepIncrement;
  // The top 24 bits fill a float's significand exactly; the largest draw is 1 - 2^-24.
  return static_cast<float>(Scramble(state_) >> 40) * 0x1p-24f;
}

float Generator::Rnd() {
  float draw;
  if (replay_position_ < replay_.size()) {
    draw = replay_[replay_position_++];
    if (replay_position_ == replay_.size()) {
      replay_.clear();
      replay_position_ = 0;
    }
  } else {
    draw = Next();
  }
  last_ = draw;
  recorded_.push_back(draw);
  return draw;
}

float Generator::Rnd(double v) {
  if (v < 0) {
    state_ = SeedState(BitsOf<std::uint32_t>(NearestSingle(v)), kNegativeArgumentTag);
    last_ = Next();
    return last_;
  }
  if (v == 0) return last_;
  return Rnd();
}

void Generator::Randomize(double v) {
  state_ = SeedState(BitsOf<std::uint64_t>(v), kRandomizeTag);
  recorded_.clear();
}

void Generator::Replay(std::vector<float> draws) {
  for (std::size_t k = 0; k < draws.size(); ++k) {
    if (!(draws[k] >= 0.0f && draws[k] < 1.0f)) {
      throw std::invalid_argument("Generator::Replay: draw " + std::to_string(k) + " is " +
                                  std::to_string(draws[k]) +
                                  "; replayed draws must lie in [0, 1) like the generator's own.");
    }
  }
  replay_ = std::move(draws);
  replay_position_ = 0;
}

}  // namespace card
