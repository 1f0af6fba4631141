#include "render/scan_position.h"

#include "render/channel_mix.h"
#include "render/plot_pixel.h"
#include "render/polar_position.h"
#include "render/shape_value.h"

namespace card {

void ScanBatch(const ScanSettings& s, PixelCarry& carry, int first, int j, int count,
               PositionStrokes* out, PixelInputs& last) {
  ScanLanes lanes;
  lanes.count = count;
  lanes.y = s.poly - static_cast<float>(j) / s.dy;
  for (int k = 0; k < count; ++k) lanes.x[k] = static_cast<float>(first + k) / s.dx - s.polx;
  PolarPositions(s, carry, lanes);
  ShapeValues(s.shape_variant, lanes);

  // The shape value, the channels and the colour index carry from position to position: in order.
  double barva[kBatchSize];
  for (int k = 0; k < count; ++k) {
    KeepUnlessFailed(carry.ba, lanes.shape[k]);
    const PositionSines sines{lanes.sin_r[k], lanes.cos_r[k], lanes.sin_fit[k]};
    ChannelMix(s, sines, carry);
    ColourIndex(s, lanes.Inputs(k), sines, carry);
    ClampColourIndex(carry);
    barva[k] = carry.barva;
  }

  PlotPixels(s, lanes, barva, first, j, out);
  last = lanes.Inputs(count - 1);
}

PositionStrokes ScanPosition(const ScanSettings& s, PixelCarry& carry, int i, int j,
                             PixelInputs& p) {
  PositionStrokes strokes;
  ScanBatch(s, carry, i, j, 1, &strokes, p);
  return strokes;
}

}  // namespace card
