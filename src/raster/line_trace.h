#pragma once

// Which pixels a line covers, for the two painters (line_raster.h, under_painter.h). The end-point
// rule and the clipping live here once; a painter only says what to do with the pixels TraceLine
// hands it.

#include <algorithm>
#include <array>
#include <cstdint>

#include "raster/clip_rect.h"
#include "raster/pixel_buffer.h"

namespace card::line_trace {

// The end-point rule, kept by every line of the program: a line covers both of its end points; a
// line whose ends coincide covers that one pixel. Lines are stepped along their major axis (the
// axis with the larger extent; x when the extents are equal), step k = 0 .. major from the start,
// and lie across it at the minor offset
//   offset(k) = floor((2 * k * minor + major) / (2 * major)),
// which is k * minor / major rounded with halves away from the start. Everything below computes
// exactly this function, only faster or for a part of the line. Clipping never changes which
// pixels a line covers: a clipped line paints exactly the part of the unclipped line inside the
// clip. Coordinates may lie anywhere in the 32-bit range; a line that misses the clip writes
// nothing.

// Inclusive pixel bounds that lie inside the buffer.
struct Bounds {
  std::int64_t left, top, right, bottom;
};

// A line in its own frame, and the steps first .. last of it that lie inside the clip.
struct LinePlan {
  std::int64_t major, minor;  // extents; major >= minor >= 0, major > 0
  std::int64_t first, last;
  bool x_major;
  bool major_forward, minor_forward;
  std::int64_t major_start, minor_start;

