#include "platform/line_raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace card {
namespace {

// Lines are stepped along their major axis, step k = 0 .. major from the start, and lie across it
// at the minor offset
//   offset(k) = floor((2 * k * minor + major) / (2 * major)),
// which is k * minor / major rounded with halves away from the start. Everything below computes
// exactly this function, only faster or for a part of the line.

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

// The part of a line that is painted, in its own frame: steps first .. last, and the buffer
// offsets of one step along the major and the minor axis.
struct Run {
  std::int64_t major;
  std::int64_t minor;
  std::int64_t first;
  std::int64_t last;
  std::ptrdiff_t major_step;
  std::ptrdiff_t minor_step;
};

// Fast stepping for every line that is not enormous. The minor offset is carried as a fixed-point
// number with F fraction bits, numerator(k) * ceil(2^F / (2 * major)), so a pixel costs an add, a
// shift and a store, and no pixel waits for a comparison made at the one before (the error-term
// form below spends about three times as long per pixel). The rounded-up reciprocal overshoots
// the exact quotient by less than numerator(k) / 2^F, and an exact quotient that is not whole lies
// at least 1 / (2 * major) below the next whole number; the truncated offset is therefore exact
// while numerator(k) * 2 * major < 2^F. With numerator(k) <= major * (2 * major + 1) that holds
// for every step of every line up to kMaxFixedPointMajor long.
constexpr int kFractionBits = 46;
constexpr std::int64_t kMaxFixedPointMajor = 25000;
static_assert(2 * kMaxFixedPointMajor * kMaxFixedPointMajor * (2 * kMaxFixedPointMajor + 1) <
                  (std::int64_t{1} << kFractionBits),
              "the fixed-point offset must stay exact for every step of a line");
static_assert(kMaxFixedPointMajor + 2 < (std::int64_t{1} << (64 - kFractionBits)),
              "the fixed-point offset must fit in 64 bits");

struct FixedPoint {
  std::int64_t whole;       // offset(first)
  std::uint64_t fraction;   // the rest of the offset at step first, in units of 2^-F
  std::uint64_t increment;  // per step, in units of 2^-F
};

FixedPoint FixedPointAt(const Run& run) {
  const auto two_major = static_cast<std::uint64_t>(2 * run.major);
  const std::uint64_t reciprocal =
      ((std::uint64_t{1} << kFractionBits) + two_major - 1) / two_major;
  const auto numerator = static_cast<std::uint64_t>(2 * run.first * run.minor + run.major);
  const std::uint64_t position = numerator * reciprocal;
  return {static_cast<std::int64_t>(position >> kFractionBits),
          position & ((std::uint64_t{1} << kFractionBits) - 1),
          static_cast<std::uint64_t>(2 * run.minor) * reciprocal};
}

void StepFixedPoint(std::uint32_t* start, const FixedPoint& fixed, const Run& run,
                    std::uint32_t argb) {
  // Offsets are taken relative to the first painted pixel, so every pointer formed lies inside
  // the buffer.
  const std::ptrdiff_t major_step = run.major_step;
  const std::ptrdiff_t minor_step = run.minor_step;
  const std::uint64_t increment = fixed.increment;
  std::uint64_t position = fixed.fraction;
  std::uint32_t* p = start;
  for (std::int64_t n = run.last - run.first; n > 0; --n) {
    p[static_cast<std::ptrdiff_t>(position >> kFractionBits) * minor_step] = argb;
    p += major_step;
    position += increment;
  }
  p[static_cast<std::ptrdiff_t>(position >> kFractionBits) * minor_step] = argb;
}

// Plain error-term stepping, exact for any extent, for lines too long for the fixed-point form;
// such lines start or end far outside the buffer and are rare. The error term is the numerator of
// offset(k) modulo 2 * major, shifted down by 2 * major so that a sideways step is due when it
// turns non-negative.
void StepErrorTerm(std::uint32_t* start, std::int64_t remainder, const Run& run,
                   std::uint32_t argb) {
  const std::int64_t two_major = 2 * run.major;
  const std::int64_t two_minor = 2 * run.minor;
  std::int64_t error = remainder - two_major;
  std::uint32_t* p = start;
  *p = argb;
  for (std::int64_t n = run.last - run.first; n > 0; --n) {
    error += two_minor;
    if (error >= 0) {
      error -= two_major;
      p += run.minor_step;
    }
    p += run.major_step;
    *p = argb;
  }
}

void FillRow(PixelBuffer& buffer, std::int64_t y, std::int64_t from, std::int64_t to,
             std::uint32_t argb) {
  std::uint32_t* row = buffer.scanline(static_cast<int>(y));
  std::fill(row + from, row + to + 1, argb);
}

void FillColumn(PixelBuffer& buffer, std::int64_t x, std::int64_t from, std::int64_t to,
                std::uint32_t argb) {
  const std::ptrdiff_t stride = buffer.stride();
  std::uint32_t* p = buffer.scanline(static_cast<int>(from)) + x;
  for (std::int64_t n = to - from; n > 0; --n, p += stride) *p = argb;
  *p = argb;
}

// A line reduced to its own frame: the steps that lie inside the clip, and where step 0 is.
struct LinePlan {
  Run run;
  bool x_major;
  bool major_forward, minor_forward;
  std::int64_t major_start, minor_start;

