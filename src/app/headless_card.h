#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "platform/pixel_buffer.h"
#include "platform/surface.h"

namespace card {

// Everything that decides a card: the name, its seed, the twenty draws in the order the card
// consumed them and the parameters derived from them.
struct Recipe {
  std::string name;
  std::int32_t seed = 0;
  std::vector<float> draws;
  PaletteRecipe palette;
  float tip1 = 0, tip2 = 0, tip3 = 0, pozic0 = 0, r0 = 0, fak1 = 0, fak2 = 0, fak3 = 0;
  double fi0 = 0, korakfi1 = 0;
};
inline constexpr std::size_t kDrawsPerCard = 20;

struct CardRequest {
  CardRequest() = default;
  CardRequest(std::string name_as_typed, std::optional<std::vector<float>> replayed_draws = {},
              int thread_count = 1, LocalTime start_time = {})
      : name(std::move(name_as_typed)),
        draws(std::move(replayed_draws)),
        threads(thread_count),
        started(start_time) {}

  std::string name;  // must be a name the dialog accepts
  // Draws to use instead of the generator's (a recipe's), so a card can be reproduced or forced.
  std::optional<std::vector<float>> draws;
  int threads = 1;    // threads that scan the card
  LocalTime started;  // the moment the card counts as started, which names its file
};

struct CardResult {
  PixelBuffer picture{kPictureWidth, kPictureHeight};
  Recipe recipe;
  std::string stem;  // the file name stem the window would save the card under
};

// Makes one card without a window, by the same start-up sequence the window runs, with the name
// as the dialog's only answer; the card is scanned at once rather than row by row.
CardResult MakeCard(const CardRequest& request, TextRenderer* text_renderer);

}  // namespace card
