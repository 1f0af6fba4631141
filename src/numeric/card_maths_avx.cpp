// Four lanes with AVX. This file alone is compiled with -mavx (and without FMA); everything in it
// has internal linkage, so no AVX instruction can end up in code that runs before the processor
// has been asked whether it has AVX.
#include <immintrin.h>
#include <sleef.h>

#include <cstddef>

#include "numeric/card_maths_kernels.h"

namespace card::maths {
namespace {

struct Width {
  using Vector = __m256d;
  static constexpr std::size_t kLanes = 4;
  static Vector Load(const double* p) { return _mm256_loadu_pd(p); }
  static void Store(double* p, Vector v) { _mm256_storeu_pd(p, v); }
  static void SinCos(Vector x, Vector& sin, Vector& cos) {
    const Sleef___m256d_2 both = Sleef_cinz_sincosd4_u10avx(x);
    sin = both.x;
    cos = both.y;
  }
  static Vector Tan(Vector x) { return Sleef_cinz_tand4_u10avx(x); }
  static Vector Atan(Vector x) { return Sleef_cinz_atand4_u10avx(x); }
  static Vector Pow(Vector base, Vector exponent) {
    return Sleef_cinz_powd4_u10avx(base, exponent);
  }
};

#include "numeric/card_maths_lanes.inc"

}  // namespace

const Kernels kAvxKernels = {"avx", SinCosLanes, TanLanes, AtanLanes, PowLanes};

}  // namespace card::maths
