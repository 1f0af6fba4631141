#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "numeric/card_maths_kernels.h"

namespace card::maths {
namespace {

// The widest kernels this processor runs, unless CARD_MATHS_WIDTH names one.
const Kernels& ChooseKernels() {
  const char* forced = std::getenv("CARD_MATHS_WIDTH");
  if (forced != nullptr && *forced != '\0') {
    if (std::strcmp(forced, "purec") == 0) return kPurecKernels;
#if defined(__x86_64__)
    if (std::strcmp(forced, "sse2") == 0) return kSse2Kernels;
    if (std::strcmp(forced, "avx") == 0) {
      if (__builtin_cpu_supports("avx")) return kAvxKernels;
      throw std::runtime_error("CARD_MATHS_WIDTH=avx, but this processor has no AVX");
    }
#endif
    throw std::runtime_error(std::string("CARD_MATHS_WIDTH=") + forced +
                             " is not a vector width this build has (purec, sse2, avx)");
  }
#if defined(__x86_64__)
  // The check includes the operating system's support for the wider registers.
  if (__builtin_cpu_supports("avx")) return kAvxKernels;
  return kSse2Kernels;
#else
  return kPurecKernels;
#endif
}

}  // namespace

const Kernels& ActiveKernels() {
  static const Kernels& chosen = ChooseKernels();
  return chosen;
}

}  // namespace card::maths
