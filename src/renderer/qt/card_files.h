#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {

// A problem with a file the renderer was asked to read or write, worded for the user.
class CardFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool IsSupportedImagePath(const std::string& path);

// The bytes of the picture as a BMP or PNG file, chosen by the path's extension. Throws
// CardFileError.
std::vector<std::uint8_t> EncodeCardImage(const PixelBuffer& picture, const std::string& path);

}  // namespace card
