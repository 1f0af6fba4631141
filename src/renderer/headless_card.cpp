#include "renderer/headless_card.h"

#include <algorithm>

#include "overlay/greeting.h"
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
  result.greeting = GreetingLine(form.t, request.address, request.year);
  Recipe& recipe = result.recipe;
  recipe.name = form.t;
  recipe.seed = static_cast<std::int32_t>(form.seed.number());
  recipe.draws = generator.draws_since_randomize();
  recipe.palette = form.palette_recipe();
  recipe.parameters = CardParameterValuesOf(form);
  return result;
}

}  // namespace card
