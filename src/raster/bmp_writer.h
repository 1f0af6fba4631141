#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {

// Encodes a buffer as a 24-bit uncompressed Windows bitmap (bottom-up rows, BGR, rows padded to
// four bytes), the format every common reader opens.
std::vector<std::uint8_t> EncodeBmp(const PixelBuffer& buffer);

}  // namespace card
