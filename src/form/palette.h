#pragma once

#include <array>

#include "numeric/runtime_error.h"
#include "numeric/value.h"

namespace card {

// Rows 0 to 610 of the colour table; the scan may look up any of them.
inline constexpr int kPaletteRows = 611;

// The colour table: rows 0 to 610, columns 0 to 3 (red, green and blue in columns 1 to 3). Only
// rows 0 to 601 of columns 1 to 3 are ever written; the rest stays Empty.
class Palette {
 public:
  static constexpr int kRows = kPaletteRows;
  static constexpr int kColumns = 4;
  static constexpr int kWrittenRows = 602;

  // Raises SubscriptOutOfRange outside the declared bounds.
  Value& operator()(long row, long column) { return cells_[Index(row, column)]; }
  const Value& operator()(long row, long column) const { return cells_[Index(row, column)]; }

 private:
  static std::size_t Index(long row, long column) {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns) {
      throw RuntimeError(ErrorNumber::kSubscriptOutOfRange);
    }
    return static_cast<std::size_t>(row * kColumns + column);
  }
  std::array<Value, kRows * kColumns> cells_{};
};

}  // namespace card
