#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "renderer/headless_card.h"

namespace card::testing {

// The cards whose pictures are pinned by checksum: together they force each of the fifteen shape
// formulas, each channel mix and each colour index at least once.
struct GoldenCard {
  std::string id;
  CardRequest request;
};
std::vector<GoldenCard> GoldenCards();

// The pinned checksums, one "id checksum" line per card, in tests/data/golden_cards.txt.
// Regenerate them on purpose only:  build/golden-cards > tests/data/golden_cards.txt
std::string GoldenTablePath();

}  // namespace card::testing
