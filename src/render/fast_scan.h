#pragma once

#include <cstdint>

#include "raster/pixel_buffer.h"
#include "render/scan_settings.h"

namespace card {

// The whole scan of a card at once, for when nobody watches the card grow (the headless renderer,
// batches, tests). It gives exactly the pixels and carried values of the row-by-row scan:
//
// - The per-position math runs in one contiguous run of positions per thread. A run after the
//   first starts from a guessed carry-over state; once the run before it has finished, its first
//   positions are computed again from the true state until both agree (the carried values change
//   only where a statement fails, so they agree after the first position or so).
// - The strokes are drawn from the last to the first, each pixel written only while it is still
//   unwritten: the last stroke over a pixel is the one that stays, so the picture is the same as
//   drawing every stroke in order. Rows that are full are cut off before a line is traced.
// - Each thread draws one horizontal band of the picture with every stroke clipped to it.
struct FastScanResult {
  PixelCarry carry;                // the carried values after the last position
  PixelInputs last;                // coordinates, centre angle and distance of the last position
  bool visited = false;            // whether any position was visited
  std::int64_t traced_pixels = 0;  // pixels the strokes were traced over, open or not (work done)
};

FastScanResult FastScan(const ScanSettings& settings, const PixelCarry& carry, int last_column,
                        int last_row, PixelBuffer& picture, int threads);

// The number of threads that suits this machine: one per core.
int DefaultThreadCount();

}  // namespace card