  std::int64_t MajorAt(std::int64_t k) const { return major_start + (major_forward ? k : -k); }
  std::int64_t MinorAt(std::int64_t offset) const {
    return minor_start + (minor_forward ? offset : -offset);
  }
};

// The part of a general (neither horizontal nor vertical) line inside the clip, if any.
bool PlanLine(const PixelBuffer& buffer, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom, std::int32_t x1, std::int32_t y1, std::int32_t x2,
              std::int32_t y2, LinePlan& plan) {
  const std::int64_t dx = std::int64_t{x2} - x1;
  const std::int64_t dy = std::int64_t{y2} - y1;
  plan.x_major = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const std::int64_t major_delta = plan.x_major ? dx : dy;
  const std::int64_t minor_delta = plan.x_major ? dy : dx;
  plan.major_start = plan.x_major ? x1 : y1;
  plan.minor_start = plan.x_major ? y1 : x1;
  plan.major_forward = major_delta > 0;
  plan.minor_forward = minor_delta > 0;
  Run& run = plan.run;
  run.major = plan.major_forward ? major_delta : -major_delta;
  run.minor = plan.minor_forward ? minor_delta : -minor_delta;

  // Steps whose major coordinate lies inside the clip.
  const std::int64_t major_low = plan.x_major ? left : top;
  const std::int64_t major_high = plan.x_major ? right : bottom;
  run.first = std::max<std::int64_t>(
      plan.major_forward ? major_low - plan.major_start : plan.major_start - major_high, 0);
  run.last = std::min(
      plan.major_forward ? major_high - plan.major_start : plan.major_start - major_low, run.major);
  if (run.first > run.last) return false;

  // Minor offsets that lie inside the clip, turned into steps by inverting offset(k):
  //   offset(k) >= low   <=>  k >= major * (2 * low - 1) / (2 * minor)
  //   offset(k) <= high  <=>  k <  major * (2 * high + 1) / (2 * minor)
  const std::int64_t minor_low = plan.x_major ? top : left;
  const std::int64_t minor_high = plan.x_major ? bottom : right;
  const std::int64_t offset_low =
      plan.minor_forward ? minor_low - plan.minor_start : plan.minor_start - minor_high;
  const std::int64_t offset_high =
      plan.minor_forward ? minor_high - plan.minor_start : plan.minor_start - minor_low;
  if (offset_high < 0 || offset_low > run.minor) return false;
  if (offset_low > 0) {
    run.first = std::max(run.first, MulDivideUp(run.major, 2 * offset_low - 1, 2 * run.minor));
  }
  if (offset_high < run.minor) {
    run.last = std::min(run.last, MulDivideUp(run.major, 2 * offset_high + 1, 2 * run.minor) - 1);
  }
  if (run.first > run.last) return false;

  const std::ptrdiff_t stride = buffer.stride();
  run.major_step = (plan.major_forward ? 1 : -1) * (plan.x_major ? std::ptrdiff_t{1} : stride);
  run.minor_step = (plan.minor_forward ? 1 : -1) * (plan.x_major ? stride : std::ptrdiff_t{1});
  return true;
}

// The clip rectangle cut down to the buffer, so a line never writes outside it.
bool ClipToBuffer(const PixelBuffer& buffer, const ClipRect& clip, std::int64_t& left,
                  std::int64_t& top, std::int64_t& right, std::int64_t& bottom) {
  left = std::max(clip.left, 0);
  top = std::max(clip.top, 0);
  right = std::min(clip.right, buffer.width() - 1);
  bottom = std::min(clip.bottom, buffer.height() - 1);
  return left <= right && top <= bottom;
}

}  // namespace

