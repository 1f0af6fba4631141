#pragma once

#include <cstdint>
#include <memory>

#include "raster/pixel_buffer.h"
#include "scan/scan_settings.h"

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

// The same scan in steps on one thread, for a front end that shows the card growing (the web
// page): each step computes a few rows of positions and paints, with the last-to-first painter, the
// rows that no later position can reach any more. So the card grows from the top, every row that
// shows is final, and the picture is FastScan's.
class GrowingFastScan {
 public:
  GrowingFastScan(const ScanSettings& settings, const PixelCarry& carry, int last_column,
                  int last_row, PixelBuffer& picture);
  ~GrowingFastScan();
  // Computes up to `rows` more rows of positions and paints what they finish; true while
  // positions remain.
  bool Advance(int rows);
  int painted_rows() const;  // rows 0 to painted_rows() - 1 of the picture are final
  FastScanResult result() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The number of threads that suits this machine: one per core.
int DefaultThreadCount();

}  // namespace card
