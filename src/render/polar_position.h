#pragma once

#include <cmath>
#include <limits>

#include "numeric/card_maths.h"
#include "render/scan_settings.h"

namespace card {

// Marks a computed value whose statement failed, so the target keeps its previous value.
inline constexpr double kFailed = std::numeric_limits<double>::quiet_NaN();

// Measures the position from the centre at angle `p.fit`: sets the distance `p.r` and returns the
// slope angle, or NaN where its statement fails.
inline double MeasureFromCentre(const ScanSettings& s, PixelInputs& p) {
  const double xc = static_cast<double>(s.r0) * maths::Cos(p.fit);
  const double yc = static_cast<double>(s.r0) * maths::Sin(p.fit);
  const double xo = xc - static_cast<double>(p.x);
  const double yo = yc - static_cast<double>(p.y);
  p.r = std::sqrt((xo * xo) + (yo * yo));
  // Atn(yo / xo) raises for a position straight above or below the centre.
  if (xo != 0.0) {
    const double slope = yo / xo;
    if (std::isfinite(slope)) return maths::Atan(slope);
  }
  return kFailed;
}

// Advances the moving centre by one step along its circle and measures the position from it:
// the distance `r` and the slope angle `fi`. Where the slope fails, fi keeps the previous
// position's value while r is already new.
inline void PolarPosition(const ScanSettings& s, PixelCarry& carry, PixelInputs& p) {
  carry.fi1 = carry.fi1 + s.korakfi1;
  p.fit = s.fi0 + carry.fi1;
  const double fi = MeasureFromCentre(s, p);
  if (!std::isnan(fi)) carry.fi = fi;
}

}  // namespace card
