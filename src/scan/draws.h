#pragma once

#include <cmath>

#include "numeric/generator.h"
#include "numeric/value.h"

namespace card {

// `Int(Rnd * scale + offset)`: the draw times a constant plus a constant is evaluated in double
// precision, rounded down and only then kept as a Single. Rounding the product to a Single first
// would move some draws to the neighbouring whole number.
inline Value WholeDraw(Generator& generator, double scale, double offset) {
  return StoreAsSingle(std::floor(static_cast<double>(generator.Rnd()) * scale + offset));
}

// `Rnd * scale + offset` kept as a Single with its fraction.
inline Value FractionalDraw(Generator& generator, double scale, double offset) {
  return StoreAsSingle(static_cast<double>(generator.Rnd()) * scale + offset);
}

}  // namespace card
