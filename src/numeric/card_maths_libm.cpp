// The web build's elementary functions. SLEEF comes only as a native library, so the page uses the
// C library compiled into the WebAssembly module: the same code, and so the same results, in every
// browser, though not always the last bit of SLEEF's (a few pixels of some cards differ from the
// native program's). One lane: the page scans a row at a time, where width gains little.
#include <cmath>

#include "numeric/card_maths.h"

namespace card::maths {

SinCos SinCosOf(double x) {
  return {std::sin(x), std::cos(x)};
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
