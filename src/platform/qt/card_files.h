#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/pixel_buffer.h"

namespace card {

// A problem with a file the renderer was asked to read or write, worded for the user.
class CardFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes a picture as BMP or PNG, chosen by the path's extension; the file appears only when it is
// complete. Throws CardFileError.
void WriteCardImage(const PixelBuffer& picture, const std::string& path);
bool IsSupportedImagePath(const std::string& path);

// The name and the draws of a recipe file. Throws CardFileError for a file that is missing, not
// JSON, lacks a key, or whose draws are not twenty numbers in [0, 1).
struct RecipeInput {
  std::string name;
  std::vector<float> draws;
};
RecipeInput ReadRecipe(const std::string& path);

void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace card
