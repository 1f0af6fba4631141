// The recipe reader against what a recipe is: a JSON object with a "name" text and "draws", a list
// of exactly twenty numbers each at least 0 and, as a single-precision number, below 1, nested no
// deeper than the reader's limit. The oracle reads the text on its own (recipe_oracle.h, without
// the JSON library the reader uses): an accepted recipe has exactly its name and, bit for bit, its
// draws, and anything else is a RecipeError naming the file, never another exception, with no
// control character printed raw. An accepted recipe written out again reads back the same.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_oracles.h"
#include "recipe_oracle.h"
#include "renderer/recipe.h"

namespace {

constexpr char kSource[] = "fuzzed-recipe.json";

bool SameDraws(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (std::bit_cast<std::uint32_t>(a[k]) != std::bit_cast<std::uint32_t>(b[k])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto expected = fuzz::TinyJson::ReadRecipe(text, card::kMaxRecipeNesting);
  try {
    const card::RecipeInput recipe = card::ParseRecipe(text, kSource);
    fuzz::Require(expected.has_value(), "read something that is no recipe");
    fuzz::Require(recipe.name == expected->name, "a name other than the file's");
    fuzz::Require(SameDraws(recipe.draws, expected->draws), "draws other than the file's");
    fuzz::Require(fuzz::IsUtf8(recipe.name), "a name that is not UTF-8");

    card::Recipe written;
    written.name = recipe.name;
    written.draws = recipe.draws;
    const card::RecipeInput back = card::ParseRecipe(card::RecipeToJson(written), kSource);
    fuzz::Require(back.name == recipe.name, "a written recipe reads back another name");
    fuzz::Require(SameDraws(back.draws, recipe.draws), "a written recipe reads back other draws");
  } catch (const card::RecipeError& error) {
    fuzz::Require(!expected.has_value(), "refused a recipe");
    const std::string message = error.what();
    fuzz::Require(message.find(kSource) != std::string::npos, "the message does not name the file");
    fuzz::Require(fuzz::IsPrintable(message), "the message prints a control character");
  }
  return 0;
}
