#include "renderer/card_files.h"

#include <cctype>

#include "about/version.h"
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

std::vector<std::uint8_t> EncodeCardImage(const PixelBuffer& picture, const std::string& path,
                                          const CardFileDetails& details) {
  if (EndsWith(path, ".bmp")) return EncodeBmp(picture, details.scale, details.dots_per_inch);
  if (!EndsWith(path, ".png")) {
    throw FileError(path, "the file name must end in .bmp or .png");
  }
  const PngDetails png{details.scale,
                       details.dots_per_inch,
                       {{"Title", details.name},
                        {"Description", details.greeting},
                        {"Software", std::string(kRendererProgram) + " " + kVersion}}};
  return EncodePng(picture, png);
}

}  // namespace card
