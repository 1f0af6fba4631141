#include <gtest/gtest.h>

#include <cmath>

#include "support/card_fixture.h"

namespace card::testing {
namespace {

TEST(ChooseParameters, FileStemFromOneReadingOfTheClock) {
  TestCard card;
  card.memory.clock.Set(LocalTime{2009, 12, 31, 23, 59, 58});
  card.form.ChooseParameters();
  EXPECT_EQ(card.form.imeslike, "T20091231235958");
  card.memory.clock.Set(LocalTime{2010, 1, 5, 7, 4, 3});
  card.form.ChooseParameters();
  EXPECT_EQ(card.form.imeslike, "T20100105070403");
}

TEST(ChooseParameters, SelectorsStayInRangeAtBothEndsOfTheDraws) {
  const float lowest = 0.0f;
  const float highest = std::nextafter(1.0f, 0.0f);
  for (const float d : {lowest, highest}) {
    TestCard card;
    card.generator.Replay(std::vector<float>(9, d));
    card.form.fi1 = Value::Double(5.5);  // left by a previous card
    card.form.ChooseParameters();
    const Form1& f = card.form;
    const bool low = d == lowest;
    EXPECT_EQ(f.tip1, Value::Single(low ? 1 : 15));
    EXPECT_EQ(f.tip2, Value::Single(low ? 1 : 3));
    EXPECT_EQ(f.tip3, Value::Single(low ? 1 : 4));
    EXPECT_EQ(f.pozic0, Value::Single(low ? 5 : 304));
    EXPECT_EQ(f.fi1, Value::Integer(0));
    EXPECT_EQ(f.korakfi1, Value::Double(0.00003));
    EXPECT_EQ(f.fi0.kind(), Kind::Double);
    EXPECT_LT(f.fi0.number(), 6.283);
    EXPECT_EQ(f.r0.kind(), Kind::Single);
    EXPECT_LT(f.r0.number(), 4.0);
    EXPECT_GE(f.fak3.number(), 10.0);
    // The highest draw gives 19.99999994, which as a Single is 20.
    EXPECT_EQ(f.fak3.number(), low ? 10.0 : 20.0);
  }
}

// `Int(Rnd * 300 + 5)` is evaluated in double: a draw just below k / 300 whose Single product
// rounds up to k must still give the palette offset k + 4.
TEST(ChooseParameters, WholeDrawsAreEvaluatedInDouble) {
  float chosen = -1;
  for (int k = 1; k < 300 && chosen < 0; ++k) {
    float d = static_cast<float>(k) / 300.0f;
    for (int step = 0; step < 8; ++step, d = std::nextafter(d, 0.0f)) {
      if (std::floor(static_cast<double>(d) * 300 + 5) != std::floor(d * 300.0f + 5.0f)) {
        chosen = d;
        break;
      }
    }
  }
  ASSERT_GE(chosen, 0);
  TestCard card;
  card.generator.Replay({0.5f, 0.5f, 0.5f, chosen, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
  card.form.ChooseParameters();
  EXPECT_EQ(card.form.pozic0.number(), std::floor(static_cast<double>(chosen) * 300 + 5));
  // r0 keeps its fraction: the double value rounded once to a Single.
  EXPECT_EQ(card.form.r0, Value::Single(static_cast<float>(0.5 * 3 + 1)));
}

TEST(ChooseParameters, SameNameSameParametersAtAnotherTime) {
  TestCard first, second;
  second.memory.clock.Set(LocalTime{2027, 1, 1, 0, 0, 1});
  for (TestCard* card : {&first, &second}) {
    card->memory.dialog.Answer("janez novak");
    card->form.AskName();
    card->form.MakePalette();
    card->form.ChooseParameters();
  }
  for (auto member : {&Form1::tip1, &Form1::tip2, &Form1::tip3, &Form1::pozic0, &Form1::fi0,
                      &Form1::r0, &Form1::fak1, &Form1::fak2, &Form1::fak3}) {
    EXPECT_EQ(first.form.*member, second.form.*member);
  }
  EXPECT_NE(first.form.imeslike, second.form.imeslike);
}

}  // namespace
}  // namespace card::testing
