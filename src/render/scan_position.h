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

// Up to this many neighbouring positions of a row are computed together.
inline constexpr int kBlockSize = 16;

// The same as `count` calls of ScanPosition for positions (first, j) to (first + count - 1, j),
// computed step by step across the block: neighbouring positions depend on each other only
// through the few carried values, so their maths library calls can overlap. The carried values
// are settled position by position between the steps, exactly as one position at a time leaves
// them. `last` receives the inputs of the block's last position.
inline void ScanBlock(const ScanSettings& s, PixelCarry& carry, int first, int j, int count,
                      PositionStrokes* out, PixelInputs& last) {
  PixelInputs p[kBlockSize];
  double measured[kBlockSize], shape[kBlockSize], fi[kBlockSize], barva[kBlockSize];
  PixelCarry mixed[kBlockSize];

  const float y = s.poly - static_cast<float>(j) / s.dy;
  for (int k = 0; k < count; ++k) {
    p[k].x = static_cast<float>(first + k) / s.dx - s.polx;
    p[k].y = y;
    carry.fi1 = carry.fi1 + s.korakfi1;
    p[k].fit = s.fi0 + carry.fi1;
  }
  for (int k = 0; k < count; ++k) measured[k] = MeasureFromCentre(s, p[k]);
  for (int k = 0; k < count; ++k) {
    if (!std::isnan(measured[k])) carry.fi = measured[k];
    fi[k] = carry.fi;
  }
  for (int k = 0; k < count; ++k) {
    shape[k] = kFailed;
    ShapeValue(s.shape_variant, p[k], fi[k], shape[k]);
  }
  for (int k = 0; k < count; ++k) {
    if (!std::isnan(shape[k])) carry.ba = shape[k];
    mixed[k].ba = carry.ba;
    mixed[k].re = mixed[k].gr = mixed[k].bl = kFailed;
  }
  for (int k = 0; k < count; ++k) ChannelMix(s, p[k], mixed[k]);
  for (int k = 0; k < count; ++k) {
    // A failed channel keeps the previous position's value (never negative already).
    carry.re = std::isnan(mixed[k].re) ? std::fabs(carry.re) : mixed[k].re;
    carry.gr = std::isnan(mixed[k].gr) ? std::fabs(carry.gr) : mixed[k].gr;
    carry.bl = std::isnan(mixed[k].bl) ? std::fabs(carry.bl) : mixed[k].bl;
    mixed[k].re = carry.re;
    mixed[k].gr = carry.gr;
    mixed[k].bl = carry.bl;
    mixed[k].barva = kFailed;
  }
  for (int k = 0; k < count; ++k) ColourIndex(s, p[k], mixed[k]);
  for (int k = 0; k < count; ++k) {
    if (!std::isnan(mixed[k].barva)) carry.barva = mixed[k].barva;
    ClampColourIndex(carry);
    barva[k] = carry.barva;
  }
  for (int k = 0; k < count; ++k) out[k] = StrokesOf(s, p[k], barva[k], first + k, j);
  last = p[count - 1];
}

}  // namespace card
