#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {

// Whether the path ends in an image format the renderer writes (.bmp or .png).
bool IsSupportedImagePath(const std::string& path);

// What a card's file says besides its pixels.
struct CardFileDetails {
  int scale = 1;          // each pixel of the card an N x N square
  int dots_per_inch = 0;  // the resolution the file claims; 0: none in a PNG, 72 in a BMP
  std::string name;       // a PNG's title
  std::string greeting;   // a PNG's description: the greeting line
};

// The bytes of the picture as a BMP or PNG file, chosen by the path's extension. A PNG also names
// the program that made it, with its version. Throws FileError.
std::vector<std::uint8_t> EncodeCardImage(const PixelBuffer& picture, const std::string& path,
                                          const CardFileDetails& details = {});

}  // namespace card
