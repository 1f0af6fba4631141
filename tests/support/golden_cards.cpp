#include "support/golden_cards.h"

#include "support/card_fixture.h"

namespace card::testing {

std::vector<GoldenCard> GoldenCards() {
  std::vector<GoldenCard> cards;
  for (int shape = 1; shape <= 15; ++shape) {
    const int mix = 1 + shape % 3;
    const int index = 1 + shape % 4;
    cards.push_back({"shape" + std::to_string(shape) + "-mix" + std::to_string(mix) + "-index" +
                         std::to_string(index),
                     CardRequest{"golden card", ForcedDraws(shape, mix, index)}});
  }
  // Two cards straight from the generator, so a change of the stream shows as well.
  cards.push_back({"name-anna", CardRequest{"anna", std::nullopt}});
  cards.push_back({"name-empty", CardRequest{"", std::nullopt}});
  return cards;
}

std::string GoldenTablePath() {
  return std::string(CARD_TEST_DATA_DIR) + "/golden_cards.txt";
}

}  // namespace card::testing
