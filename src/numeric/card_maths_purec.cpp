// One lane at a time, in portable C: the width of every processor.
#include <sleef.h>

#include "numeric/card_maths_kernels.h"

namespace card::maths {
namespace {

void SinCosPurec(const double* x, double* sin, double* cos, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    const Sleef_double_2 both = Sleef_cinz_sincosd1_u10purec(x[k]);
    sin[k] = both.x;
    cos[k] = both.y;
  }
}

void TanPurec(const double* x, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Sleef_cinz_tand1_u10purec(x[k]);
}

void AtanPurec(const double* x, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Sleef_cinz_atand1_u10purec(x[k]);
}

void PowPurec(const double* base, const double* exponent, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Sleef_cinz_powd1_u10purec(base[k], exponent[k]);
}

}  // namespace

const Kernels kPurecKernels = {"purec", SinCosPurec, TanPurec, AtanPurec, PowPurec};

}  // namespace card::maths
