#pragma once

#include <limits>

#include "scan/scan_settings.h"

namespace card {

// Up to this many neighbouring positions of one row are computed together: their elementary
// functions run as vectors, while the values that carry from one position to the next are settled
// in order between the steps.
inline constexpr int kBatchSize = 128;

// Marks a computed value whose statement failed, so its target keeps its previous value.
inline constexpr double kFailed = std::numeric_limits<double>::quiet_NaN();

// One batch of positions, one array per value: what each step of the scan leaves for the next.
struct ScanLanes {
  int count = 0;
  float y = 0;                    // the row's coordinate, the same for the whole batch
  float x[kBatchSize];            // coordinates in units
  const double* sin_x = nullptr;  // Sin(x) of each position, from the scan's column table
  double fit[kBatchSize];         // angle of the moving centre
  double sin_fit[kBatchSize], cos_fit[kBatchSize];
  double r[kBatchSize];  // distance from the centre
  double sin_r[kBatchSize], cos_r[kBatchSize];
  double measured[kBatchSize];  // the slope angle each position measured, or kFailed
  double fi[kBatchSize];        // the slope angle each position uses
  double shape[kBatchSize];  // the shape value each position computed; not finite where it raised
  double scratch[5][kBatchSize];  // the arguments and results of a formula's own functions
  // The strokes' angles, red for every position and then green, and their sines and cosines.
  double stroke_angle[2 * kBatchSize], stroke_sin[2 * kBatchSize], stroke_cos[2 * kBatchSize];

  PixelInputs Inputs(int k) const { return PixelInputs{x[k], y, fit[k], r[k]}; }
};

}  // namespace card
