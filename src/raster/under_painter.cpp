#include "raster/under_painter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "raster/line_trace.h"

namespace card {
namespace {

// Writes the pixels it is handed that are still open, and closes them. Which pixels are open is
// read from a bit per pixel, small enough to stay in the cache, instead of from the picture.
class OpenPixels {
 public:
  OpenPixels(PixelBuffer& buffer, std::uint64_t* open_bits, std::int32_t* open_in_row,
             std::uint32_t argb)
      : buffer_(buffer), open_bits_(open_bits), open_in_row_(open_in_row), argb_(argb) {}

  void Row(int y, int from, int to) {
    if (open_in_row_[y] == 0) return;
    for (int x = from; x <= to; ++x) PaintIfOpen(Index(x, y), y);
  }
  void Column(int x, int from, int to) {
    for (int y = from; y <= to; ++y) {
      if (open_in_row_[y] != 0) PaintIfOpen(Index(x, y), y);
    }
  }
  auto Steps(const line_trace::LineSteps& s) {
    const std::ptrdiff_t stride = buffer_.stride();
    const std::ptrdiff_t major_step = s.major_y * stride + s.major_x;
    const std::ptrdiff_t minor_step = s.minor_y * stride + s.minor_x;
    // The index and row of the step's pixel at offset 0.
    return [this, index = Index(s.x, s.y), y = s.y, major_step, minor_step, major_y = s.major_y,
            minor_y = s.minor_y](std::int64_t offset) mutable {
      const std::ptrdiff_t at = index + static_cast<std::ptrdiff_t>(offset) * minor_step;
      if (IsOpen(at)) Paint(at, static_cast<int>(y + offset * minor_y));
      index += major_step;
      y += major_y;
    };
  }

 private:
  std::ptrdiff_t Index(int x, int y) const {
    return static_cast<std::ptrdiff_t>(y) * buffer_.stride() + x;
  }
  bool IsOpen(std::ptrdiff_t index) const {
    return (open_bits_[index >> 6] >> (index & 63) & 1u) != 0;
  }
  // Writes an open pixel and closes it.
  void Paint(std::ptrdiff_t index, int y) {
    open_bits_[index >> 6] &= ~(std::uint64_t{1} << (index & 63));
    buffer_.data()[index] = argb_;
    --open_in_row_[y];
  }
  void PaintIfOpen(std::ptrdiff_t index, int y) {
    if (IsOpen(index)) Paint(index, y);
  }

  PixelBuffer& buffer_;
  std::uint64_t* open_bits_;
  std::int32_t* open_in_row_;
  std::uint32_t argb_;
};

}  // namespace

UnderPainter::UnderPainter(PixelBuffer& buffer, int top, int bottom)
    : buffer_(buffer),
      open_in_row_(static_cast<std::size_t>(buffer.height()), 0),
      open_bits_((static_cast<std::size_t>(buffer.height()) * buffer.stride() + 63) / 64, 0) {
  const std::size_t stride = static_cast<std::size_t>(buffer.stride());
  for (int y = std::max(top, 0); y <= std::min(bottom, buffer.height() - 1); ++y) {
    open_in_row_[static_cast<std::size_t>(y)] = buffer.width();
    const std::size_t row = static_cast<std::size_t>(y) * stride;
    for (std::size_t index = row; index < row + stride; ++index) {
      open_bits_[index >> 6] |= std::uint64_t{1} << (index & 63);
    }
  }
}

void UnderPainter::Line(const ClipRect& clip, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                        std::int32_t y2, std::uint32_t argb) {
  OpenPixels open(buffer_, open_bits_.data(), open_in_row_.data(), argb);
  line_trace::TraceLine(buffer_, clip, x1, y1, x2, y2, open);
}

}  // namespace card
