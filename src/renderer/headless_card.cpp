#include "renderer/headless_card.h"

#include <algorithm>

#include "platform/memory/memory_platform.h"

namespace card {

CardResult MakeCard(const CardRequest& request, TextRenderer* text_renderer) {
  MemoryPlatform memory(text_renderer);
  memory.clock.Set(request.started);
  memory.dialog.Answer(request.name);
  Generator generator;
  if (request.draws) generator.Replay(*request.draws);
  Form1 form(memory.platform(), generator);
  form.ScanWholeCards(std::max(1, request.threads));
  if (!request.address.empty()) form.SetGreetingAddress(request.address);
  form.Form_Load();

  CardResult result;
  result.picture = memory.picture1.pixels();
  result.stem = form.imeslike;
  Recipe& recipe = result.recipe;
  recipe.name = form.t;
  recipe.seed = static_cast<std::int32_t>(form.seed.number());
  recipe.draws = generator.draws_since_randomize();
  recipe.palette = form.palette_recipe();
  recipe.parameters = CardParameterValuesOf(form);
  return result;
}

}  // namespace card
