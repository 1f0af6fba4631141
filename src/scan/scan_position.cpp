#include "scan/scan_position.h"

#include <algorithm>

#include "numeric/card_maths.h"
#include "scan/channel_mix.h"
#include "scan/plot_pixel.h"
#include "scan/polar_position.h"
#include "scan/shape_value.h"

namespace card {

void ScanBatch(const ScanSettings& s, PixelCarry& carry, int first, int j, int count,
               PositionStrokes* out, PixelInputs& last) {
  ScanLanes lanes;
  lanes.count = count;
  lanes.y = RowY(s, j);
  for (int k = 0; k < count; ++k) lanes.x[k] = ColumnX(s, first + k);
  lanes.sin_x = s.column_sines + first;
  PolarPositions(s, carry, lanes);
  ShapeValues(s.shape_variant, lanes);

  // The shape value, the channels and the colour index carry from position to position: in order.
  double barva[kBatchSize];
  for (int k = 0; k < count; ++k) {
    KeepIfFinite(carry.ba, lanes.shape[k]);
    const PositionSines sines{lanes.sin_r[k], lanes.cos_r[k], lanes.sin_fit[k]};
    ChannelMix(s, sines, carry);
    ColourIndex(s, lanes.Inputs(k), sines, carry);
    ClampColourIndex(carry);
    barva[k] = carry.barva;
  }

  PlotPixels(s, lanes, barva, first, j, out);
  last = lanes.Inputs(count - 1);
}

std::vector<double> ColumnSines(const ScanSettings& s, int last_column) {
  const auto columns = static_cast<std::size_t>(std::max(last_column + 1, 0));
  std::vector<double> x(columns), sin(columns), cos(columns);
  for (std::size_t i = 0; i < columns; ++i) x[i] = ColumnX(s, static_cast<int>(i));
  maths::SinCosArray(x.data(), sin.data(), cos.data(), columns);
  return sin;
}

PositionStrokes ScanPosition(const ScanSettings& s, PixelCarry& carry, int i, int j,
                             PixelInputs& p) {
  PositionStrokes strokes;
  ScanBatch(s, carry, i, j, 1, &strokes, p);
  return strokes;
}

}  // namespace card
