#include "numeric/card_maths.h"

#include <sleef.h>

#include "numeric/card_maths_kernels.h"

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

void SinCosArray(const double* x, double* sin, double* cos, std::size_t count) {
  ActiveKernels().sincos(x, sin, cos, count);
}
void TanArray(const double* x, double* out, std::size_t count) {
  ActiveKernels().tan(x, out, count);
}
void AtanArray(const double* x, double* out, std::size_t count) {
  ActiveKernels().atan(x, out, count);
}
void PowArray(const double* base, const double* exponent, double* out, std::size_t count) {
  ActiveKernels().pow(base, exponent, out, count);
}
const char* VectorWidthName() {
  return ActiveKernels().name;
}

}  // namespace card::maths
