#include "raster/line_raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "raster/line_trace.h"

namespace card {
namespace {

// Writes every pixel it is handed.
class Ink {
 public:
  Ink(PixelBuffer& buffer, std::uint32_t argb) : buffer_(buffer), argb_(argb) {}

  void Row(int y, int from, int to) {
    std::uint32_t* row = buffer_.scanline(y);
    std::fill(row + from, row + to + 1, argb_);
  }
  void Column(int x, int from, int to) {
    const std::ptrdiff_t stride = buffer_.stride();
    std::uint32_t* p = buffer_.scanline(from) + x;
    for (int n = to - from; n > 0; --n, p += stride) *p = argb_;
    *p = argb_;
  }
  auto Steps(const line_trace::LineSteps& s) {
    // Pointers are formed relative to the first painted pixel, so every one lies inside the buffer.
    const std::ptrdiff_t stride = buffer_.stride();
    std::uint32_t* const start = buffer_.scanline(s.y) + s.x;
    const std::ptrdiff_t major_step = s.major_y * stride + s.major_x;
    const std::ptrdiff_t minor_step = s.minor_y * stride + s.minor_x;
    const std::uint32_t argb = argb_;
    return [p = start, major_step, minor_step, argb](std::int64_t offset) mutable {
      p[offset * minor_step] = argb;
      p += major_step;
    };
  }

 private:
  PixelBuffer& buffer_;
  std::uint32_t argb_;
};

// Which of a pair is painted: the plan's own line, its half-turned image, or both.
enum class PairPart { kFirst, kSecond, kBoth };

// A short general line (its reciprocal tabled) and its image turned half a turn about
// (twice_cx / 2, twice_cy / 2): the image's pixel at step k is the line's pixel at step k
// reflected through that point.
struct LinePairSteps {
  PixelBuffer& buffer;
  const line_trace::LinePlan& plan;
  std::int64_t twice_cx, twice_cy;
  std::uint32_t argb;

