#include "app/headless_card.h"

#include <algorithm>

#include "platform/memory/memory_platform.h"

namespace card {

CardResult MakeCard(const CardRequest& request) {
  MemoryPlatform memory;
  memory.clock.Set(request.started);
  memory.dialog.Answer(request.name);
  Generator generator;
  if (request.draws) generator.Replay(*request.draws);
  Form1 form(memory.platform(), generator);
  form.ScanWholeCards(std::max(1, request.threads));
  form.SetGreetingAddress(request.address);
  form.SetGreetingYear(request.year);
  form.Form_Load();

  CardResult result;
  result.picture = memory.picture1.pixels();
  result.stem = form.imeslike;
  Recipe& recipe = result.recipe;
  recipe.name = form.t;
  recipe.seed = static_cast<std::int32_t>(form.seed.number());
  recipe.draws = generator.draws_since_randomize();
  recipe.palette = form.palette_recipe();
  recipe.tip1 = static_cast<float>(form.tip1.number());
  recipe.tip2 = static_cast<float>(form.tip2.number());
  recipe.tip3 = static_cast<float>(form.tip3.number());
  recipe.pozic0 = static_cast<float>(form.pozic0.number());
  recipe.r0 = static_cast<float>(form.r0.number());
  recipe.fak1 = static_cast<float>(form.fak1.number());
  recipe.fak2 = static_cast<float>(form.fak2.number());
  recipe.fak3 = static_cast<float>(form.fak3.number());
  recipe.fi0 = form.fi0.number();
  recipe.korakfi1 = form.korakfi1.number();
  return result;
}

}  // namespace card
