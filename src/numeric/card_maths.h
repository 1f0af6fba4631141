#pragma once

#include <cstddef>

namespace card::maths {

// The elementary functions of every card value. A card must come out bit-identical on every
// machine, so they come from a library whose results are the same by design on every processor
// and at every vector width (SLEEF's deterministic functions, 1-ULP accurate), never from the C
// library, whose results depend on the processor it runs on. Square roots need nothing of this:
// IEEE 754 rounds them exactly.
//
// Sine and cosine of one argument always come from one sincos evaluation, so Sin(x) is the same
// number whether x was computed alone or in a batch with its cosine.

struct SinCos {
  double sin;
  double cos;
};

SinCos SinCosOf(double x);
inline double Sin(double x) {
  return SinCosOf(x).sin;
}
inline double Cos(double x) {
  return SinCosOf(x).cos;
}
double Tan(double x);
double Atan(double x);
double Pow(double base, double exponent);

// The same functions over arrays, `count` values at a time, computed as many lanes at a time as
// the processor offers; every result equals the scalar function's. Output arrays may not overlap
// the inputs.
void SinCosArray(const double* x, double* sin, double* cos, std::size_t count);
void TanArray(const double* x, double* out, std::size_t count);
void AtanArray(const double* x, double* out, std::size_t count);
void PowArray(const double* base, const double* exponent, double* out, std::size_t count);

// How many lanes the array functions use: "purec" (one), "sse2" (two), "avx" (four),
// "avx512" (eight). Chosen at
// start from the processor, or forced with the environment variable CARD_MATHS_WIDTH (tests).
const char* VectorWidthName();

}  // namespace card::maths
