#include <algorithm>
#include <memory>
#include <vector>

#include "form/form1.h"
#include "scan/fast_scan.h"
#include "scan/scan_lanes.h"
#include "scan/scan_position.h"
#include "scan/scan_state.h"

namespace card {

struct Form1::ScanInProgress {
  PaletteTable table;
  std::vector<double> column_sines;
  ScanSettings settings;
  PixelCarry carry;
  PixelInputs last;
  int last_row = -1;
  int next_row = 0;
  bool visited = false;
  std::unique_ptr<GrowingFastScan> growing;  // for PaintFinishedRowsOnly
};

void Form1::EndScan::operator()(ScanInProgress* scan) const {
  delete scan;
}

// Clears the picture and visits every position of the coordinate window row by row from the top,
// and leaves the state the last position leaves.
void Form1::ScanImage() {
  BeginScan();
  ScanRemainingRows();
  FinishScan();
}

void Form1::ScanRemainingRows() {
  if (whole_card_threads_ > 0) {
    ScanAtOnce();
    return;
  }
  while (NextRowAfterEvents()) ScanRows(1);
}

// The window handles its events once per row, so the card grows visibly and the buttons stay live.
// The loop counters are the scan's own: a save handled between rows uses `i` and `j` for its copy
// without cutting this scan short.
bool Form1::NextRowAfterEvents() {
  if (!scan_ || scan_->next_row > scan_->last_row) return false;
  j = Value::Integer(static_cast<std::int16_t>(scan_->next_row));
  platform_.events.DoEvents();
  if (restart_requested_ || exit_requested_) {
    StoreCarry(*this, scan_->carry);
    scan_.reset();
    throw CardInterrupted{};
  }
  return true;
}

void Form1::BeginScan() {
  Surface& picture = platform_.picture1;
  picture.SetBackColor(RGB(Value::Integer(0), Value::Integer(0), Value::Integer(0)));
  scan_.reset(new ScanInProgress());
  scan_->table = Tabulate(palette);
  scan_->settings = ScanSettingsOf(*this, scan_->table);
  scan_->carry = CarryOf(*this);
  scan_->last_row = ToInteger(vis);  // read once, as the row loop reads its end
  if (paint_finished_rows_only_) {
    const int last_row = scan_->last_row;
    const int last_column = last_row >= 0 ? NextRowColumns() : ToInteger(sir);
    scan_->growing = std::make_unique<GrowingFastScan>(scan_->settings, scan_->carry, last_column,
                                                       last_row, picture.pixels());
  }
}

bool Form1::ScanRows(int count) {
  if (!scan_) return false;
  Surface& picture = platform_.picture1;
  if (scan_->growing) {
    GrowingFastScan& growing = *scan_->growing;
    const int painted = growing.painted_rows();
    const bool more = growing.Advance(count);
    if (growing.painted_rows() > painted)
      picture.MarkRowsDrawn(painted, growing.painted_rows() - 1);
    if (!more) TakeWholeScan(growing.result());
    return more;
  }
  const ScanSettings& settings = scan_->settings;
  for (; count > 0 && scan_->next_row <= scan_->last_row; --count) {
    const int row = scan_->next_row++;
    j = Value::Integer(static_cast<std::int16_t>(row));
    const int last_column = NextRowColumns();
    for (int column = 0; column <= last_column; column += kBatchSize) {
      const int n = std::min(kBatchSize, last_column + 1 - column);
      PositionStrokes block[kBatchSize];
      ScanBatch(settings, scan_->carry, column, row, n, block, scan_->last);
      for (int k = 0; k < n; ++k) {
        const PositionStrokes& s = block[k];
        if (s.drawn) {
          picture.LinePair(s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4, s.colour);
        }
      }
      scan_->visited = true;
    }
    i = Value::Integer(static_cast<std::int16_t>(last_column + 1));
  }
  return scan_->next_row <= scan_->last_row;
}

void Form1::FinishScan() {
  if (!scan_) return;
  j = Value::Integer(static_cast<std::int16_t>(scan_->last_row + 1));
  StoreCarry(*this, scan_->carry);
  if (scan_->visited) {
    x = Value::Single(scan_->last.x);
    y = Value::Single(scan_->last.y);
    fit = Value::Double(scan_->last.fit);
    r = Value::Double(scan_->last.r);
  }
  scan_.reset();
}

// The last column of the coming row, read once a row as the loop reads its end, with the table of
// the columns' Sin(x) covering it. A zero scale raises as the coordinates' division would.
int Form1::NextRowColumns() {
  const int last_column = ToInteger(sir);
  const ScanSettings& s = scan_->settings;
  if (last_column >= 0 && (s.dx == 0 || s.dy == 0)) {
    throw RuntimeError(ErrorNumber::kDivisionByZero);
  }
  if (last_column >= static_cast<int>(scan_->column_sines.size())) {
    scan_->column_sines = ColumnSines(s, last_column);
    scan_->settings.column_sines = scan_->column_sines.data();
  }
  return last_column;
}

// The headless scan: the whole card at once on several threads, with the same result.
void Form1::ScanAtOnce() {
  if (!scan_) return;
  const int last_row = scan_->last_row;
  const int last_column = last_row >= 0 ? NextRowColumns() : ToInteger(sir);
  TakeWholeScan(FastScan(scan_->settings, scan_->carry, last_column, last_row,
                         platform_.picture1.pixels(), whole_card_threads_));
}

// Leaves the state that the row-by-row scan leaves after its last row.
void Form1::TakeWholeScan(const FastScanResult& whole) {
  scan_->carry = whole.carry;
  scan_->last = whole.last;
  scan_->visited = whole.visited;
  scan_->next_row = scan_->last_row + 1;
  if (scan_->last_row >= 0) i = Value::Integer(static_cast<std::int16_t>(ToInteger(sir) + 1));
}

}  // namespace card
