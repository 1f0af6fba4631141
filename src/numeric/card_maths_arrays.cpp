// The array functions: the kernels of the widest vector width this processor has (or the one
// CARD_MATHS_WIDTH forces), and the one-lane kernels that every build has, which call the scalar
// functions.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "numeric/card_maths.h"
#include "numeric/card_maths_kernels.h"

namespace card::maths {
namespace {

void SinCosOneLane(const double* x, double* sin, double* cos, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    const SinCos both = SinCosOf(x[k]);
    sin[k] = both.sin;
    cos[k] = both.cos;
  }
}
void TanOneLane(const double* x, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Tan(x[k]);
}
void AtanOneLane(const double* x, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Atan(x[k]);
}
void PowOneLane(const double* base, const double* exponent, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Pow(base[k], exponent[k]);
}

// The widest kernels this processor runs. The check includes the operating system's support for
// the wider registers.
const Kernels& WidestKernels() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx512f")) return kAvx512Kernels;
  if (__builtin_cpu_supports("avx")) return kAvxKernels;
  return kSse2Kernels;
#else
  return kPurecKernels;
#endif
}

// A width that CARD_MATHS_WIDTH asks for, if this build and processor have it.
const Kernels* ForcedKernels(const char* name) {
  if (std::strcmp(name, "purec") == 0) return &kPurecKernels;
#if defined(__x86_64__)
  if (std::strcmp(name, "sse2") == 0) return &kSse2Kernels;
  if (std::strcmp(name, "avx") == 0 && __builtin_cpu_supports("avx")) return &kAvxKernels;
  if (std::strcmp(name, "avx512") == 0 && __builtin_cpu_supports("avx512f")) return &kAvx512Kernels;
#endif
  return nullptr;
}

const Kernels& ChooseKernels() {
  const char* forced = std::getenv("CARD_MATHS_WIDTH");
  if (forced == nullptr || *forced == '\0') return WidestKernels();
  if (const Kernels* kernels = ForcedKernels(forced)) return *kernels;
  // Every width gives the same cards, so a width that cannot be had costs nothing but speed.
  const Kernels& widest = WidestKernels();
  std::fprintf(stderr,
               "CARD_MATHS_WIDTH=%s is not a width this program can use here (purec, sse2, avx, "
               "avx512 where the processor has it); using %s\n",
               forced, widest.name);
  return widest;
}

}  // namespace

const Kernels kPurecKernels = {"purec", SinCosOneLane, TanOneLane, AtanOneLane, PowOneLane};

const Kernels& ActiveKernels() {
  static const Kernels& chosen = ChooseKernels();
  return chosen;
}

void SinCosArray(const double* x, double* sin, double* cos, std::size_t count) {
  ActiveKernels().sin_cos(x, sin, cos, count);
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
