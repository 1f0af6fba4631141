// The card's scalar elementary functions: SLEEF's deterministic one-lane functions.
#include "numeric/card_maths.h"

#include <sleef.h>

namespace card::maths {

SinCos SinCosOf(double x) {
  const Sleef_double_2 both = Sleef_cinz_sincosd1_u10purec(x);
  return {both.x, both.y};
}

double Tan(double x) {
  return Sleef_cinz_tand1_u10purec(x);
}
double Atan(double x) {
  return Sleef_cinz_atand1_u10purec(x);
}
double Pow(double base, double exponent) {
  return Sleef_cinz_powd1_u10purec(base, exponent);
}

}  // namespace card::maths
