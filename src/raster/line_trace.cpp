#include "raster/line_trace.h"

#include <algorithm>
#include <cstdint>

namespace card::line_trace {
namespace {

struct QuotientRemainder {
  std::uint64_t quotient;
  std::uint64_t remainder;
};

// (a * b + c) / d without overflow for a < 2^32, b and c < 2^35, 0 < d < 2^35 and a quotient that
// fits in 64 bits. Lines between opposite corners of the 32-bit range need 65-bit products;
// splitting a into 16-bit halves keeps every intermediate below 2^53.
QuotientRemainder MulAddDivide(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d) {
  if (a < (std::uint64_t{1} << 31) && b < (std::uint64_t{1} << 32)) {
    const std::uint64_t n = a * b + c;
    return {n / d, n % d};
  }
  const std::uint64_t high = a >> 16;
  const std::uint64_t low = a & 0xFFFFu;
  const std::uint64_t high_product = high * b;
  const std::uint64_t rest = (high_product % d << 16) + low * b + c;
  return {(high_product / d << 16) + rest / d, rest % d};
}

// ceil(a * b / d) for the ranges of MulAddDivide.
std::int64_t MulDivideUp(std::int64_t a, std::int64_t b, std::int64_t d) {
  const auto ud = static_cast<std::uint64_t>(d);
  return static_cast<std::int64_t>(
      MulAddDivide(static_cast<std::uint64_t>(a), static_cast<std::uint64_t>(b), ud - 1, ud)
          .quotient);
}

}  // namespace

bool ClipSteps(const Bounds& bounds, LinePlan& plan) {
  // Steps whose major coordinate lies inside the clip.
  const std::int64_t major_low = plan.x_major ? bounds.left : bounds.top;
  const std::int64_t major_high = plan.x_major ? bounds.right : bounds.bottom;
  plan.first = std::max<std::int64_t>(
      plan.major_forward ? major_low - plan.major_start : plan.major_start - major_high, 0);
  plan.last =
      std::min(plan.major_forward ? major_high - plan.major_start : plan.major_start - major_low,
               plan.major);
  if (plan.first > plan.last) return false;

  // Minor offsets that lie inside the clip, turned into steps by inverting offset(k):
  //   offset(k) >= low   <=>  k >= major * (2 * low - 1) / (2 * minor)
  //   offset(k) <= high  <=>  k <  major * (2 * high + 1) / (2 * minor)
  const std::int64_t minor_low = plan.x_major ? bounds.top : bounds.left;
  const std::int64_t minor_high = plan.x_major ? bounds.bottom : bounds.right;
  const std::int64_t offset_low =
      plan.minor_forward ? minor_low - plan.minor_start : plan.minor_start - minor_high;
  const std::int64_t offset_high =
      plan.minor_forward ? minor_high - plan.minor_start : plan.minor_start - minor_low;
  if (offset_high < 0 || offset_low > plan.minor) return false;
  if (offset_low > 0) {
    plan.first = std::max(plan.first, MulDivideUp(plan.major, 2 * offset_low - 1, 2 * plan.minor));
  }
  if (offset_high < plan.minor) {
    plan.last =
        std::min(plan.last, MulDivideUp(plan.major, 2 * offset_high + 1, 2 * plan.minor) - 1);
  }
  return plan.first <= plan.last;
}

ErrorTermStart ErrorTermAt(const LinePlan& plan) {
  const QuotientRemainder state = MulAddDivide(
      static_cast<std::uint64_t>(plan.first), static_cast<std::uint64_t>(2 * plan.minor),
      static_cast<std::uint64_t>(plan.major), static_cast<std::uint64_t>(2 * plan.major));
  return {static_cast<std::int64_t>(state.quotient), static_cast<std::int64_t>(state.remainder)};
}

}  // namespace card::line_trace
