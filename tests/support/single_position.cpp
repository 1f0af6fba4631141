#include "support/single_position.h"

#include "numeric/card_maths.h"

namespace card {

void PolarPosition(const ScanSettings& s, PixelCarry& carry, PixelInputs& p) {
  ScanLanes lanes;
  lanes.count = 1;
  lanes.x[0] = p.x;
  lanes.y = p.y;
  PolarPositions(s, carry, lanes);
  p.fit = lanes.fit[0];
  p.r = lanes.r[0];
}

void ShapeValue(int variant, const PixelInputs& p, double fi, double& ba) {
  ScanLanes lanes;
  lanes.count = 1;
  lanes.x[0] = p.x;
  const double sin_x = maths::Sin(p.x);
  lanes.sin_x = &sin_x;
  lanes.y = p.y;
  lanes.fit[0] = p.fit;
  lanes.r[0] = p.r;
  lanes.fi[0] = fi;
  const maths::SinCos of_r = maths::SinCosOf(p.r);
  lanes.sin_r[0] = of_r.sin;
  lanes.cos_r[0] = of_r.cos;
  ShapeValues(variant, lanes);
  KeepIfFinite(ba, lanes.shape[0]);
}

PositionSines SinesOf(const PixelInputs& p) {
  const maths::SinCos of_r = maths::SinCosOf(p.r);
  return {of_r.sin, of_r.cos, maths::Sin(p.fit)};
}

// One position on its own, its sines computed here.
void ChannelMix(const ScanSettings& s, const PixelInputs& p, PixelCarry& c) {
  ChannelMix(s, SinesOf(p), c);
}
void ColourIndex(const ScanSettings& s, const PixelInputs& p, PixelCarry& c) {
  ColourIndex(s, p, SinesOf(p), c);
}

PositionStrokes PlotPixel(const ScanSettings& s, const PixelInputs& p, PixelCarry& c, int i,
                          int j) {
  ClampColourIndex(c);
  ScanLanes lanes;
  lanes.count = 1;
  lanes.r[0] = p.r;
  lanes.fit[0] = p.fit;
  const maths::SinCos of_r = maths::SinCosOf(p.r);
  lanes.sin_r[0] = of_r.sin;
  lanes.cos_r[0] = of_r.cos;
  lanes.sin_fit[0] = maths::Sin(p.fit);
  PositionStrokes strokes;
  PlotPixels(s, lanes, &c.barva, i, j, &strokes);
  return strokes;
}

}  // namespace card
