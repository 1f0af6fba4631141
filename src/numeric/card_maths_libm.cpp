// The web build's elementary functions. SLEEF comes only as a native library, so the page uses the
// C library compiled into the WebAssembly module: the same code, and so the same results, in every
// browser. They may differ from SLEEF's in the last bit; no card compared so far differs by a
// pixel. One lane: the page scans a row at a time.
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

void SinCosArray(const double* x, double* sin, double* cos, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    const SinCos both = SinCosOf(x[k]);
    sin[k] = both.sin;
    cos[k] = both.cos;
  }
}
void TanArray(const double* x, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Tan(x[k]);
}
void AtanArray(const double* x, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Atan(x[k]);
}
void PowArray(const double* base, const double* exponent, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Pow(base[k], exponent[k]);
}
const char* VectorWidthName() {
  return "libm";
}

}  // namespace card::maths
