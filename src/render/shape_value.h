#pragma once

#include <cmath>

#include "render/scan_settings.h"

namespace card {

// The shape value `ba` of a position by one of fifteen formulas. A formula that raises (a zero
// divisor, a result that is not finite) leaves `ba` as it was; no other formula runs instead.
inline void ShapeValue(int variant, const PixelInputs& p, double fi, double& ba) {
  const double r = p.r;
  const double x = p.x;
  const double y = p.y;
  const double fit = p.fit;
  double value;
  switch (variant) {
    default:  // a selector outside 1..15 runs the first formula
    case 1:
      value = r * r;
      break;
    case 2:
      value = r * fi;
      break;
    case 3:
      value = (r * r) * std::sin(r);
      break;
    case 4:
      value = x * r;
      break;
    case 5:
      value = ((r * std::sin(r)) * x) * std::cos(y);
      break;
    case 6: {
      const double divisor = std::pow(r, r + std::sin(r));  // 0 ^ 0 is 1
      if (!std::isfinite(divisor) || divisor == 0.0) return;
      value = ((r * r) * (2 + std::sin(fit * r))) / divisor;
      break;
    }
    case 7:
      value = (r * std::tan(fi)) * fi;
      break;
    case 8:
      value = ((r * std::tan(r)) * x) * std::sin(x);
      break;
    case 9:
      value = ((r * (1 + std::sin(r))) + (x * (1 + std::sin(x)))) + (y * (1 + std::sin(y)));
      break;
    case 10:
      value = (r * (1 + std::sin(r))) + (((x * (1 + std::sin(x))) * y) * (1 + std::sin(y)));
      break;
    case 11:
      if (fi == 0.0) return;
      value = ((r + x) + y) / fi;
      break;
    case 12:
      value = ((r * (1 + std::sin(r))) * (1 + std::cos(fit + r))) * fi;
      break;
    case 13:
      if (fi == 0.0) return;
      value = r / fi;
      break;
    case 14:
      if (fi == 0.0) return;
      value = (std::sqrt(r) / fi) * std::pow(r, 1 + std::sin(x));
      break;
    case 15:
      if (x == 0.0) return;
      value = std::pow(r / std::fabs(x), (1 + std::sin(r)) + std::cos(fi));
      break;
  }
  if (std::isfinite(value)) ba = value;
}

}  // namespace card
