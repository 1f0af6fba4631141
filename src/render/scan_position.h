#pragma once

#include "render/channel_mix.h"
#include "render/plot_pixel.h"
#include "render/polar_position.h"
#include "render/scan_settings.h"
#include "render/shape_value.h"

namespace card {

// Everything one scan position computes, in the order of the per-position procedures:
// coordinates, moving centre, shape value, channel mix, colour index and the two strokes.
// `p` receives the position's coordinates, centre angle and distance.
inline PositionStrokes ScanPosition(const ScanSettings& s, PixelCarry& carry, int i, int j,
                                    PixelInputs& p) {
  p.x = static_cast<float>(i) / s.dx - s.polx;
  p.y = s.poly - static_cast<float>(j) / s.dy;
  PolarPosition(s, carry, p);
  ShapeValue(s.shape_variant, p, carry.fi, carry.ba);
  ChannelMix(s, p, carry);
  ColourIndex(s, p, carry);
  return PlotPixel(s, p, carry, i, j);
}

}  // namespace card
