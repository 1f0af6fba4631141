// Eight lanes with AVX-512F. This file alone is compiled with -mavx512f (and without FMA);
// everything in it has internal linkage, so no AVX-512 instruction can end up in code that runs
// before the processor has been asked whether it has AVX-512F.
#include <immintrin.h>
#include <sleef.h>

#include <cstddef>

#include "numeric/card_maths_kernels.h"

namespace card::maths {
namespace {

struct Width {
  using Vector = __m512d;
  static constexpr std::size_t kLanes = 8;
  static Vector Load(const double* p) { return _mm512_loadu_pd(p); }
  static void Store(double* p, Vector v) { _mm512_storeu_pd(p, v); }
  static void SinCos(Vector x, Vector& sin, Vector& cos) {
    const Sleef___m512d_2 both = Sleef_cinz_sincosd8_u10avx512fnofma(x);
    sin = both.x;
    cos = both.y;
  }
  static Vector Tan(Vector x) { return Sleef_cinz_tand8_u10avx512fnofma(x); }
  static Vector Atan(Vector x) { return Sleef_cinz_atand8_u10avx512fnofma(x); }
  static Vector Pow(Vector base, Vector exponent) {
    return Sleef_cinz_powd8_u10avx512fnofma(base, exponent);
  }
};

#include "numeric/card_maths_lanes.inc"

}  // namespace

const Kernels kAvx512Kernels = {"avx512", SinCosLanes, TanLanes, AtanLanes, PowLanes};

}  // namespace card::maths
