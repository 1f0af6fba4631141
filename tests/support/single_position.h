#pragma once

// Each step of the scan for one position on its own, as the per-position tests call them: the scan
// itself computes a batch of positions at a time.

#include "scan/channel_mix.h"
#include "scan/plot_pixel.h"
#include "scan/polar_position.h"
#include "scan/shape_value.h"

namespace card {

// Sets p.fit and p.r, and carry.fi unless the slope fails.
void PolarPosition(const ScanSettings& s, PixelCarry& carry, PixelInputs& p);

// The shape value with slope angle `fi`: `ba` is left as it was where the formula fails.
void ShapeValue(int variant, const PixelInputs& p, double fi, double& ba);

// The sines and cosines that the channel mix and the colour index read.
PositionSines SinesOf(const PixelInputs& p);
void ChannelMix(const ScanSettings& s, const PixelInputs& p, PixelCarry& c);
void ColourIndex(const ScanSettings& s, const PixelInputs& p, PixelCarry& c);

// Clamps the colour index and yields the position's two strokes.
PositionStrokes PlotPixel(const ScanSettings& s, const PixelInputs& p, PixelCarry& c, int i, int j);

}  // namespace card
