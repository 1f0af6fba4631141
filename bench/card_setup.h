#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include "form/form1.h"
#include "platform/memory/memory_platform.h"
#include "renderer/recipe.h"

namespace card::bench {

// The card the benchmarks measure: the recipe named by CARD_BENCH_RECIPE when it is set (so a slow
// card met in use can be measured), otherwise the card of a fixed name.
struct BenchCard {
  BenchCard() : form(memory.platform(), generator) {
    const char* recipe_path = std::getenv("CARD_BENCH_RECIPE");
    std::string name = "srecno novo leto";
    if (recipe_path != nullptr && *recipe_path != '\0') {
      RecipeInput recipe = ReadRecipeFile(recipe_path);
      name = recipe.name;
      generator.Replay(std::move(recipe.draws));
    }
    memory.dialog.Answer(name);
    form.Form_Load();
    // What the card's scan starts from, to start every measured scan the same way.
    start_fi1 = form.fi1 = Value::Integer(0);
  }
  void ResetScan() { form.fi1 = start_fi1; }

  MemoryPlatform memory;
  Generator generator;
  Form1 form;
  Value start_fi1;
};

}  // namespace card::bench
