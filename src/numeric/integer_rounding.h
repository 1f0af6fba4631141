#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace card {

// A number converted to an Integer: the nearest whole number, halves to even. Empty for exactly the
// values that do not round into the Integer range (-32768.5 does, 32767.5 does not) and for NaN.
// Inside the range lrint rounds like nearbyint (the program never changes the rounding mode), in
// one instruction.
inline std::optional<std::int16_t> RoundToInteger(double value) {
  if (!(value >= -32768.5 && value < 32767.5)) return std::nullopt;
  return static_cast<std::int16_t>(std::lrint(value));
}

}  // namespace card
