#pragma once

#include <vector>

#include "scan/scan_settings.h"

namespace card {

// The positions (first, j) to (first + count - 1, j) of one row, count at most kBatchSize, in the
// order of the per-position procedures: coordinates, moving centre, shape value, channel mix,
// colour index and the two strokes. Their elementary functions are computed as vectors; the
// values that carry from one position to the next are settled position by position between the
// steps, exactly as one position at a time leaves them. `last` receives the inputs of the last
// position.
void ScanBatch(const ScanSettings& s, PixelCarry& carry, int first, int j, int count,
               PositionStrokes* out, PixelInputs& last);

// Sin(x) of columns 0 to last_column, for ScanSettings::column_sines; empty for no columns.
std::vector<double> ColumnSines(const ScanSettings& s, int last_column);

// One position: the same as a batch of one.
PositionStrokes ScanPosition(const ScanSettings& s, PixelCarry& carry, int i, int j,
                             PixelInputs& p);

}  // namespace card
