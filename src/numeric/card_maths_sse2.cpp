// Two lanes with SSE2, which every x86-64 processor has.
#include <emmintrin.h>
#include <sleef.h>

#include <cstddef>

#include "numeric/card_maths_kernels.h"

namespace card::maths {
namespace {

struct Width {
  using Vector = __m128d;
  static constexpr std::size_t kLanes = 2;
  static Vector Load(const double* p) { return _mm_loadu_pd(p); }
  static void Store(double* p, Vector v) { _mm_storeu_pd(p, v); }
  static void SinCos(Vector x, Vector& sin, Vector& cos) {
    const Sleef___m128d_2 both = Sleef_cinz_sincosd2_u10sse2(x);
    sin = both.x;
    cos = both.y;
  }
  static Vector Tan(Vector x) { return Sleef_cinz_tand2_u10sse2(x); }
  static Vector Atan(Vector x) { return Sleef_cinz_atand2_u10sse2(x); }
  static Vector Pow(Vector base, Vector exponent) {
    return Sleef_cinz_powd2_u10sse2(base, exponent);
  }
};

#include "numeric/card_maths_lanes.inc"

}  // namespace

const Kernels kSse2Kernels = {"sse2", SinCosLanes, TanLanes, AtanLanes, PowLanes};

}  // namespace card::maths