  std::int64_t MajorAt(std::int64_t k) const { return major_start + (major_forward ? k : -k); }
  std::int64_t MinorAt(std::int64_t offset) const {
    return minor_start + (minor_forward ? offset : -offset);
  }
};

// The part of a line that a painter is handed: the first painted pixel and the directions of the
// steps from it.
struct LineSteps {
  int x, y;
  int major_x, major_y;  // one step along the major axis
  int minor_x, minor_y;  // one step across it
  std::int64_t pixels;   // how many steps follow, the first included
};

// Fast stepping for every line that is not enormous. The minor offset is carried as a fixed-point
// number with F fraction bits, numerator(k) * ceil(2^F / (2 * major)), so a pixel costs an add, a
// shift and a store, and no pixel waits for a comparison made at the one before (the error-term
// form spends about three times as long per pixel). The rounded-up reciprocal overshoots the exact
// quotient by less than numerator(k) / 2^F, and an exact quotient that is not whole lies at least
// 1 / (2 * major) below the next whole number; the truncated offset is therefore exact while
// numerator(k) * 2 * major < 2^F. With numerator(k) <= major * (2 * major + 1) that holds for
// every step of every line up to kMaxFixedPointMajor long.
constexpr int kFractionBits = 46;
constexpr std::int64_t kMaxFixedPointMajor = 25000;
static_assert(2 * kMaxFixedPointMajor * kMaxFixedPointMajor * (2 * kMaxFixedPointMajor + 1) <
                  (std::int64_t{1} << kFractionBits),
              "the fixed-point offset must stay exact for every step of a line");
static_assert(kMaxFixedPointMajor + 2 < (std::int64_t{1} << (64 - kFractionBits)),
              "the fixed-point offset must fit in 64 bits");

constexpr std::uint64_t Reciprocal(std::int64_t major) {
  const auto two_major = static_cast<std::uint64_t>(2 * major);
  return ((std::uint64_t{1} << kFractionBits) + two_major - 1) / two_major;
}

// The reciprocals of the short lines, which are nearly all lines of a card (strokes are at most
// 200 pixels long), so that their set-up needs no division.
constexpr std::int64_t kTabledMajor = 255;
inline constexpr std::array<std::uint64_t, kTabledMajor + 1> kReciprocals = [] {
  std::array<std::uint64_t, kTabledMajor + 1> table{};
  for (std::int64_t major = 1; major <= kTabledMajor; ++major) {
    table[static_cast<std::size_t>(major)] = Reciprocal(major);
  }
  return table;
}();

// Cuts the plan's steps down to those inside `bounds`; false when none are.
bool ClipSteps(const Bounds& bounds, LinePlan& plan);

// The offset at step `first` and the error term there, for lines too long for fixed point.
struct ErrorTermStart {
  std::int64_t offset;
  std::int64_t remainder;  // numerator(first) modulo 2 * major
};
ErrorTermStart ErrorTermAt(const LinePlan& plan);

// The clip rectangle cut down to the buffer, so a line never writes outside it.
inline bool ClipToBuffer(const PixelBuffer& buffer, const ClipRect& clip, Bounds& bounds) {
  bounds.left = std::max(clip.left, 0);
  bounds.top = std::max(clip.top, 0);
  bounds.right = std::min(clip.right, buffer.width() - 1);
  bounds.bottom = std::min(clip.bottom, buffer.height() - 1);
  return bounds.left <= bounds.right && bounds.top <= bounds.bottom;
}

// The frame of a general (neither horizontal nor vertical) line, all of it.
inline LinePlan PlanWhole(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  const std::int64_t dx = std::int64_t{x2} - x1;
  const std::int64_t dy = std::int64_t{y2} - y1;
  const std::int64_t ax = dx < 0 ? -dx : dx;
  const std::int64_t ay = dy < 0 ? -dy : dy;
  LinePlan plan;
  plan.x_major = ax >= ay;
  plan.major = plan.x_major ? ax : ay;
  plan.minor = plan.x_major ? ay : ax;
  plan.major_forward = (plan.x_major ? dx : dy) > 0;
  plan.minor_forward = (plan.x_major ? dy : dx) > 0;
  plan.major_start = plan.x_major ? x1 : y1;
  plan.minor_start = plan.x_major ? y1 : x1;
  plan.first = 0;
  plan.last = plan.major;
  return plan;
}

inline bool Inside(const Bounds& b, std::int32_t x, std::int32_t y) {
  return x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
}

// Hands the pixels of the line from (x1, y1) to (x2, y2) inside the clip to `painter`, which has
//   Row(y, from, to) and Column(x, from, to)  for horizontal and vertical lines, from <= to;
//   Steps(const LineSteps&)                    for every other line, returning a callable
//                                              pixel(offset), called once per step along the
//                                              major axis, in order: the pixel of that step lies
//                                              offset steps across from the first pixel's row
//                                              (or column).
// Everything is inlined into the painter's caller, so a pixel costs no call.
template <typename Painter>
inline void TraceLine(const PixelBuffer& buffer, const ClipRect& clip, std::int32_t x1,
                      std::int32_t y1, std::int32_t x2, std::int32_t y2, Painter& painter) {
  Bounds b;
  if (!ClipToBuffer(buffer, clip, b)) return;

  // Rows and columns are spans; the general stepping would give the same pixels, only slower.
  if (y1 == y2) {
    if (y1 < b.top || y1 > b.bottom) return;
    const std::int64_t from = std::max<std::int64_t>(std::min(x1, x2), b.left);
    const std::int64_t to = std::min<std::int64_t>(std::max(x1, x2), b.right);
    if (from <= to) painter.Row(y1, static_cast<int>(from), static_cast<int>(to));
    return;
  }
  if (x1 == x2) {
    if (x1 < b.left || x1 > b.right) return;
    const std::int64_t from = std::max<std::int64_t>(std::min(y1, y2), b.top);
    const std::int64_t to = std::min<std::int64_t>(std::max(y1, y2), b.bottom);
    if (from <= to) painter.Column(x1, static_cast<int>(from), static_cast<int>(to));
    return;
  }

  LinePlan plan = PlanWhole(x1, y1, x2, y2);
  // A line with both ends inside needs no clipping: the pixels between its ends lie between them.
  if (!(Inside(b, x1, y1) && Inside(b, x2, y2)) && !ClipSteps(b, plan)) return;

  const std::int64_t count = plan.last - plan.first;
  const auto steps_from = [&](std::int64_t offset) {
    const auto major_at = static_cast<int>(plan.MajorAt(plan.first));
    const auto minor_at = static_cast<int>(plan.MinorAt(offset));
    const int major_sign = plan.major_forward ? 1 : -1;
    const int minor_sign = plan.minor_forward ? 1 : -1;
    return plan.x_major ? LineSteps{major_at, minor_at, major_sign, 0, 0, minor_sign, count + 1}
                        : LineSteps{minor_at, major_at, 0, major_sign, minor_sign, 0, count + 1};
  };

  if (plan.major <= kMaxFixedPointMajor) {
    const std::uint64_t reciprocal = plan.major <= kTabledMajor
                                         ? kReciprocals[static_cast<std::size_t>(plan.major)]
                                         : Reciprocal(plan.major);
    const auto numerator = static_cast<std::uint64_t>(2 * plan.first * plan.minor + plan.major);
    const std::uint64_t start = numerator * reciprocal;
    const std::uint64_t increment = static_cast<std::uint64_t>(2 * plan.minor) * reciprocal;
    // Offsets are taken relative to the first painted pixel.
    std::uint64_t position = start & ((std::uint64_t{1} << kFractionBits) - 1);
    auto pixel = painter.Steps(steps_from(static_cast<std::int64_t>(start >> kFractionBits)));
    for (std::int64_t n = count; n > 0; --n) {
      pixel(static_cast<std::int64_t>(position >> kFractionBits));
      position += increment;
    }
    pixel(static_cast<std::int64_t>(position >> kFractionBits));
    return;
  }

  // Plain error-term stepping, exact for any extent, for lines too long for fixed point; such
  // lines start or end far outside the buffer and are rare. The error term is the numerator of
  // offset(k) modulo 2 * major, shifted down by 2 * major so that a sideways step is due when it
  // turns non-negative.
  const ErrorTermStart state = ErrorTermAt(plan);
  auto pixel = painter.Steps(steps_from(state.offset));
  std::int64_t error = state.remainder - 2 * plan.major;
  std::int64_t offset = 0;
  for (std::int64_t n = count; n > 0; --n) {
    pixel(offset);
    error += 2 * plan.minor;
    if (error >= 0) {
      error -= 2 * plan.major;
      ++offset;
    }
  }
  pixel(offset);
}

}  // namespace card::line_trace
