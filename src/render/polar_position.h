#pragma once

#include <cmath>

#include "render/scan_settings.h"

namespace card {

// Advances the moving centre by one step along its circle and measures the position from it:
// the distance `r` and the slope angle `fi`.
inline void PolarPosition(const ScanSettings& s, PixelCarry& carry, PixelInputs& p) {
  carry.fi1 = carry.fi1 + s.korakfi1;
  p.fit = s.fi0 + carry.fi1;
  const double xc = static_cast<double>(s.r0) * std::cos(p.fit);
  const double yc = static_cast<double>(s.r0) * std::sin(p.fit);
  const double xo = xc - static_cast<double>(p.x);
  const double yo = yc - static_cast<double>(p.y);
  p.r = std::sqrt((xo * xo) + (yo * yo));
  // Atn(yo / xo) raises for a position straight above or below the centre; fi then keeps the
  // previous position's value while r is already new.
  if (xo != 0.0) {
    const double slope = yo / xo;
    if (std::isfinite(slope)) carry.fi = std::atan(slope);
  }
}

}  // namespace card
