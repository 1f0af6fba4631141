#include <gtest/gtest.h>

#include <cmath>

#include "support/card_fixture.h"

namespace card::testing {
namespace {

void BuildPalette(TestCard& card, std::vector<float> draws) {
  card.generator.Replay(std::move(draws));
  card.form.MakePalette();
}

TEST(MakePalette, RedRowsForAShortUnshiftedPeriod) {
  // pmin 10, per1 10, ph1 0 and no stretch: wl1 = 10.
  TestCard card;
  BuildPalette(card, {0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f});
  EXPECT_EQ(card.form.palette_recipe().wl1, 10.0f);
  const Palette& palette = card.form.palette;
  const int rows[] = {0, 16, 31, 47, 100, 601};
  const double red[] = {126, 251, 131, 0, 57, 75};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(palette(rows[k], 1), Value::Double(red[k])) << "row " << rows[k];
  }
}

TEST(MakePalette, WrittenRowsEmptyRowsAndScratchChannels) {
  TestCard card;
  card.memory.dialog.Answer("anna");
  card.form.AskName();
  card.form.MakePalette();
  const Form1& f = card.form;
  EXPECT_EQ(f.palette(601, 1), f.re);
  EXPECT_EQ(f.palette(601, 2), f.gr);
  EXPECT_EQ(f.palette(601, 3), f.bl);
  EXPECT_TRUE(f.palette(602, 1).is_empty());
  EXPECT_TRUE(f.palette(610, 3).is_empty());
  EXPECT_TRUE(f.palette(0, 0).is_empty());
  for (int row = 0; row < 602; ++row) {
    for (int column = 1; column <= 3; ++column) {
      const Value& v = f.palette(row, column);
      ASSERT_EQ(v.kind(), Kind::Double);
      ASSERT_EQ(v.number(), std::floor(v.number()));
      ASSERT_GE(v.number(), 0);
      ASSERT_LE(v.number(), 252);
    }
  }
  EXPECT_THROW(f.palette(611, 1), RuntimeError);
  EXPECT_THROW(f.palette(0, 4), RuntimeError);
  EXPECT_EQ(card.generator.draws_since_randomize().size(), 11u);
}

// The base period adds a Single product to the minimum: for some draws the product rounds up to
// the next whole number as a Single while the exact value stays below it. A build that evaluated
// the sum in double would pick a period one shorter and change the whole card.
TEST(MakePalette, BasePeriodIsComputedInSingles) {
  const float pmin = 10.0f;
  const float pspan = 17.0f;
  float chosen = -1;
  for (int whole = 1; whole < 17 && chosen < 0; ++whole) {
    float d = static_cast<float>(whole) / pspan;
    for (int step = 0; step < 8; ++step, d = std::nextafter(d, 0.0f)) {
      const double exact = std::floor(pmin + static_cast<double>(d) * pspan);
      const float single = std::floor(pmin + d * pspan);
      if (exact != single) {
        chosen = d;
        break;
      }
    }
  }
  ASSERT_GE(chosen, 0) << "no draw found where Single and double rounding differ";
  // pmin = 10 (draw 0), pspan = 17 (draw 0.75).
  TestCard card;
  BuildPalette(card, {0.0f, 0.75f, chosen, 0.5f, 0.5f, 0.1f, 0.1f, 0.1f, 0.5f, 0.5f, 0.5f});
  EXPECT_EQ(card.form.palette_recipe().pspan, 17.0f);
  EXPECT_EQ(card.form.palette_recipe().per1, std::floor(pmin + chosen * pspan));
}

TEST(MakePalette, SameNameSamePalette) {
  TestCard first, second, same_seed;
  first.memory.dialog.Answer("ana marija");
  second.memory.dialog.Answer("ana marija");
  same_seed.memory.dialog.Answer("ana amrija");  // same letters: same seed
  for (TestCard* card : {&first, &second, &same_seed}) {
    card->form.AskName();
    card->form.MakePalette();
  }
  for (int row = 0; row < 602; row += 7) {
    for (int column = 1; column <= 3; ++column) {
      EXPECT_EQ(first.form.palette(row, column), second.form.palette(row, column));
      EXPECT_EQ(first.form.palette(row, column), same_seed.form.palette(row, column));
    }
  }
}

}  // namespace
}  // namespace card::testing
