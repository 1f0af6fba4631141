#include "scan/shape_value.h"

#include <cmath>

#include "numeric/card_maths.h"

namespace card {
namespace {

// The working arrays of one formula's own elementary functions.
struct Scratch {
  double* argument;
  double* sin;
  double* cos;
  double* exponent;
  double* power;
};

Scratch ScratchOf(ScanLanes& l) {
  return {l.scratch[0], l.scratch[1], l.scratch[2], l.scratch[3], l.scratch[4]};
}

std::size_t Count(const ScanLanes& l) {
  return static_cast<std::size_t>(l.count);
}

// Each formula's value, NaN or infinite where its statement raises.
void Compute(int variant, ScanLanes& l) {
  const int n = l.count;
  const double y = l.y;
  const double* r = l.r;
  const double* fi = l.fi;
  const double* sin_r = l.sin_r;
  double* out = l.shape;
  const Scratch w = ScratchOf(l);
  switch (variant) {
    default:  // a selector outside 1..15 runs the first formula
    case 1:
      for (int k = 0; k < n; ++k) out[k] = r[k] * r[k];
      return;
    case 2:
      for (int k = 0; k < n; ++k) out[k] = r[k] * fi[k];
      return;
    case 3:
      for (int k = 0; k < n; ++k) out[k] = (r[k] * r[k]) * sin_r[k];
      return;
    case 4:
      for (int k = 0; k < n; ++k) out[k] = l.x[k] * r[k];
      return;
    case 5: {
      const double cos_y = maths::Cos(y);
      for (int k = 0; k < n; ++k) out[k] = ((r[k] * sin_r[k]) * l.x[k]) * cos_y;
      return;
    }
    case 6:
      // r ^ (r + Sin(r)) divides; 0 ^ 0 is 1.
      for (int k = 0; k < n; ++k) {
        w.argument[k] = l.fit[k] * r[k];
        w.exponent[k] = r[k] + sin_r[k];
      }
      maths::SinCosArray(w.argument, w.sin, w.cos, Count(l));
      maths::PowArray(r, w.exponent, w.power, Count(l));
      for (int k = 0; k < n; ++k) {
        const double divisor = w.power[k];
        out[k] = std::isfinite(divisor) && divisor != 0.0
                     ? ((r[k] * r[k]) * (2 + w.sin[k])) / divisor
                     : kFailed;
      }
      return;
    case 7:
      maths::TanArray(fi, w.power, Count(l));
      for (int k = 0; k < n; ++k) out[k] = (r[k] * w.power[k]) * fi[k];
      return;
    case 8:
      maths::TanArray(r, w.power, Count(l));
      for (int k = 0; k < n; ++k) out[k] = ((r[k] * w.power[k]) * l.x[k]) * l.sin_x[k];
      return;
    case 9: {
      const double sin_y = maths::Sin(y);
      for (int k = 0; k < n; ++k) {
        out[k] = ((r[k] * (1 + sin_r[k])) + (l.x[k] * (1 + l.sin_x[k]))) + (y * (1 + sin_y));
      }
      return;
    }
    case 10: {
      const double sin_y = maths::Sin(y);
      for (int k = 0; k < n; ++k) {
        out[k] = (r[k] * (1 + sin_r[k])) + (((l.x[k] * (1 + l.sin_x[k])) * y) * (1 + sin_y));
      }
      return;
    }
    case 11:
      for (int k = 0; k < n; ++k) out[k] = fi[k] != 0.0 ? ((r[k] + l.x[k]) + y) / fi[k] : kFailed;
      return;
    case 12:
      for (int k = 0; k < n; ++k) w.argument[k] = l.fit[k] + r[k];
      maths::SinCosArray(w.argument, w.sin, w.cos, Count(l));
      for (int k = 0; k < n; ++k) out[k] = ((r[k] * (1 + sin_r[k])) * (1 + w.cos[k])) * fi[k];
      return;
    case 13:
      for (int k = 0; k < n; ++k) out[k] = fi[k] != 0.0 ? r[k] / fi[k] : kFailed;
      return;
    case 14:
      for (int k = 0; k < n; ++k) w.exponent[k] = 1 + l.sin_x[k];
      maths::PowArray(r, w.exponent, w.power, Count(l));
      for (int k = 0; k < n; ++k) {
        out[k] = fi[k] != 0.0 ? (std::sqrt(r[k]) / fi[k]) * w.power[k] : kFailed;
      }
      return;
    case 15:
      maths::SinCosArray(fi, w.sin, w.cos, Count(l));
      for (int k = 0; k < n; ++k) {
        // The middle column divides by zero; its base is never used.
        w.argument[k] = l.x[k] != 0.0f ? r[k] / std::fabs(static_cast<double>(l.x[k])) : 0.0;
        w.exponent[k] = (1 + sin_r[k]) + w.cos[k];
      }
      maths::PowArray(w.argument, w.exponent, w.power, Count(l));
      for (int k = 0; k < n; ++k) out[k] = l.x[k] != 0.0f ? w.power[k] : kFailed;
      return;
  }
}

}  // namespace

void ShapeValues(int variant, ScanLanes& lanes) {
  Compute(variant, lanes);
}

}  // namespace card
