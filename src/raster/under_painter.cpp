#include "raster/under_painter.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "raster/line_trace.h"

namespace card {
namespace {

// Writes the pixels it is handed that are still open, and closes them. Indices count from the
// band's first row, for the open bytes and the band's pixels alike.
class OpenPixels {
 public:
  OpenPixels(UnderPainter::Open& open, std::uint32_t* pixels, int top, std::uint32_t argb)
      : open_(open), pixels_(pixels), top_(top), argb_(argb) {}

  void Row(int y, int from, int to) {
    const std::ptrdiff_t row = Index(0, y);
    for (int x = from; x <= to; ++x) PaintIfOpen(row + x);
    traced += to - from + 1;
  }
  void Column(int x, int from, int to) {
    for (int y = from; y <= to; ++y) PaintIfOpen(Index(x, y));
    traced += to - from + 1;
  }
  auto Steps(const line_trace::LineSteps& s) {
    traced += s.pixels;
    const std::ptrdiff_t stride = open_.stride;
    const std::ptrdiff_t major_step = s.major_y * stride + s.major_x;
    const std::ptrdiff_t minor_step = s.minor_y * stride + s.minor_x;
    // Nearly every pixel traced is closed: the loop only reads a byte for those.
    return [this, open = open_.pixel, index = Index(s.x, s.y), major_step,
            minor_step](std::int64_t offset) mutable {
      const std::ptrdiff_t at = index + static_cast<std::ptrdiff_t>(offset) * minor_step;
      if (open[at] != 0) Paint(at);
      index += major_step;
    };
  }

  std::int64_t traced = 0;

 private:
  std::ptrdiff_t Index(int x, int y) const {
    return static_cast<std::ptrdiff_t>(y - top_) * open_.stride + x;
  }
  void Paint(std::ptrdiff_t at) {
    pixels_[at] = argb_;
    open_.Close(at);
  }
  void PaintIfOpen(std::ptrdiff_t at) {
    if (open_.pixel[at] != 0) Paint(at);
  }

  UnderPainter::Open& open_;
  std::uint32_t* pixels_;
  int top_;
  std::uint32_t argb_;
};

constexpr ClipRect kNothingOpen{0, 0, -1, -1};

}  // namespace

void UnderPainter::Open::Close(std::ptrdiff_t at) {
  pixel[at] = 0;
  // at / stride by a multiplication where that is exact (see the constructor).
  const auto row = static_cast<std::uint32_t>(
      row_reciprocal != 0 ? static_cast<std::uint64_t>(at) * row_reciprocal >> 32
                          : static_cast<std::uint64_t>(at) / stride);
  const std::uint32_t x = static_cast<std::uint32_t>(at) - row * stride;
  const std::uint32_t tile_row = row >> kTileHeightShift;
  const std::uint32_t tile = x >> tile_shift;
  if (--in_tile[tile_row * static_cast<std::uint32_t>(tile_columns) + tile] == 0) {
    tile_rows[tile_row] &= ~(std::uint64_t{1} << tile);
  }
}

UnderPainter::UnderPainter(PixelBuffer& buffer, int top, int bottom)
    : buffer_(buffer),
      top_(std::max(top, 0)),
      bottom_(std::min(bottom, buffer.height() - 1)),
      open_rect_{0, top_, buffer.width() - 1, bottom_} {
  const int width = buffer.width();
  const int rows = std::max(bottom_ - top_ + 1, 0);
  if (width <= 0 || rows == 0) {
    open_rect_ = kNothingOpen;
    return;
  }
  const auto stride = static_cast<std::size_t>(buffer.stride());
  open_pixels_.assign(static_cast<std::size_t>(rows) * stride, 0);
  for (std::size_t r = 0; r < static_cast<std::size_t>(rows); ++r) {
    std::fill_n(open_pixels_.begin() + static_cast<std::ptrdiff_t>(r * stride), width, 1);
  }
  // Tiles 16 pixels wide, or wider for pictures beyond 1024 pixels: a row of tiles is one word.
  int shift = 4;
  while ((width - 1) >> shift >= 64) ++shift;
  const int tile_columns = ((width - 1) >> shift) + 1;
  const int tile_rows = ((rows - 1) >> kTileHeightShift) + 1;
  open_in_tile_.assign(static_cast<std::size_t>(tile_rows) * static_cast<std::size_t>(tile_columns),
                       0);
  for (int r = 0; r < rows; ++r) {
    for (int x = 0; x < width; ++x) {
      ++open_in_tile_[static_cast<std::size_t>((r >> kTileHeightShift) * tile_columns +
                                               (x >> shift))];
    }
  }
  open_tile_rows_.assign(
      static_cast<std::size_t>(tile_rows),
      tile_columns == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << tile_columns) - 1);
  // floor(at * ceil(2^32 / stride) / 2^32) is at / stride for every index below 2^32 / stride.
  const std::uint64_t reciprocal = ((std::uint64_t{1} << 32) + stride - 1) / stride;
  const bool reciprocal_exact =
      static_cast<std::uint64_t>(open_pixels_.size()) * stride < (std::uint64_t{1} << 32);
  open_ = Open{open_pixels_.data(),
               open_in_tile_.data(),
               open_tile_rows_.data(),
               static_cast<std::uint32_t>(stride),
               reciprocal_exact ? reciprocal : 0,
               tile_columns,
               shift};
  open_left_.assign(static_cast<std::size_t>(rows), 0);
  open_right_.assign(static_cast<std::size_t>(rows), width - 1);
}

