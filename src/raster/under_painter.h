#pragma once

#include <cstdint>
#include <vector>

#include "raster/clip_rect.h"
#include "raster/pixel_buffer.h"

namespace card {

// Paints lines underneath what is already there: a line writes only pixels of rows top..bottom
// that no earlier call has written. Its pixels are exactly those DrawLine paints within the clip,
// so drawing lines from the last to the first this way gives the picture of drawing them in order,
// with each pixel written once.
class UnderPainter {
 public:
  UnderPainter(PixelBuffer& buffer, int top, int bottom);
  void Line(const ClipRect& clip, std::int32_t x1, std::int32_t y1, std::int32_t x2,
            std::int32_t y2, std::uint32_t argb);
  // Pixels of row y not written yet.
  std::int32_t open_in_row(int y) const { return open_in_row_[static_cast<std::size_t>(y)]; }

 private:
  PixelBuffer& buffer_;
  std::vector<std::int32_t> open_in_row_;
  std::vector<std::uint64_t> open_bits_;  // bit y * stride + x set: pixel (x, y) is open
};

}  // namespace card
