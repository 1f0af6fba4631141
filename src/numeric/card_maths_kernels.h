#pragma once

#include <cstddef>

namespace card::maths {

// One vector width's array functions. Each width lives in a file of its own compiled for that
// instruction set; the program picks one table at start (card_maths_arrays.cpp), so no code for
// a wider instruction set runs on a processor without it.
struct Kernels {
  const char* name;
  void (*sin_cos)(const double* x, double* sin, double* cos, std::size_t count);
  void (*tan)(const double* x, double* out, std::size_t count);
  void (*atan)(const double* x, double* out, std::size_t count);
  void (*pow)(const double* base, const double* exponent, double* out, std::size_t count);
};

extern const Kernels kPurecKernels;
#if defined(__x86_64__)
extern const Kernels kSse2Kernels;
extern const Kernels kAvxKernels;
#endif

const Kernels& ActiveKernels();

}  // namespace card::maths
