#pragma once

#include "scan/scan_lanes.h"

namespace card {

// Keeps the colour index within the palette offsets' reach, in place: what the next position keeps
// if its own colour index fails.
inline void ClampColourIndex(PixelCarry& c) {
  if (c.barva < 1) c.barva = 1;
  if (c.barva > 675) c.barva = 675;
}

// The two strokes of each position from its clamped colour index `barva[k]`: its palette row,
// modulated by the distance and the centre angle, in chords of the 100-pixel circle around the
// position (first_column + k, row). Reads r, fit and their sines from the lanes.
void PlotPixels(const ScanSettings& s, ScanLanes& lanes, const double* barva, int first_column,
                int row, PositionStrokes* out);

}  // namespace card
