#include "scan/plot_pixel.h"

#include <cmath>

#include "numeric/card_maths.h"
#include "numeric/colour_component.h"

namespace card {

void PlotPixels(const ScanSettings& s, ScanLanes& l, const double* barva, int first_column, int row,
                PositionStrokes* out) {
  const int n = l.count;
  // Red and green turn into angles: both go through one sincos call, red first.
  double* angle = l.stroke_angle;  // [0, n): red; [n, 2n): green
  double* cb = l.scratch[0];
  for (int k = 0; k < n; ++k) {
    const long phase = std::lrint(barva[k]) % 280;  // Mod rounds to a whole number, halves to even
    const double idx = std::floor(static_cast<double>(s.pozic0) + static_cast<double>(phase));
    // A row outside the palette raises and leaves the channel Empty, that is 0.
    double cr = 0, cg = 0, blue = 0;
    if (idx >= 0.0 && idx < kPaletteRows) {
      const auto& rgb = s.palette->rgb[static_cast<std::size_t>(idx)];
      cr = rgb[0] * (l.sin_r[k] + 1);
      cg = rgb[1] * (l.sin_fit[k] + 1);
      blue = rgb[2] * (l.cos_r[k] + 1);
    }
    angle[k] = cr;
    angle[n + k] = cg;
    cb[k] = blue;
  }
  // The colour needs the unsaturated intensities before they turn into angles.
  for (int k = 0; k < n; ++k) {
    std::int32_t red = 0, green = 0, blue = 0;
    out[k].drawn = ToColourComponent(angle[k], red) == ComponentStatus::kOk &&
                   ToColourComponent(angle[n + k], green) == ComponentStatus::kOk &&
                   ToColourComponent(cb[k], blue) == ComponentStatus::kOk;
    out[k].colour = red + 256 * green + 65536 * blue;
  }
  for (int k = 0; k < 2 * n; ++k) angle[k] = angle[k] / 100;
  maths::SinCosArray(angle, l.stroke_sin, l.stroke_cos, static_cast<std::size_t>(2 * n));
  for (int k = 0; k < n; ++k) {
    const double rdx = l.stroke_sin[k] * kStrokeRadius;
    const double gdx = l.stroke_sin[n + k] * kStrokeRadius;
    const double rdy = l.stroke_cos[k] * kStrokeRadius;
    const double gdy = l.stroke_cos[n + k] * kStrokeRadius;
    const double di = first_column + k;
    const double dj = row;
    PositionStrokes& strokes = out[k];
    strokes.x1 = static_cast<float>(di + rdx);
    strokes.y1 = static_cast<float>(dj + rdy);
    strokes.x2 = static_cast<float>(di - gdx);
    strokes.y2 = static_cast<float>(dj - gdy);
    strokes.x3 = static_cast<float>(di - rdx);
    strokes.y3 = static_cast<float>(dj - rdy);
    strokes.x4 = static_cast<float>(di + gdx);
    strokes.y4 = static_cast<float>(dj + gdy);
  }
}

}  // namespace card
