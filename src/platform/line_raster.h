#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/pixel_buffer.h"

namespace card {

// Integer line rasteriser, the hottest code of the program.
//
// End-point rule, used for every line of the program: a line covers both of its end points; a line
// whose ends coincide covers that one pixel. The pixels are those of a DDA along the major axis
// (the axis with the larger extent; x when the extents are equal): at major step k the minor
// coordinate is the start's plus round(k * minor_extent / major_extent), halves rounded away
// from the start. Clipping never changes which pixels a line covers, only which of them are
// written: a clipped line paints exactly the part of the unclipped line that lies inside.
//
// Coordinates may lie anywhere in the 32-bit range; a line that misses the clip rectangle writes
// nothing.
struct ClipRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // inclusive pixel bounds
};

void DrawLine(PixelBuffer& buffer, const ClipRect& clip, std::int32_t x1, std::int32_t y1,
              std::int32_t x2, std::int32_t y2, std::uint32_t argb);

inline void DrawLine(PixelBuffer& buffer, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                     std::int32_t y2, std::uint32_t argb) {
  DrawLine(buffer, ClipRect{0, 0, buffer.width() - 1, buffer.height() - 1}, x1, y1, x2, y2, argb);
}

// Maps a Single surface coordinate to a device pixel: nearest whole number, halves to even.
// Values beyond the 32-bit range are pinned to it; NaN maps to 0.
std::int32_t PinnedDevicePixel(float coordinate);
inline std::int32_t DevicePixel(float coordinate) {
  // llrint rounds like nearbyint, in the current mode (to nearest, halves to even, which the
  // program never changes), but compiles to one instruction. NaN and values beyond the 32-bit
  // range come back outside it too and take the slow way. Every line end passes here.
  const long long rounded = std::llrint(coordinate);
  if (rounded >= std::numeric_limits<std::int32_t>::min() &&
      rounded <= std::numeric_limits<std::int32_t>::max()) {
    return static_cast<std::int32_t>(rounded);
  }
  return PinnedDevicePixel(coordinate);
}

}  // namespace card
