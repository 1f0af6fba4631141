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

}  // namespace

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
