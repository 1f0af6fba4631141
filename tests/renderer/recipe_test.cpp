// Recipes on their way out and back in: a written recipe reads back as the same card, and a file
// that is not a recipe is turned down with a message that says what is wrong.
#include "renderer/recipe.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace card {
namespace {

std::string WithDraw(const std::string& draw) {
  std::string draws = "[" + draw;
  for (std::size_t k = 1; k < kDrawsPerCard; ++k) draws += ", 0.5";
  return R"({"name": "ana", "draws": )" + draws + "]}";
}

TEST(Recipe, ReadsBackWhatWasWrittenAndTurnsDownWhatIsNoRecipe) {
  Recipe recipe;
  recipe.name = "ana \"novak\"\\";
  recipe.seed = -123456;
  // The extremes a float draw can take, values with no short decimal form, and the one float below
  // 1 whose shortest decimal, read as a double first, rounds to its neighbour.
  recipe.draws = {
      0.0f, 0.99999994f, 1e-30f, 0.1f, 1.0f / 3.0f, 0.7f, std::bit_cast<float>(0x15AE43FDu)};
  recipe.draws.resize(kDrawsPerCard, 0.123456789f);
  recipe.parameters[CardParameterIndex("fi0")] = 0.1 + 0.2;
  const RecipeInput back = ParseRecipe(RecipeToJson(recipe), "written.json");
  EXPECT_EQ(back.name, recipe.name);
  ASSERT_EQ(back.draws.size(), recipe.draws.size());
  for (std::size_t k = 0; k < back.draws.size(); ++k) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(back.draws[k]),
              std::bit_cast<std::uint32_t>(recipe.draws[k]))
        << "draw " << k + 1;
  }

  const struct {
    std::string json;
    std::string message;
  } malformed[] = {
      {R"({"name": "ana", "draws": [0.5,)", "not valid JSON"},
      {"[1, 2]", "not a JSON object"},
      {R"({"draws": []})", "no \"name\" text"},
      {R"({"name": 7, "draws": []})", "no \"name\" text"},
      {R"({"name": "ana"})", "no \"draws\" list"},
      {R"({"name": "ana", "draws": [0.5]})", "has 1 draws; a card takes exactly 20"},
      {WithDraw("1.0"), "draw 1 is 1.0, not a number in [0, 1)"},
      {WithDraw("-0.1"), "draw 1 is -0.1, not a number in [0, 1)"},
      {WithDraw("\"0.5\""), "draw 1 is not a number"},
      {WithDraw("true"), "draw 1 is not a number"},
      {WithDraw("0.99999999"), "rounds to 1 as a single-precision number"},
      {R"({"name": "\ud800", "draws": []})", "surrogate"},
      {"{\"name\": \"\xC4\", \"draws\": []}", "UTF-8"},
      // Deep enough to overflow the stack of a reader that recurses, and within 1 MiB.
      {R"({"x": )" + std::string(90000, '[') + std::string(90000, ']') + "}", "more than 64 deep"},
      {std::string("\xFF\xFE{\0}\0", 6), "is UTF-16; save it as UTF-8"},
      {std::string("\0{\0}", 4), "is UTF-16; save it as UTF-8"},
      {std::string("{\"name\": \"a\0\"}", 14), "NUL byte at byte 12"},
  };
  for (const auto& [json, message] : malformed) {
    try {
      ParseRecipe(json, "r.json");
      ADD_FAILURE() << "accepted: " << json;
    } catch (const RecipeError& error) {
      const std::string what = error.what();
      EXPECT_NE(what.find("r.json"), std::string::npos) << what;
      EXPECT_NE(what.find(message), std::string::npos) << what;
    }
  }
}

}  // namespace
}  // namespace card