void UnderPainter::Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                        std::uint32_t argb) {
  // The line's box within the open rectangle.
  const int left = std::max(std::min(x1, x2), open_rect_.left);
  const int right = std::min(std::max(x1, x2), open_rect_.right);
  const int top = std::max(std::min(y1, y2), open_rect_.top);
  const int bottom = std::min(std::max(y1, y2), open_rect_.bottom);
  if (left > right || top > bottom) return;

  // The open tiles in it: the first and last rows of tiles with any, and their columns.
  const int shift = open_.tile_shift;
  const int first_column = left >> shift;
  const int last_column = right >> shift;
  const std::uint64_t columns = (~std::uint64_t{0} >> (63 - (last_column - first_column)))
                                << first_column;
  int first_row = (top - top_) >> kTileHeightShift;
  int last_row = (bottom - top_) >> kTileHeightShift;
  while (first_row <= last_row &&
         (open_tile_rows_[static_cast<std::size_t>(first_row)] & columns) == 0) {
    ++first_row;
  }
  if (first_row > last_row) return;
  while ((open_tile_rows_[static_cast<std::size_t>(last_row)] & columns) == 0) --last_row;
  std::uint64_t open_columns = 0;
  for (int r = first_row; r <= last_row; ++r) {
    open_columns |= open_tile_rows_[static_cast<std::size_t>(r)];
  }
  open_columns &= columns;
  const ClipRect clip{
      std::max(left, std::countr_zero(open_columns) << shift),
      std::max(top, top_ + (first_row << kTileHeightShift)),
      std::min(right, ((64 - std::countl_zero(open_columns)) << shift) - 1),
      std::min(bottom, top_ + (last_row << kTileHeightShift) + (1 << kTileHeightShift) - 1)};

  OpenPixels open(open_, buffer_.scanline(top_), top_, argb);
  line_trace::TraceLine(buffer_, clip, x1, y1, x2, y2, open);
  traced_ += open.traced;
}

void UnderPainter::ShrinkToOpen() {
  if (full()) return;
  const std::ptrdiff_t stride = buffer_.stride();
  int left = buffer_.width(), right = -1;
  int top = bottom_ + 1, bottom = top_ - 1;
  for (int y = open_rect_.top; y <= open_rect_.bottom; ++y) {
    const auto r = static_cast<std::size_t>(y - top_);
    const std::uint8_t* row = open_pixels_.data() + static_cast<std::ptrdiff_t>(r) * stride;
    std::int32_t& row_left = open_left_[r];
    std::int32_t& row_right = open_right_[r];
    while (row_left <= row_right && row[row_left] == 0) ++row_left;
    while (row_right >= row_left && row[row_right] == 0) --row_right;
    if (row_left > row_right) continue;
    left = std::min(left, row_left);
    right = std::max(right, row_right);
    top = std::min(top, y);
    bottom = y;
  }
  open_rect_ = top <= bottom ? ClipRect{left, top, right, bottom} : kNothingOpen;
}

std::int32_t UnderPainter::open_in_row(int y) const {
  if (y < top_ || y > bottom_ || open_pixels_.empty()) return 0;
  const std::uint8_t* row =
      open_pixels_.data() + static_cast<std::ptrdiff_t>(y - top_) * buffer_.stride();
  return static_cast<std::int32_t>(std::count(row, row + buffer_.width(), 1));
}

}  // namespace card