void DrawLine(PixelBuffer& buffer, const ClipRect& clip, std::int32_t x1, std::int32_t y1,
              std::int32_t x2, std::int32_t y2, std::uint32_t argb) {
  std::int64_t left, top, right, bottom;
  if (!ClipToBuffer(buffer, clip, left, top, right, bottom)) return;

  // Rows and columns are spans; the general stepping below would paint them too, only slower.
  if (y1 == y2) {
    if (y1 < top || y1 > bottom) return;
    const std::int64_t from = std::max<std::int64_t>(std::min(x1, x2), left);
    const std::int64_t to = std::min<std::int64_t>(std::max(x1, x2), right);
    if (from <= to) FillRow(buffer, y1, from, to, argb);
    return;
  }
  if (x1 == x2) {
    if (x1 < left || x1 > right) return;
    const std::int64_t from = std::max<std::int64_t>(std::min(y1, y2), top);
    const std::int64_t to = std::min<std::int64_t>(std::max(y1, y2), bottom);
    if (from <= to) FillColumn(buffer, x1, from, to, argb);
    return;
  }

  LinePlan plan;
  if (!PlanLine(buffer, left, top, right, bottom, x1, y1, x2, y2, plan)) return;
  const Run& run = plan.run;
  const auto pixel_at = [&](std::int64_t offset) {
    const std::int64_t major_at = plan.MajorAt(run.first);
    const std::int64_t minor_at = plan.MinorAt(offset);
    const std::int64_t x = plan.x_major ? major_at : minor_at;
    const std::int64_t y = plan.x_major ? minor_at : major_at;
    return buffer.scanline(static_cast<int>(y)) + x;
  };

  if (run.major <= kMaxFixedPointMajor) {
    const FixedPoint fixed = FixedPointAt(run);
    StepFixedPoint(pixel_at(fixed.whole), fixed, run, argb);
  } else {
    const QuotientRemainder state = MulAddDivide(
        static_cast<std::uint64_t>(run.first), static_cast<std::uint64_t>(2 * run.minor),
        static_cast<std::uint64_t>(run.major), static_cast<std::uint64_t>(2 * run.major));
    StepErrorTerm(pixel_at(static_cast<std::int64_t>(state.quotient)),
                  static_cast<std::int64_t>(state.remainder), run, argb);
  }
}

UnderPainter::UnderPainter(PixelBuffer& buffer, int top, int bottom)
    : buffer_(buffer),
      words_per_row_((buffer.width() + 63) / 64),
      open_in_row_(static_cast<std::size_t>(buffer.height()), 0),
      open_bits_(
          static_cast<std::size_t>(buffer.height()) * static_cast<std::size_t>(words_per_row_), 0) {
  for (int y = std::max(top, 0); y <= std::min(bottom, buffer.height() - 1); ++y) {
    open_in_row_[static_cast<std::size_t>(y)] = buffer.width();
    std::uint64_t* words = open_bits_.data() + static_cast<std::size_t>(y) * words_per_row_;
    for (int x = 0; x < buffer.width(); ++x) words[x >> 6] |= std::uint64_t{1} << (x & 63);
  }
}

