#pragma once

#include <array>

#include "form/palette.h"

namespace card {

// The colour table as plain numbers for the scan: red, green and blue of every row.
struct PaletteTable {
  std::array<std::array<double, 3>, kPaletteRows> rgb{};
};

// The palette as plain numbers for the scan, Empty read as 0.
PaletteTable Tabulate(const Palette& palette);

}  // namespace card
