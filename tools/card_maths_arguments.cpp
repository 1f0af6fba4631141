// Every argument the card hands to its elementary functions, with SLEEF's result, so that other
// implementations of them (the page's) can be measured where it matters: on the card's own calls.
//
//   card-maths-arguments < names > records       (one name a line, as the renderer's --names)
//   card-maths-arguments --nudge ULPS < names    (prints differing pixels per name)
//
// The card of each name is made as the renderer makes it. This file's scalar functions take the
// place of the core's (numeric/card_maths.cpp) when linked, the same way the page links its own,
// and the array functions are held to one lane, which calls them: every call passes here.
//
// Records: each distinct call of a card once, 40 bytes, native byte order:
//   uint32 function (0 sincos, 1 tan, 2 atan, 3 pow), uint32 line of the name (from 0),
//   double argument, double second argument (pow's exponent, else 0),
//   double result, double second result (sincos's cosine, else 0)
//
// --nudge ULPS: each card is made twice, as it is and with every result moved ULPS units in the
// last place, up or down at random; prints the pixels that differ. How far the results may stray
// before a pixel changes.
#include <sleef.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_set>

#include "numeric/card_maths.h"
#include "renderer/headless_card.h"
#include "seed/name_rules.h"

namespace {

enum Function : std::uint32_t { kSinCos, kTan, kAtan, kPow };

struct Record {
  std::uint32_t function;
  std::uint32_t line;
  double argument;
  double second_argument;
  double result;
  double second_result;
};
static_assert(sizeof(Record) == 40);

struct CallKey {
  std::uint32_t function;
  std::uint64_t argument;
  std::uint64_t second_argument;
  bool operator==(const CallKey&) const = default;
};
struct CallKeyHash {
  std::size_t operator()(const CallKey& k) const {
    return std::hash<std::uint64_t>()(k.argument * 0x9E3779B97F4A7C15ull ^ k.second_argument ^
                                      k.function);
  }
};

// What the functions do besides computing: record each call, or move each result.
struct Capture {
  std::uint32_t line = 0;
  std::unordered_set<CallKey, CallKeyHash> seen;  // this card's calls written so far
  bool recording = false;
  std::int64_t nudge_ulps = 0;
  std::mt19937_64 random{12345};
} capture;

void RecordCall(Function function, double a, double b, double r0, double r1) {
  if (!capture.recording) return;
  if (!capture.seen
           .insert({function, std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b)})
           .second) {
    return;
  }
  const Record record{function, capture.line, a, b, r0, r1};
  std::fwrite(&record, sizeof record, 1, stdout);
}

// x moved --nudge units in the last place, up or down at random (counted across zero as the
// doubles lie in order); infinities and NaNs stay.
double Nudged(double x) {
  if (capture.nudge_ulps == 0 || !std::isfinite(x)) return x;
  constexpr std::int64_t kSign = std::numeric_limits<std::int64_t>::min();
  const auto bits = std::bit_cast<std::int64_t>(x);
  std::int64_t ordered = bits < 0 ? -(bits & ~kSign) : bits;
  ordered += (capture.random() & 1) ? capture.nudge_ulps : -capture.nudge_ulps;
  const double nudged = std::bit_cast<double>(ordered < 0 ? (-ordered) | kSign : ordered);
  return std::isfinite(nudged) ? nudged : x;
}

}  // namespace

namespace card::maths {

SinCos SinCosOf(double x) {
  const Sleef_double_2 both = Sleef_cinz_sincosd1_u10purec(x);
  RecordCall(kSinCos, x, 0, both.x, both.y);
  return {Nudged(both.x), Nudged(both.y)};
}
double Tan(double x) {
  const double r = Sleef_cinz_tand1_u10purec(x);
  RecordCall(kTan, x, 0, r, 0);
  return Nudged(r);
}
double Atan(double x) {
  const double r = Sleef_cinz_atand1_u10purec(x);
  RecordCall(kAtan, x, 0, r, 0);
  return Nudged(r);
}
double Pow(double base, double exponent) {
  const double r = Sleef_cinz_powd1_u10purec(base, exponent);
  RecordCall(kPow, base, exponent, r, 0);
  return Nudged(r);
}

}  // namespace card::maths

namespace {

long DifferingPixels(const card::PixelBuffer& a, const card::PixelBuffer& b) {
  long count = 0;
  for (int y = 0; y < a.height(); ++y) {
    const std::uint32_t* p = a.scanline(y);
    const std::uint32_t* q = b.scanline(y);
    for (int x = 0; x < a.width(); ++x) count += (p[x] & 0xFFFFFF) != (q[x] & 0xFFFFFF);
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  // One lane: every value goes through the scalar functions above.
  setenv("CARD_MATHS_WIDTH", "purec", 1);
  std::int64_t nudge = 0;
  if (argc == 3 && std::string(argv[1]) == "--nudge") {
    nudge = std::stoll(argv[2]);
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: %s [--nudge ULPS] < names\n", argv[0]);
    return 2;
  }
  try {
    std::string name;
    for (std::uint32_t line = 0; std::getline(std::cin, name); ++line) {
      if (!name.empty() && name.back() == '\r') name.pop_back();
      if (const auto refusal = card::CheckName(name)) {
        std::fprintf(stderr, "line %u: %s\n", line + 1, card::DescribeRefusal(*refusal).c_str());
        return 1;
      }
      capture.line = line;
      capture.seen.clear();
      capture.recording = nudge == 0;
      const card::CardResult plain = card::MakeCard(card::CardRequest(name));
      if (nudge == 0) continue;
      capture.recording = false;
      capture.nudge_ulps = nudge;
      const card::CardResult nudged = card::MakeCard(card::CardRequest(name));
      capture.nudge_ulps = 0;
      std::printf("%u %ld\n", line, DifferingPixels(plain.picture, nudged.picture));
      std::fflush(stdout);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
