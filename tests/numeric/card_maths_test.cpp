// The card's elementary functions must give the same bits at every vector width, or the same name
// would paint a different card on another processor.
#include "numeric/card_maths.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "numeric/card_maths_kernels.h"

namespace card::maths {
namespace {

std::vector<const Kernels*> AvailableKernels() {
  std::vector<const Kernels*> all = {&kPurecKernels};
#if defined(__x86_64__)
  all.push_back(&kSse2Kernels);
  if (__builtin_cpu_supports("avx")) all.push_back(&kAvxKernels);
  if (__builtin_cpu_supports("avx512f")) all.push_back(&kAvx512Kernels);
#endif
  return all;
}

// Arguments the cards meet (angles, distances, scaled intensities) and the awkward ones.
std::vector<double> Arguments() {
  std::vector<double> x = {0.0,
                           -0.0,
                           1e-300,
                           0.5,
                           -1.5707963267948966,
                           3.141592653589793,
                           11.06,
                           5.04,
                           1e6,
                           std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> card_range(-20.0, 20.0);
  while (x.size() < 1003) x.push_back(card_range(random));  // an odd count leaves a tail
  return x;
}

void ExpectSameBits(const std::vector<double>& a, const std::vector<double>& b,
                    const std::string& what) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t k = 0; k < a.size(); ++k) {
    // A NaN only ever marks a failed statement; its payload decides nothing.
    if (std::isnan(a[k]) && std::isnan(b[k])) continue;
    if (std::bit_cast<std::uint64_t>(a[k]) != std::bit_cast<std::uint64_t>(b[k])) {
      ADD_FAILURE() << what << " differs at argument " << k << ": " << a[k] << " vs " << b[k];
      return;
    }
  }
}

TEST(CardMaths, EveryWidthGivesTheScalarBits) {
  const std::vector<double> x = Arguments();
  std::vector<double> exponent(x.size());
  for (std::size_t k = 0; k < x.size(); ++k) exponent[k] = 1 + std::fabs(x[k]) / 7;
  std::vector<double> base(x.size());
  for (std::size_t k = 0; k < x.size(); ++k) base[k] = std::fabs(x[k]);

  std::vector<double> sin(x.size()), cos(x.size()), tan(x.size()), atan(x.size()), pow(x.size());
  for (std::size_t k = 0; k < x.size(); ++k) {
    sin[k] = Sin(x[k]);
    cos[k] = Cos(x[k]);
    tan[k] = Tan(x[k]);
    atan[k] = Atan(x[k]);
    pow[k] = Pow(base[k], exponent[k]);
  }
  for (const Kernels* kernels : AvailableKernels()) {
    const std::string width = kernels->name;
    std::vector<double> s(x.size()), c(x.size()), t(x.size()), a(x.size()), p(x.size());
    kernels->sin_cos(x.data(), s.data(), c.data(), x.size());
    kernels->tan(x.data(), t.data(), x.size());
    kernels->atan(x.data(), a.data(), x.size());
    kernels->pow(base.data(), exponent.data(), p.data(), x.size());
    ExpectSameBits(s, sin, width + " sin");
    ExpectSameBits(c, cos, width + " cos");
    ExpectSameBits(t, tan, width + " tan");
    ExpectSameBits(a, atan, width + " atan");
    ExpectSameBits(p, pow, width + " pow");
  }
  // Sine and cosine agree with a correctly rounded value to the last bit or one below it.
  EXPECT_NEAR(Sin(0.5), 0.479425538604203, 1e-15);
  EXPECT_EQ(Pow(0.0, 0.0), 1.0);
}

// The test command runs the card tests once per forced width; this makes sure the force took.
TEST(CardMaths, ForcedWidthIsTheOneInUse) {
  const char* forced = std::getenv("CARD_MATHS_WIDTH");
  if (forced == nullptr) GTEST_SKIP() << "no width forced";
#if defined(__x86_64__)
  if (std::string(forced) == "avx" && !__builtin_cpu_supports("avx")) {
    GTEST_SKIP() << "this processor has no AVX";
  }
  if (std::string(forced) == "avx512" && !__builtin_cpu_supports("avx512f")) {
    GTEST_SKIP() << "this processor has no AVX-512F";
  }
#endif
  EXPECT_STREQ(VectorWidthName(), forced);
}

}  // namespace
}  // namespace card::maths
