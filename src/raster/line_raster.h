#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "raster/clip_rect.h"
#include "raster/pixel_buffer.h"

namespace card {

// The in-order line painter, the hottest code of the window's card: every pixel of every line is
// written, in the order the lines come. The end-point rule is in line_trace.h.
void DrawLine(PixelBuffer& buffer, const ClipRect& clip, std::int32_t x1, std::int32_t y1,
              std::int32_t x2, std::int32_t y2, std::uint32_t argb);

// The ends of one line in device pixels.
struct LineEnds {
  std::int32_t x1, y1, x2, y2;
};

// Two lines of one colour where the second is usually the first turned half a turn about a point
// (the two strokes of a scan position). Such a pair is painted in one pass, both pixels of a step
// together, which halves the set-up and the loop's own work; any other pair is painted as two
// lines. Either way the picture is the one DrawLine gives for the first line and then the second:
// with one colour, the order of their pixels cannot show.
void DrawLinePair(PixelBuffer& buffer, const ClipRect& clip, const LineEnds& first,
                  const LineEnds& second, std::uint32_t argb);

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
