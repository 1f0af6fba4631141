#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "form/card_parameters.h"
#include "form/form1.h"

namespace card {

// Everything that decides a card: the name, its seed, the twenty draws in the order the card
// consumed them and the parameters derived from them.
struct Recipe {
  std::string name;
  std::int32_t seed = 0;
  std::vector<float> draws;
  PaletteRecipe palette;
  CardParameterValues parameters{};  // in the order of kCardParameters
};
inline constexpr std::size_t kDrawsPerCard = 20;

// No recipe comes near this; a larger file is not one.
inline constexpr std::size_t kMaxRecipeBytes = 1024 * 1024;
// No recipe nests deeper than its list of draws; this is far beyond, and near enough to the
// surface that nothing reading a tree recursively runs out of stack.
inline constexpr int kMaxRecipeNesting = 64;

// What a recipe file gives back to make its card: the name and the draws. The derived parameters
// are written for people to read; the card derives them again.
struct RecipeInput {
  std::string name;
  std::vector<float> draws;
};

// A recipe that cannot be read or is not a recipe, worded for the user.
class RecipeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A recipe as JSON: the name, the seed, the draws and the derived parameters under their own names.
// Each number is written with the fewest digits that read back as the same value.
std::string RecipeToJson(const Recipe& recipe);

// Reads the name and the draws of a recipe; `source` names it in messages. Throws RecipeError for
// text that is not JSON or not UTF-8 (UTF-16 is named as such), nests lists and objects more than
// kMaxRecipeNesting deep, lacks the name or the draws, or whose draws are not twenty numbers in
// [0, 1) as single-precision numbers.
RecipeInput ParseRecipe(const std::string& json, const std::string& source);

// Reads a recipe file of at most kMaxRecipeBytes. Throws RecipeError.
RecipeInput ReadRecipeFile(const std::string& path);

}  // namespace card
