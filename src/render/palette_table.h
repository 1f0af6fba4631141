#pragma once

#include <array>

namespace card {

// Rows 0 to 610 of the colour table; the scan may look up any of them.
inline constexpr int kPaletteRows = 611;

// The colour table as plain numbers for the scan: red, green and blue of every row.
struct PaletteTable {
  std::array<std::array<double, 3>, kPaletteRows> rgb{};
};

}  // namespace card
