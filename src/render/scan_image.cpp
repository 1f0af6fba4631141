#include <algorithm>

#include "app/form1.h"
#include "render/fast_scan.h"
#include "render/scan_position.h"

namespace card {

// Clears the picture and visits every position of the coordinate window row by row from the top,
// letting the window handle its events once per row so the card grows visibly and the buttons stay
// live. The loop counters are its own: a save handled between rows uses `i` and `j` for its copy
// without cutting this scan short.
void Form1::ScanImage() {
  Surface& picture = platform_.picture1;
  picture.SetBackColor(RGB(Value::Integer(0), Value::Integer(0), Value::Integer(0)));

  const PaletteTable table = Tabulate(palette);
  const ScanSettings settings = CurrentScanSettings(table);
  PixelCarry carry = CurrentCarry();
  PixelInputs position;
  bool visited = false;

  const int last_row = ToInteger(vis);
  if (whole_card_threads_ > 0) {
    const int last_column = ToInteger(sir);
    if (last_row >= 0 && last_column >= 0 && (settings.dx == 0 || settings.dy == 0)) {
      throw RuntimeError(ErrorNumber::kDivisionByZero);
    }
    const FastScanResult whole =
        FastScan(settings, carry, last_column, last_row, picture.pixels(), whole_card_threads_);
    carry = whole.carry;
    position = whole.last;
    visited = whole.visited;
    if (last_row >= 0) i = Value::Integer(static_cast<std::int16_t>(last_column + 1));
  } else {
    for (int row = 0; row <= last_row; ++row) {
      j = Value::Integer(static_cast<std::int16_t>(row));
      platform_.events.DoEvents();
      if (restart_requested_ || exit_requested_) {
        StoreCarry(carry);
        throw CardInterrupted{};
      }
      const int last_column = ToInteger(sir);
      if (last_column >= 0 && (settings.dx == 0 || settings.dy == 0)) {
        throw RuntimeError(ErrorNumber::kDivisionByZero);
      }
      for (int column = 0; column <= last_column; column += kBlockSize) {
        const int count = std::min(kBlockSize, last_column + 1 - column);
        PositionStrokes block[kBlockSize];
        ScanBlock(settings, carry, column, row, count, block, position);
        for (int k = 0; k < count; ++k) {
          const PositionStrokes& s = block[k];
          if (s.drawn) {
            picture.Line(s.x1, s.y1, s.x2, s.y2, s.colour);
            picture.Line(s.x3, s.y3, s.x4, s.y4, s.colour);
          }
        }
        visited = true;
      }
      i = Value::Integer(static_cast<std::int16_t>(last_column + 1));
    }
  }
  j = Value::Integer(static_cast<std::int16_t>(last_row + 1));

  StoreCarry(carry);
  if (visited) {
    x = Value::Single(position.x);
    y = Value::Single(position.y);
    fit = Value::Double(position.fit);
    r = Value::Double(position.r);
  }
}

}  // namespace card
