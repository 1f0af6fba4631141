#pragma once

#include <string>

#include "app/headless_card.h"

namespace card {

// A recipe as JSON: the name, the seed, the draws with nine significant digits (enough to read
// back as the same Single) and the derived parameters under their own names.
std::string RecipeToJson(const Recipe& recipe);

}  // namespace card
