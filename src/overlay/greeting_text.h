#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/surface.h"
#include "raster/pixel_buffer.h"

namespace card {

// The greeting's typeface, drawn once into a table (greeting_font_table.inc, made by
// tools/make_greeting_font.cpp): DejaVu Sans at 12 points on a 96 dots-per-inch surface, for the
// characters a greeting can hold, printable ASCII. Printing from the table needs no font and no
// text engine, and its integer blending gives the same pixels on every machine and in the page.

// How far `text` reaches to the right of its start, kerning included, in whole pixels (rounded
// up).
int GreetingTextWidth(std::string_view text);

// Paints only the glyphs of `text` in `argb`, with the top left corner of the line at (x, y),
// each pixel blended with the picture by the glyph's coverage. Never wraps: whatever falls outside
// the buffer is cut off. A character the table lacks paints nothing and takes no room. Returns
// the height of one line.
int DrawGreetingText(PixelBuffer& buffer, int x, int y, std::string_view text, std::uint32_t argb);

// The table as a surface's text renderer. It has the one size the greeting is printed in, and
// prints in it whatever size the surface asks for.
class GreetingFont final : public TextRenderer {
 public:
  int DrawText(PixelBuffer& buffer, int x, int y, std::string_view text, double point_size,
               std::uint32_t argb) override;
};

}  // namespace card
