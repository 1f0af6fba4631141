#pragma once

#include <cmath>
#include <cstdint>

#include "scan/palette_table.h"

namespace card {

// What stays fixed while one card is scanned, as plain numbers of the kinds the card's variables
// hold: Singles as float, Doubles as double.
struct ScanSettings {
  float dx = 0, dy = 0, polx = 0, poly = 0;  // geometry of the coordinate window
  double fi0 = 0, korakfi1 = 0;              // start angle and step of the moving centre
  float r0 = 0;                              // radius of the moving centre
  float fak1 = 0, fak2 = 0, fak3 = 0;        // channel factors
  float pozic0 = 0;                          // palette offset
  // The variants that the selectors tip1, tip2 and tip3 jump to (a selector that cannot jump
  // runs variant 1).
  int shape_variant = 1, mix_variant = 1, index_variant = 1;
  const PaletteTable* palette = nullptr;
  // Sin(x) of every column the scan visits: x depends on the column alone (ColumnSines).
  const double* column_sines = nullptr;
};

// The coordinates of a column and of a row in units, y pointing up.
inline float ColumnX(const ScanSettings& s, int i) {
  return static_cast<float>(i) / s.dx - s.polx;
}
inline float RowY(const ScanSettings& s, int j) {
  return s.poly - static_cast<float>(j) / s.dy;
}

// The variables that carry from one scan position to the next. Where a statement fails, its target
// keeps the value that the previous position left.
struct PixelCarry {
  double fi1 = 0;                 // angle accumulated by the moving centre
  double fi = 0;                  // slope angle seen from the centre
  double ba = 0;                  // shape value
  double re = 0, gr = 0, bl = 0;  // channel values
  double barva = 0;               // colour index

  friend bool operator==(const PixelCarry&, const PixelCarry&) = default;
};

// A statement whose result is not a finite number raised (it overflowed, or a function failed), so
// its target keeps the value it had: the rule of every value the scan carries.
inline void KeepIfFinite(double& target, double computed) {
  if (std::isfinite(computed)) target = computed;
}

// The values of one position that the later steps read.
struct PixelInputs {
  float x = 0, y = 0;  // coordinates in units, y up
  double fit = 0;      // angle of the moving centre
  double r = 0;        // distance from the centre
};

// The strokes' ends lie on a circle of this radius around their position, in pixels.
inline constexpr int kStrokeRadius = 100;

// The two strokes of one position as the drawing statements receive them: Single end points in
// pixels and one packed colour. `drawn` is false when the colour statement failed and both strokes
// are skipped.
struct PositionStrokes {
  float x1, y1, x2, y2;  // first stroke
  float x3, y3, x4, y4;  // second stroke, the first reflected through the position
  std::int32_t colour;
  bool drawn;
};

}  // namespace card
