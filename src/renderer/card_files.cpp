#include "renderer/card_files.h"

#include <cctype>

#include "platform/platform.h"
#include "raster/bmp_writer.h"
#include "raster/png_writer.h"

namespace card {
namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  std::string tail = text.substr(text.size() - suffix.size());
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == suffix;
}

}  // namespace

bool IsSupportedImagePath(const std::string& path) {
  return EndsWith(path, ".bmp") || EndsWith(path, ".png");
}

std::vector<std::uint8_t> EncodeCardImage(const PixelBuffer& picture, const std::string& path) {
  if (EndsWith(path, ".bmp")) return EncodeBmp(picture);
  if (!EndsWith(path, ".png")) {
    throw FileError(path, "the file name must end in .bmp or .png");
  }
  return EncodePng(picture);
}

}  // namespace card