  // Paints steps `from` to `to` (none when from > to), which must lie inside the buffer for every
  // part painted. Indices rather than pointers, so that nothing points outside the buffer once the
  // last pixel is written.
  template <PairPart kPart>
  void Paint(std::int64_t from, std::int64_t to) const {
    using namespace line_trace;
    if (from > to) return;
    const std::uint64_t reciprocal = kReciprocals[static_cast<std::size_t>(plan.major)];
    const std::uint64_t start =
        static_cast<std::uint64_t>(2 * from * plan.minor + plan.major) * reciprocal;
    const std::uint64_t increment = static_cast<std::uint64_t>(2 * plan.minor) * reciprocal;
    std::uint64_t position = start & ((std::uint64_t{1} << kFractionBits) - 1);

    const std::int64_t major_at = plan.MajorAt(from);
    const std::int64_t minor_at = plan.MinorAt(static_cast<std::int64_t>(start >> kFractionBits));
    const std::int64_t x = plan.x_major ? major_at : minor_at;
    const std::int64_t y = plan.x_major ? minor_at : major_at;
    const std::ptrdiff_t stride = buffer.stride();
    const std::ptrdiff_t major_sign = plan.major_forward ? 1 : -1;
    const std::ptrdiff_t minor_sign = plan.minor_forward ? 1 : -1;
    const std::ptrdiff_t major_step = plan.x_major ? major_sign : major_sign * stride;
    const std::ptrdiff_t minor_step = plan.x_major ? minor_sign * stride : minor_sign;

    // The first pixel of a part painted lies inside the buffer, so its index fits; a part not
    // painted may lie anywhere and is left alone.
    std::uint32_t* const pixels = buffer.data();
    std::ptrdiff_t first = 0;
    std::ptrdiff_t second = 0;
    if constexpr (kPart != PairPart::kSecond) {
      first = static_cast<std::ptrdiff_t>(y * stride + x);
    }
    if constexpr (kPart != PairPart::kFirst) {
      second = static_cast<std::ptrdiff_t>((twice_cy - y) * stride + (twice_cx - x));
    }
    for (std::int64_t n = to - from; n >= 0; --n) {
      const auto across = static_cast<std::ptrdiff_t>(position >> kFractionBits) * minor_step;
      if constexpr (kPart != PairPart::kSecond) {
        pixels[first + across] = argb;
        first += major_step;
      }
      if constexpr (kPart != PairPart::kFirst) {
        pixels[second - across] = argb;
        second -= major_step;
      }
      position += increment;
    }
  }
};

}  // namespace

void DrawLinePair(PixelBuffer& buffer, const ClipRect& clip, const LineEnds& a, const LineEnds& b,
                  std::uint32_t argb) {
  using namespace line_trace;
  const std::int64_t twice_cx = std::int64_t{a.x1} + b.x1;
  const std::int64_t twice_cy = std::int64_t{a.y1} + b.y1;
  const bool half_turned =
      twice_cx == std::int64_t{a.x2} + b.x2 && twice_cy == std::int64_t{a.y2} + b.y2;
  // Rows and columns are spans already, and long lines (their far ends well outside any picture)
  // need more than the tabled reciprocals: both go the single way.
  const auto singly = [&] {
    DrawLine(buffer, clip, a.x1, a.y1, a.x2, a.y2, argb);
    DrawLine(buffer, clip, b.x1, b.y1, b.x2, b.y2, argb);
  };
  if (!half_turned || a.x1 == a.x2 || a.y1 == a.y2) return singly();
  const LinePlan plan = PlanWhole(a.x1, a.y1, a.x2, a.y2);
  if (plan.major > kTabledMajor) return singly();

  Bounds inside;
  if (!ClipToBuffer(buffer, clip, inside)) return;
  // The second line's pixel at step k lies inside exactly when the first line's pixel at step k
  // lies inside the bounds turned the same way, so both clip on the first line's plan.
  const Bounds turned{twice_cx - inside.right, twice_cy - inside.bottom, twice_cx - inside.left,
                      twice_cy - inside.top};
  const auto clipped = [&](const Bounds& bounds, LinePlan& part) {
    return (Inside(bounds, a.x1, a.y1) && Inside(bounds, a.x2, a.y2)) || ClipSteps(bounds, part);
  };
  LinePlan first = plan;
  LinePlan second = plan;
  const bool has_first = clipped(inside, first);
  const bool has_second = clipped(turned, second);
  if (!has_first && !has_second) return;
  const LinePairSteps steps{buffer, plan, twice_cx, twice_cy, argb};
  if (!has_second) return steps.Paint<PairPart::kFirst>(first.first, first.last);
  if (!has_first) return steps.Paint<PairPart::kSecond>(second.first, second.last);
  // Both together where both are inside, each alone where only it is.
  const std::int64_t from = std::max(first.first, second.first);
  const std::int64_t to = std::min(first.last, second.last);
  if (from > to) {
    steps.Paint<PairPart::kFirst>(first.first, first.last);
    steps.Paint<PairPart::kSecond>(second.first, second.last);
    return;
  }
  steps.Paint<PairPart::kBoth>(from, to);
  steps.Paint<PairPart::kFirst>(first.first, from - 1);
  steps.Paint<PairPart::kFirst>(to + 1, first.last);
  steps.Paint<PairPart::kSecond>(second.first, from - 1);
  steps.Paint<PairPart::kSecond>(to + 1, second.last);
}

void DrawLine(PixelBuffer& buffer, const ClipRect& clip, std::int32_t x1, std::int32_t y1,
              std::int32_t x2, std::int32_t y2, std::uint32_t argb) {
  Ink ink(buffer, argb);
  line_trace::TraceLine(buffer, clip, x1, y1, x2, y2, ink);
}

std::int32_t PinnedDevicePixel(float coordinate) {
  if (std::isnan(coordinate)) return 0;
  return coordinate > 0 ? std::numeric_limits<std::int32_t>::max()
                        : std::numeric_limits<std::int32_t>::min();
}

}  // namespace card
