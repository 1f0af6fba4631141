#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {

// Whether the path ends in an image format the renderer writes (.bmp or .png).
bool IsSupportedImagePath(const std::string& path);

// The bytes of the picture as a BMP or PNG file, chosen by the path's extension. Throws
// FileError.
std::vector<std::uint8_t> EncodeCardImage(const PixelBuffer& picture, const std::string& path);

}  // namespace card
