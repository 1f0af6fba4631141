#include "scan/polar_position.h"

#include <cmath>

#include "numeric/card_maths.h"

namespace card {

void PolarPositions(const ScanSettings& s, PixelCarry& carry, ScanLanes& lanes) {
  const int n = lanes.count;
  // The angle is a running sum, added up one step per position exactly as the scan adds it.
  for (int k = 0; k < n; ++k) {
    carry.fi1 = carry.fi1 + s.korakfi1;
    lanes.fit[k] = s.fi0 + carry.fi1;
  }
  const auto count = static_cast<std::size_t>(n);
  maths::SinCosArray(lanes.fit, lanes.sin_fit, lanes.cos_fit, count);
  double* slope = lanes.scratch[0];
  const double y = lanes.y;
  for (int k = 0; k < n; ++k) {
    const double xc = static_cast<double>(s.r0) * lanes.cos_fit[k];
    const double yc = static_cast<double>(s.r0) * lanes.sin_fit[k];
    const double xo = xc - static_cast<double>(lanes.x[k]);
    const double yo = yc - y;
    lanes.r[k] = std::sqrt((xo * xo) + (yo * yo));
    // Atn(yo / xo) raises for a position straight above or below the centre.
    const double quotient = xo != 0.0 ? yo / xo : kFailed;
    slope[k] = std::isfinite(quotient) ? quotient : kFailed;
  }
  maths::AtanArray(slope, lanes.measured, count);  // a failed slope stays NaN
  for (int k = 0; k < n; ++k) {
    KeepIfFinite(carry.fi, lanes.measured[k]);
    lanes.fi[k] = carry.fi;
  }
  maths::SinCosArray(lanes.r, lanes.sin_r, lanes.cos_r, count);
}

}  // namespace card
