#pragma once

#include <cstdint>
#include <vector>

#include "raster/clip_rect.h"
#include "raster/pixel_buffer.h"

namespace card {

// Paints lines underneath what is already there, in the band of rows top..bottom: a line writes
// only the pixels of the band that no earlier line has written. Its pixels are exactly those
// DrawLine paints within the band, so drawing lines from the last to the first this way gives the
// picture of drawing them in order, with each pixel written once.
//
// Which pixels are open is kept a byte a pixel beside the picture, and a bit a tile (a block of
// pixels) says whether the tile has any. A line is traced only within the box around the open
// tiles that its own box meets: clipping never changes which pixels a line covers, so the box
// leaves out closed pixels alone.
class UnderPainter {
 public:
  UnderPainter(PixelBuffer& buffer, int top, int bottom);

  void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint32_t argb);

  // Narrows the open rectangle down to the open pixels. Costs a few steps per open row; call it
  // now and then, not per line.
  void ShrinkToOpen();
  // The rectangle every open pixel lay in at the last ShrinkToOpen; empty once the band is full.
  const ClipRect& open_rect() const { return open_rect_; }
  bool full() const { return open_rect_.top > open_rect_.bottom; }

  // Pixels of row y not written yet (counted, for tests).
  std::int32_t open_in_row(int y) const;
  // Pixels handed to the painter so far, open or not: the work it has done.
  std::int64_t traced_pixels() const { return traced_; }

  // The state a painted pixel updates; public for the painter's pixel loop only.
  struct Open {
    std::uint8_t* pixel;            // 1 while the pixel at (y - top) * stride + x is open
    std::uint16_t* in_tile;         // open pixels per tile
    std::uint64_t* tile_rows;       // per row of tiles: bit t set while tile t has open pixels
    std::uint32_t stride;           // of the picture, in pixels
    std::uint64_t row_reciprocal;   // ceil(2^32 / stride), or 0 where that is not exact
    int tile_columns;               // tiles per row of tiles
    int tile_shift;                 // a tile is 1 << tile_shift pixels wide
    void Close(std::ptrdiff_t at);  // closes an open pixel
  };

 private:
  static constexpr int kTileHeightShift = 3;  // tiles are 8 rows tall

  PixelBuffer& buffer_;
  int top_, bottom_;
  std::vector<std::uint8_t> open_pixels_;
  std::vector<std::uint16_t> open_in_tile_;
  std::vector<std::uint64_t> open_tile_rows_;
  Open open_;
  std::vector<std::int32_t> open_left_;   // per band row: the open columns lie in left..right
  std::vector<std::int32_t> open_right_;  // (left > right: the row is full)
  ClipRect open_rect_;
  std::int64_t traced_ = 0;
};

}  // namespace card
