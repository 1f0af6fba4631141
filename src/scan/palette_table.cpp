#include "scan/palette_table.h"

namespace card {

PaletteTable Tabulate(const Palette& palette) {
  PaletteTable table;
  for (int row = 0; row < Palette::kRows; ++row) {
    for (int channel = 0; channel < 3; ++channel) {
      table.rgb[row][channel] = palette(row, channel + 1).number();
    }
  }
  return table;
}

}  // namespace card
