// Two lanes with SSE2, which every x86-64 processor has.
#include <emmintrin.h>
#include <sleef.h>

#include "numeric/card_maths_kernels.h"

namespace card::maths {
namespace {

constexpr std::size_t kLanes = 2;

// The last values that do not fill a vector go through a padded copy; lanes never mix, so each
// result is the one a full vector gives.
struct Tail {
  double in[kLanes] = {};
  double in2[kLanes] = {};
  double out[kLanes] = {};
  double out2[kLanes] = {};
};

void SinCosSse2(const double* x, double* sin, double* cos, std::size_t count) {
  std::size_t k = 0;
  for (; k + kLanes <= count; k += kLanes) {
    const Sleef___m128d_2 both = Sleef_cinz_sincosd2_u10sse2(_mm_loadu_pd(x + k));
    _mm_storeu_pd(sin + k, both.x);
    _mm_storeu_pd(cos + k, both.y);
  }
  if (k == count) return;
  Tail tail;
  for (std::size_t n = 0; k + n < count; ++n) tail.in[n] = x[k + n];
  const Sleef___m128d_2 both = Sleef_cinz_sincosd2_u10sse2(_mm_loadu_pd(tail.in));
  _mm_storeu_pd(tail.out, both.x);
  _mm_storeu_pd(tail.out2, both.y);
  for (std::size_t n = 0; k + n < count; ++n) {
    sin[k + n] = tail.out[n];
    cos[k + n] = tail.out2[n];
  }
}

void TanSse2(const double* x, double* out, std::size_t count) {
  std::size_t k = 0;
  for (; k + kLanes <= count; k += kLanes)
    _mm_storeu_pd(out + k, Sleef_cinz_tand2_u10sse2(_mm_loadu_pd(x + k)));
  if (k == count) return;
  Tail tail;
  for (std::size_t n = 0; k + n < count; ++n) tail.in[n] = x[k + n];
  _mm_storeu_pd(tail.out, Sleef_cinz_tand2_u10sse2(_mm_loadu_pd(tail.in)));
  for (std::size_t n = 0; k + n < count; ++n) out[k + n] = tail.out[n];
}

void AtanSse2(const double* x, double* out, std::size_t count) {
  std::size_t k = 0;
  for (; k + kLanes <= count; k += kLanes)
    _mm_storeu_pd(out + k, Sleef_cinz_atand2_u10sse2(_mm_loadu_pd(x + k)));
  if (k == count) return;
  Tail tail;
  for (std::size_t n = 0; k + n < count; ++n) tail.in[n] = x[k + n];
  _mm_storeu_pd(tail.out, Sleef_cinz_atand2_u10sse2(_mm_loadu_pd(tail.in)));
  for (std::size_t n = 0; k + n < count; ++n) out[k + n] = tail.out[n];
}

void PowSse2(const double* base, const double* exponent, double* out, std::size_t count) {
  std::size_t k = 0;
  for (; k + kLanes <= count; k += kLanes) {
    _mm_storeu_pd(out + k,
                  Sleef_cinz_powd2_u10sse2(_mm_loadu_pd(base + k), _mm_loadu_pd(exponent + k)));
  }
  if (k == count) return;
  Tail tail;
  for (std::size_t n = 0; k + n < count; ++n) {
    tail.in[n] = base[k + n];
    tail.in2[n] = exponent[k + n];
  }
  _mm_storeu_pd(tail.out, Sleef_cinz_powd2_u10sse2(_mm_loadu_pd(tail.in), _mm_loadu_pd(tail.in2)));
  for (std::size_t n = 0; k + n < count; ++n) out[k + n] = tail.out[n];
}

}  // namespace

const Kernels kSse2Kernels = {"sse2", SinCosSse2, TanSse2, AtanSse2, PowSse2};

}  // namespace card::maths
