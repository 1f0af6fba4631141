#include <algorithm>

#include "app/form1.h"
#include "render/fast_scan.h"
#include "render/scan_position.h"

namespace card {

// Clears the picture and visits every position of the coordinate window row by row from the top,
// and leaves the state the last position leaves.
void Form1::ScanImage() {
  Surface& picture = platform_.picture1;
  picture.SetBackColor(RGB(Value::Integer(0), Value::Integer(0), Value::Integer(0)));

  const PaletteTable table = Tabulate(palette);
  const ScanSettings settings = CurrentScanSettings(table);
  PixelCarry carry = CurrentCarry();
  PixelInputs last;
  const int last_row = ToInteger(vis);
  const bool visited = whole_card_threads_ > 0 ? ScanAtOnce(settings, last_row, carry, last)
                                               : ScanRowByRow(settings, last_row, carry, last);
  j = Value::Integer(static_cast<std::int16_t>(last_row + 1));
  StoreCarry(carry);
  if (visited) {
    x = Value::Single(last.x);
    y = Value::Single(last.y);
    fit = Value::Double(last.fit);
    r = Value::Double(last.r);
  }
}

// The window's scan: the window handles its events once per row, so the card grows visibly and
// the buttons stay live. The loop counters are its own: a save handled between rows uses `i` and
// `j` for its copy without cutting this scan short.
bool Form1::ScanRowByRow(const ScanSettings& settings, int last_row, PixelCarry& carry,
                         PixelInputs& last) {
  Surface& picture = platform_.picture1;
  bool visited = false;
  for (int row = 0; row <= last_row; ++row) {
    j = Value::Integer(static_cast<std::int16_t>(row));
    platform_.events.DoEvents();
    if (restart_requested_ || exit_requested_) {
      StoreCarry(carry);
      throw CardInterrupted{};
    }
    const int last_column = ToInteger(sir);  // read once per row, as the loop reads its end
    if (last_column >= 0 && (settings.dx == 0 || settings.dy == 0)) {
      throw RuntimeError(ErrorNumber::kDivisionByZero);
    }
    for (int column = 0; column <= last_column; column += kBlockSize) {
      const int count = std::min(kBlockSize, last_column + 1 - column);
      PositionStrokes block[kBlockSize];
      ScanBlock(settings, carry, column, row, count, block, last);
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
  return visited;
}

// The headless scan: the whole card at once on several threads, with the same result.
bool Form1::ScanAtOnce(const ScanSettings& settings, int last_row, PixelCarry& carry,
                       PixelInputs& last) {
  const int last_column = ToInteger(sir);
  if (last_row >= 0 && last_column >= 0 && (settings.dx == 0 || settings.dy == 0)) {
    throw RuntimeError(ErrorNumber::kDivisionByZero);
  }
  const FastScanResult whole = FastScan(settings, carry, last_column, last_row,
                                        platform_.picture1.pixels(), whole_card_threads_);
  carry = whole.carry;
  last = whole.last;
  if (last_row >= 0) i = Value::Integer(static_cast<std::int16_t>(last_column + 1));
  return whole.visited;
}

}  // namespace card
