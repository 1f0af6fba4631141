// The scan computes with plain floats and doubles; these tests hold it to the
// statement-by-statement version on dynamically typed values, picture and carried state alike.
#include <gtest/gtest.h>

#include "scan/reference_scan.h"
#include "support/card_fixture.h"
#include "support/picture_compare.h"

namespace card::testing {
namespace {

struct Outcome {
  PixelBuffer picture;
  std::vector<Value> state;
};

std::vector<Value> CarriedState(const Form1& f) {
  return {f.fi1, f.fi, f.ba, f.re, f.gr, f.bl, f.i, f.j};
}

void PrepareCard(TestCard& card, const std::vector<float>& draws, int columns, int rows) {
  SetGeometry(card.form, columns, rows);
  card.memory.dialog.Answer("anna");
  card.generator.Replay(draws);
  card.form.AskName();
  card.form.MakePalette();
  card.form.ChooseParameters();
}

Outcome TypedScan(const std::vector<float>& draws, int columns, int rows) {
  TestCard card;
  PrepareCard(card, draws, columns, rows);
  card.form.ScanImage();
  return {card.memory.picture1.pixels(), CarriedState(card.form)};
}

Outcome ReferenceScan(const std::vector<float>& draws, int columns, int rows) {
  TestCard card;
  PrepareCard(card, draws, columns, rows);
  ReferenceScanImage(card.form, card.memory.picture1);
  return {card.memory.picture1.pixels(), CarriedState(card.form)};
}

const std::vector<std::string> kStateNames = {"fi1", "fi", "ba", "re", "gr", "bl", "i", "j"};

// Every shape formula with each channel mix and colour index on a small corner of the picture,
// where the failing statements (the middle column never comes, but level pixels and zero divisors
// do) meet every combination.
TEST(ScanEquivalence, EveryFormulaCombinationOnACorner) {
  for (int tip1 = 1; tip1 <= 15; ++tip1) {
    for (int mix = 1; mix <= 3; ++mix) {
      const int index = 1 + (tip1 + mix) % 4;
      const std::vector<float> draws = ForcedDraws(tip1, mix, index);
      const Outcome typed = TypedScan(draws, 60, 40);
      const Outcome reference = ReferenceScan(draws, 60, 40);
      SCOPED_TRACE("tip1 " + std::to_string(tip1) + " tip2 " + std::to_string(mix) + " tip3 " +
                   std::to_string(index));
      EXPECT_TRUE(SamePicture(typed.picture, reference.picture));
      EXPECT_TRUE(SameValues(kStateNames, typed.state, reference.state));
    }
  }
}

// Whole cards, including the middle column where formula 15 divides by zero and colour index 3.
TEST(ScanEquivalence, WholeCardsGiveTheSamePicture) {
  const int cases[][3] = {{15, 1, 3}, {13, 2, 2}, {11, 3, 4}, {6, 1, 1}, {14, 2, 3}};
  for (const auto& c : cases) {
    const std::vector<float> draws = ForcedDraws(c[0], c[1], c[2]);
    const Outcome typed = TypedScan(draws, 700, 525);
    const Outcome reference = ReferenceScan(draws, 700, 525);
    SCOPED_TRACE("tip1 " + std::to_string(c[0]));
    EXPECT_TRUE(SamePicture(typed.picture, reference.picture));
    EXPECT_TRUE(SameValues(kStateNames, typed.state, reference.state));
  }
}

}  // namespace
}  // namespace card::testing
