#pragma once

#include "scan/scan_lanes.h"

namespace card {

// The shape value of each position by one of fifteen formulas (`variant`; a selector outside 1..15
// runs the first), into lanes.shape: kFailed where the formula raises (a zero divisor, a result
// that is not finite), and then ba keeps the previous position's value; no other formula runs
// instead. Reads r, fi, x, y, fit and the sine and cosine of r from the lanes.
void ShapeValues(int variant, ScanLanes& lanes);

}  // namespace card
