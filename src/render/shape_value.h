#pragma once

#include <cmath>

#include "numeric/card_maths.h"
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
      value = (r * r) * maths::Sin(r);
      break;
    case 4:
      value = x * r;
      break;
    case 5:
      value = ((r * maths::Sin(r)) * x) * maths::Cos(y);
      break;
    case 6: {
      const double divisor = maths::Pow(r, r + maths::Sin(r));  // 0 ^ 0 is 1
      if (!std::isfinite(divisor) || divisor == 0.0) return;
      value = ((r * r) * (2 + maths::Sin(fit * r))) / divisor;
      break;
    }
    case 7:
      value = (r * maths::Tan(fi)) * fi;
      break;
    case 8:
      value = ((r * maths::Tan(r)) * x) * maths::Sin(x);
      break;
    case 9:
      value = ((r * (1 + maths::Sin(r))) + (x * (1 + maths::Sin(x)))) + (y * (1 + maths::Sin(y)));
      break;
    case 10:
      value = (r * (1 + maths::Sin(r))) + (((x * (1 + maths::Sin(x))) * y) * (1 + maths::Sin(y)));
      break;
    case 11:
      if (fi == 0.0) return;
      value = ((r + x) + y) / fi;
      break;
    case 12:
      value = ((r * (1 + maths::Sin(r))) * (1 + maths::Cos(fit + r))) * fi;
      break;
    case 13:
      if (fi == 0.0) return;
      value = r / fi;
      break;
    case 14:
      if (fi == 0.0) return;
      value = (std::sqrt(r) / fi) * maths::Pow(r, 1 + maths::Sin(x));
      break;
    case 15:
      if (x == 0.0) return;
      value = maths::Pow(r / std::fabs(x), (1 + maths::Sin(r)) + maths::Cos(fi));
      break;
  }
  if (std::isfinite(value)) ba = value;
}

}  // namespace card
