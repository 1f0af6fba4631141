#include "support/golden_cards.h"

#include "support/card_fixture.h"

namespace card::testing {
namespace {

// The greeting with the program's default address and year, so that the pinned pictures do not
// depend on the ones a build is configured with.
CardRequest Pinned(std::string name, std::optional<std::vector<float>> draws) {
  CardRequest request{std::move(name), std::move(draws)};
  request.address = "newyear-card.example.org";
  request.year = "2010";
  return request;
}

}  // namespace

std::vector<GoldenCard> GoldenCards() {
  std::vector<GoldenCard> cards;
  for (int shape = 1; shape <= 15; ++shape) {
    const int mix = 1 + shape % 3;
    const int index = 1 + shape % 4;
    cards.push_back({"shape" + std::to_string(shape) + "-mix" + std::to_string(mix) + "-index" +
                         std::to_string(index),
                     Pinned("golden card", ForcedDraws(shape, mix, index))});
  }
  // Two cards straight from the generator, so a change of the stream shows as well.
  cards.push_back({"name-anna", Pinned("anna", std::nullopt)});
  cards.push_back({"name-empty", Pinned("", std::nullopt)});
  return cards;
}

std::string GoldenTablePath() {
  return std::string(CARD_TEST_DATA_DIR) + "/golden_cards.txt";
}

}  // namespace card::testing
