#pragma once

#include "form/form1.h"
#include "scan/palette_table.h"
#include "scan/scan_settings.h"

namespace card {

// The typed view of the window's state that a scan reads: Singles as float, Doubles as double,
// the selectors as the variants they jump to.
ScanSettings ScanSettingsOf(const Form1& form, const PaletteTable& table);
// The values a scan carries from position to position, as they stand before it.
PixelCarry CarryOf(const Form1& form);
// Stores what a scan carried back into the state variables, as Doubles; values that no statement
// has set yet stay Empty.
void StoreCarry(Form1& form, const PixelCarry& carry);

}  // namespace card
