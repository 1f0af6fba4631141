#pragma once

#include "scan/scan_lanes.h"

namespace card {

// Advances the moving centre one step per position along its circle and measures each position
// from it: the distance r and the slope angle fi. Where the slope fails (a position straight above
// or below the centre), fi keeps the previous position's value while r is already new. Leaves
// sin and cos of fit and of r in the lanes for the later steps.
void PolarPositions(const ScanSettings& s, PixelCarry& carry, ScanLanes& lanes);

}  // namespace card
