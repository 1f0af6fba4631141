#pragma once

#include <cmath>
#include <cstdint>

#include "numeric/card_maths.h"
#include "render/scan_settings.h"

namespace card {

// A colour component as RGB takes it: rounded to an Integer (halves to even), above 255 counted
// as 255. Returns false where the conversion overflows and the drawing statement fails.
inline bool ColourComponent(double value, std::int32_t& component) {
  if (!(value > -32768.5 && value < 32767.5)) return false;
  const auto rounded = static_cast<std::int32_t>(std::nearbyint(value));
  if (rounded < 0) return false;
  component = rounded > 255 ? 255 : rounded;
  return true;
}

// Keeps the colour index within the palette offsets' reach, in place: what the next position keeps
// if its own colour index fails.
inline void ClampColourIndex(PixelCarry& c) {
  if (c.barva < 1) c.barva = 1;
  if (c.barva > 675) c.barva = 675;
}

// The two strokes of a position with a clamped colour index: its palette row, modulated by the
// distance and the centre angle, in chords of the 100-pixel circle around (i, j).
inline PositionStrokes StrokesOf(const ScanSettings& s, const PixelInputs& p, double barva, int i,
                                 int j) {
  const long phase = std::lrint(barva) % 280;  // Mod rounds to a whole number, halves to even
  const double idx = std::floor(static_cast<double>(s.pozic0) + static_cast<double>(phase));

  // A row outside the palette raises and leaves the channel Empty, that is 0.
  double cr = 0, cg = 0, cb = 0;
  if (idx >= 0.0 && idx < Palette::kRows) {
    const auto& row = s.palette->rgb[static_cast<std::size_t>(idx)];
    cr = row[0] * (maths::Sin(p.r) + 1);
    cg = row[1] * (maths::Sin(p.fit) + 1);
    cb = row[2] * (maths::Cos(p.r) + 1);
  }
  const double rdx = maths::Sin(cr / 100) * 100;
  const double gdx = maths::Sin(cg / 100) * 100;
  const double rdy = maths::Cos(cr / 100) * 100;
  const double gdy = maths::Cos(cg / 100) * 100;

  PositionStrokes strokes;
  const double di = i;
  const double dj = j;
  strokes.x1 = static_cast<float>(di + rdx);
  strokes.y1 = static_cast<float>(dj + rdy);
  strokes.x2 = static_cast<float>(di - gdx);
  strokes.y2 = static_cast<float>(dj - gdy);
  strokes.x3 = static_cast<float>(di - rdx);
  strokes.y3 = static_cast<float>(dj - rdy);
  strokes.x4 = static_cast<float>(di + gdx);
  strokes.y4 = static_cast<float>(dj + gdy);
  std::int32_t red = 0, green = 0, blue = 0;
  strokes.drawn =
      ColourComponent(cr, red) && ColourComponent(cg, green) && ColourComponent(cb, blue);
  strokes.colour = red + 256 * green + 65536 * blue;
  return strokes;
}

// Clamps the colour index and yields the position's two strokes.
inline PositionStrokes PlotPixel(const ScanSettings& s, const PixelInputs& p, PixelCarry& c, int i,
                                 int j) {
  ClampColourIndex(c);
  return StrokesOf(s, p, c.barva, i, j);
}

}  // namespace card
