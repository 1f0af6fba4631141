#pragma once

#include <cstdint>
#include <optional>

#include "numeric/integer_rounding.h"

namespace card {

// A colour component as RGB takes it: converted to an Integer (nearest, halves to even), and a
// component above 255 counted as 255. Outside the Integer range the conversion overflows; RGB
// takes no negative component.
enum class ComponentStatus { kOk, kOverflow, kNegative };

inline ComponentStatus ToColourComponent(double value, std::int32_t& component) {
  const std::optional<std::int16_t> rounded = RoundToInteger(value);
  if (!rounded) return ComponentStatus::kOverflow;
  if (*rounded < 0) return ComponentStatus::kNegative;
  component = *rounded > 255 ? 255 : *rounded;
  return ComponentStatus::kOk;
}

}  // namespace card
