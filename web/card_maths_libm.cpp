// The page's scalar elementary functions, in place of the core's SLEEF ones. SLEEF comes only as a
// native library, so the page uses the C library compiled into the WebAssembly module: the same
// code, and so the same results, in every browser. They may differ from SLEEF's in the last bit;
// no card compared so far differs by a pixel. The array functions run them one lane at a time.
#include <math.h>

#include <cmath>

#include "numeric/card_maths.h"

namespace card::maths {
SinCos SinCosOf(double x) {
  // One argument reduction for both; the same results as sin() and cos().
  SinCos both;
  sincos(x, &both.sin, &both.cos);
  return both;
}
double Tan(double x) {
  return std::tan(x);
}
double Atan(double x) {
  return std::atan(x);
}
double Pow(double base, double exponent) {
  return std::pow(base, exponent);
}

}  // namespace card::maths
