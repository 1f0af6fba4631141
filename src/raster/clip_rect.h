#pragma once

namespace card {

// The rectangle that a line is clipped to. Clipping never changes which pixels a line covers
// (the end-point rule, raster/line_trace.h), only which of them are written.
struct ClipRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // inclusive pixel bounds
};

}  // namespace card
