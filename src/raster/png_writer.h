#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {

// A text chunk: a keyword of the PNG text conventions ("Title", "Description", "Software") and its
// text.
struct PngText {
  std::string keyword;
  std::string text;
};

// What a PNG holds besides the picture's pixels.
struct PngDetails {
  int scale = 1;          // each pixel of the picture becomes a scale x scale square
  int dots_per_inch = 0;  // written as the pHYs chunk; 0 writes none
  std::vector<PngText> texts;
};

// Encodes a buffer as a PNG file: 8-bit RGB, no alpha, deflated by libdeflate at level 3. Every
// row takes the Sub filter; the rows that repeat the one above in a scaled picture take the Up
// filter. Text that is plain ASCII goes into tEXt chunks, other UTF-8 text into iTXt.
std::vector<std::uint8_t> EncodePng(const PixelBuffer& buffer, const PngDetails& details = {});

}  // namespace card
