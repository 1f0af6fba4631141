#pragma once

#include <cstdint>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {

// Encodes a buffer as a PNG file: 8-bit RGB, no alpha, every row with the Sub filter, deflated by
// libdeflate at level 3.
std::vector<std::uint8_t> EncodePng(const PixelBuffer& buffer);

}  // namespace card