void UnderPainter::Line(const ClipRect& clip, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                        std::int32_t y2, std::uint32_t argb) {
  std::int64_t left, top, right, bottom;
  if (!ClipToBuffer(buffer_, clip, left, top, right, bottom)) return;
  // Which pixels are still open is read from a bit per pixel, small enough to stay in the cache,
  // instead of from the picture itself.
  std::int32_t* const open_in_row = open_in_row_.data();
  std::uint64_t* const open_bits = open_bits_.data();
  const std::int64_t words_per_row = words_per_row_;
  const auto paint = [&](std::int64_t x, std::int64_t y) {
    std::uint64_t& word = open_bits[y * words_per_row + (x >> 6)];
    const std::uint64_t bit = std::uint64_t{1} << (x & 63);
    if ((word & bit) != 0) {
      word &= ~bit;
      buffer_.scanline(static_cast<int>(y))[x] = argb;
      --open_in_row[y];
    }
  };
  // Rows and columns, as in DrawLine.
  if (y1 == y2) {
    if (y1 < top || y1 > bottom || open_in_row[y1] == 0) return;
    const std::int64_t from = std::max<std::int64_t>(std::min(x1, x2), left);
    const std::int64_t to = std::min<std::int64_t>(std::max(x1, x2), right);
    for (std::int64_t x = from; x <= to; ++x) paint(x, y1);
    return;
  }
  if (x1 == x2) {
    if (x1 < left || x1 > right) return;
    const std::int64_t from = std::max<std::int64_t>(std::min(y1, y2), top);
    const std::int64_t to = std::min<std::int64_t>(std::max(y1, y2), bottom);
    for (std::int64_t y = from; y <= to; ++y) {
      if (open_in_row[y] != 0) paint(x1, y);
    }
    return;
  }

  LinePlan plan;
  if (!PlanLine(buffer_, left, top, right, bottom, x1, y1, x2, y2, plan)) return;
  const Run& run = plan.run;
  const std::int64_t major_sign = plan.major_forward ? 1 : -1;
  const std::int64_t minor_sign = plan.minor_forward ? 1 : -1;
  if (run.major <= kMaxFixedPointMajor) {
    // The same fixed-point offsets as DrawLine.
    const FixedPoint fixed = FixedPointAt(run);
    const std::int64_t major_at = plan.MajorAt(run.first);
    const std::int64_t minor_at = plan.MinorAt(fixed.whole);
    std::uint64_t position = fixed.fraction;
    for (std::int64_t k = 0, n = run.last - run.first; k <= n; ++k) {
      const std::int64_t major = major_at + major_sign * k;
      const std::int64_t minor =
          minor_at + minor_sign * static_cast<std::int64_t>(position >> kFractionBits);
      const std::int64_t y = plan.x_major ? minor : major;
      if (open_in_row[y] != 0) paint(plan.x_major ? major : minor, y);
      position += fixed.increment;
    }
    return;
  }
  // Lines too long for fixed point step their error term, exactly as DrawLine does.
  const QuotientRemainder state = MulAddDivide(
      static_cast<std::uint64_t>(run.first), static_cast<std::uint64_t>(2 * run.minor),
      static_cast<std::uint64_t>(run.major), static_cast<std::uint64_t>(2 * run.major));
  std::int64_t error = static_cast<std::int64_t>(state.remainder) - 2 * run.major;
  std::int64_t major = plan.MajorAt(run.first);
  std::int64_t minor = plan.MinorAt(static_cast<std::int64_t>(state.quotient));
  for (std::int64_t k = run.first;; ++k) {
    paint(plan.x_major ? major : minor, plan.x_major ? minor : major);
    if (k == run.last) break;
    error += 2 * run.minor;
    if (error >= 0) {
      error -= 2 * run.major;
      minor += minor_sign;
    }
    major += major_sign;
  }
}

std::int32_t DevicePixel(float coordinate) {
  if (std::isnan(coordinate)) return 0;
  // -2^31 and 2^31 are exact floats; everything at or beyond them is pinned.
  if (coordinate >= 2147483648.0f) return std::numeric_limits<std::int32_t>::max();
  if (coordinate <= -2147483648.0f) return std::numeric_limits<std::int32_t>::min();
  // lrint rounds like nearbyint, in the current mode (to nearest, halves to even, which the
  // program never changes), but compiles to one instruction instead of a library call.
  return static_cast<std::int32_t>(std::lrint(coordinate));
}

}  // namespace card
