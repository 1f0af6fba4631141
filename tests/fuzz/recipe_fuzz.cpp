// The recipe reader against what a recipe is: a JSON object with a "name" text and "draws", a list
// of exactly twenty numbers each at least 0 and, as a single-precision number, below 1. Anything
// else is a RecipeError naming the file, never another exception, and no message prints a control
// character raw. The oracle takes the JSON library's plain tree and judges it by the contract.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "fuzz_oracles.h"
#include "renderer/recipe.h"

namespace {

constexpr char kSource[] = "fuzzed-recipe.json";

bool IsRecipe(const std::string& text) {
  nlohmann::json json;
  try {
    json = nlohmann::json::parse(text);
  } catch (const nlohmann::json::exception&) {
    return false;  // not JSON, or a number JSON may hold but a double cannot
  }
  if (!json.is_object() || !json.contains("name") || !json["name"].is_string()) return false;
  if (!json.contains("draws") || !json["draws"].is_array() || json["draws"].size() != 20) {
    return false;
  }
  for (const auto& draw : json["draws"]) {
    if (!draw.is_number()) return false;
    const double value = draw.get<double>();
    if (!(value >= 0.0) || !(static_cast<float>(value) < 1.0f)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool is_recipe = IsRecipe(text);
  try {
    const card::RecipeInput recipe = card::ParseRecipe(text, kSource);
    fuzz::Require(is_recipe, "read something that is no recipe");
    fuzz::Require(recipe.draws.size() == 20, "not twenty draws");
    for (const float draw : recipe.draws) {
      fuzz::Require(draw >= 0.0f && draw < 1.0f, "a draw outside [0, 1)");
    }
    fuzz::Require(fuzz::IsUtf8(recipe.name), "a name that is not UTF-8");
  } catch (const card::RecipeError& error) {
    fuzz::Require(!is_recipe, "refused a recipe");
    const std::string message = error.what();
    fuzz::Require(message.find(kSource) != std::string::npos, "the message does not name the file");
    fuzz::Require(fuzz::IsPrintable(message), "the message prints a control character");
  }
  return 0;
}
