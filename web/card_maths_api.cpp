// The page's elementary functions, for measuring them against SLEEF's on the card's own calls
// (tests/web/card_maths_measure.mjs, under Node): the very code the page runs, not a copy built
// apart. Calls come in the records that tools/card_maths_arguments.cpp writes.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <vector>

#include "numeric/card_maths.h"

namespace {

struct Call {
  std::uint32_t function;  // 0 sincos, 1 tan, 2 atan, 3 pow
  std::uint32_t line;
  double argument;
  double second_argument;
  double result;
  double second_result;
};
static_assert(sizeof(Call) == 40);

std::vector<Call> calls;

}  // namespace

extern "C" {

// Room for `count` calls, which the caller writes before card_maths_evaluate.
EMSCRIPTEN_KEEPALIVE Call* card_maths_calls(int count) {
  calls.resize(static_cast<std::size_t>(count < 0 ? 0 : count));
  return calls.data();
}

// Replaces each call's results with this module's.
EMSCRIPTEN_KEEPALIVE void card_maths_evaluate() {
  namespace maths = card::maths;
  for (Call& c : calls) {
    c.second_result = 0;
    switch (c.function) {
      case 0: {
        const maths::SinCos both = maths::SinCosOf(c.argument);
        c.result = both.sin;
        c.second_result = both.cos;
        break;
      }
      case 1:
        c.result = maths::Tan(c.argument);
        break;
      case 2:
        c.result = maths::Atan(c.argument);
        break;
      default:
        c.result = maths::Pow(c.argument, c.second_argument);
        break;
    }
  }
}

}  // extern "C"
