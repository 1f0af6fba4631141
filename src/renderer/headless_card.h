#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "form/form1.h"
#include "raster/pixel_buffer.h"
#include "renderer/recipe.h"

namespace card {

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
  int threads = 1;      // threads that scan the card
  LocalTime started;    // the moment the card counts as started, which names its file
  std::string address;  // printed at the end of the greeting line; empty: the built-in one
  std::string year;     // the greeting's new year; empty: the built-in one
};

struct CardResult {
  PixelBuffer picture{kPictureWidth, kPictureHeight};
  Recipe recipe;
  std::string stem;      // the file name stem the window would save the card under
  std::string greeting;  // the line printed under the picture
};

// Makes one card without a window, by the same start-up sequence the window runs, with the name
// as the dialog's only answer; the card is scanned at once rather than row by row. The greeting
// comes from the core's own typeface: no font is needed.
CardResult MakeCard(const CardRequest& request);

}  // namespace card
