#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {

// Encodes a buffer as a 24-bit uncompressed Windows bitmap (bottom-up rows, BGR, rows padded to
// four bytes), the format every common reader opens. Each pixel becomes a scale x scale square; the
// header claims `dots_per_inch`, or 72 for 0.
std::vector<std::uint8_t> EncodeBmp(const PixelBuffer& buffer, int scale = 1,
                                    int dots_per_inch = 0);

}  // namespace card
