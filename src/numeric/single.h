#pragma once

#include <cmath>

namespace card {

// Converting a double to float rounds to nearest; magnitudes from FLT_MAX plus half a unit in the
// last place upwards round to infinity, so this is the first value that no Single can hold.
inline constexpr double kSingleOverflow = 0x1.ffffffp+127;

// Whether a double rounds to a finite Single; false for NaN as well.
inline bool FitsSingle(double v) {
  return std::fabs(v) < kSingleOverflow;
}

}  // namespace card
