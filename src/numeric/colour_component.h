#pragma once

#include <cmath>
#include <cstdint>

namespace card {

// A colour component as RGB takes it: converted to an Integer (nearest, halves to even), and a
// component above 255 counted as 255. Outside the Integer range the conversion overflows; RGB
// takes no negative component.
enum class ComponentStatus { kOk, kOverflow, kNegative };

inline ComponentStatus ToColourComponent(double value, std::int32_t& component) {
  // Exactly the values that round into the Integer range (halves to even: -32768.5 does, 32767.5
  // does not); NaN fails too. Inside it lrint rounds like nearbyint, in one instruction.
  if (!(value >= -32768.5 && value < 32767.5)) return ComponentStatus::kOverflow;
  const auto rounded = static_cast<std::int32_t>(std::lrint(value));
  if (rounded < 0) return ComponentStatus::kNegative;
  component = rounded > 255 ? 255 : rounded;
  return ComponentStatus::kOk;
}

}  // namespace card
