// The name dialog: which answers are accepted, the seed each accepted name gives, and what a
// refused answer leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/card_fixture.h"

namespace card::testing {
namespace {

const std::string kFirstLine = "enter your name and surname";
const std::string kSecondLine = "small letters (lowercase, no \xC4\x8D\xC5\xA1\xC5\xBE)";

// A window object whose prompt texts are those that start-up sets.
struct NameCard : TestCard {
  NameCard() {
    form.t1 = kFirstLine;
    form.t2 = kSecondLine;
  }
};

std::vector<float> NextDraws(Generator generator, int count) {
  std::vector<float> draws;
  for (int k = 0; k < count; ++k) draws.push_back(generator.Rnd());
  return draws;
}

// Draws that Rnd(-1) then Randomize(seed) give, computed without a window object.
std::vector<float> DrawsForSeed(std::int32_t seed, int count) {
  Generator generator;
  generator.Rnd(-1);
  generator.Randomize(seed);
  return NextDraws(generator, count);
}

struct SeedCase {
  std::string name;
  std::int32_t seed;
};

class AskNameSeed : public ::testing::TestWithParam<SeedCase> {};

TEST_P(AskNameSeed, AcceptsAtOnceAndResetsTheGeneratorFromTheSeed) {
  const SeedCase& c = GetParam();
  NameCard card;
  card.generator.Randomize(4242);  // whatever an earlier card left
  card.memory.dialog.Answer(c.name);
  card.form.AskName();

  EXPECT_EQ(card.memory.dialog.calls().size(), 1u);
  EXPECT_EQ(card.form.t, c.name);
  EXPECT_EQ(card.form.dolz, Value::Long(static_cast<std::int32_t>(c.name.size())));
  EXPECT_EQ(card.form.seed, Value::Long(c.seed));
  EXPECT_EQ(NextDraws(card.generator, 20), DrawsForSeed(c.seed, 20));
}

INSTANTIATE_TEST_SUITE_P(
    AskNameExamples, AskNameSeed,
    ::testing::Values(SeedCase{"", 234567}, SeedCase{"abc", 235476}, SeedCase{"a", 234665},
                      SeedCase{" ", 234600}, SeedCase{"ab", 234965}, SeedCase{"ba", 234965},
                      SeedCase{"a b", 234567 + 3 * (97 + 32 + 98) + 27},
                      SeedCase{"  ab", 234567 + 4 * (32 + 32 + 97 + 98) + 64},
                      SeedCase{"ab ", 234567 + 3 * (97 + 98 + 32) + 27},
                      SeedCase{std::string(100, 'z'), 2454567},
                      SeedCase{std::string(100, 'a'), 234567 + 100 * 9700 + 1000000}),
    [](const ::testing::TestParamInfo<SeedCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(AskName, CancelGivesTheEmptyNameAtOnce) {
  NameCard card;
  card.form.t = "left over";
  card.form.AskName();  // no scripted answer: the dialog is cancelled
  EXPECT_EQ(card.memory.dialog.calls().size(), 1u);
  EXPECT_EQ(card.form.t, "");
  EXPECT_EQ(card.form.dolz, Value::Long(0));
  EXPECT_EQ(card.form.seed, Value::Long(234567));
  EXPECT_EQ(NextDraws(card.generator, 20), DrawsForSeed(234567, 20));
}

TEST(AskName, StoresEveryCodeAndLeavesHigherEntriesAlone) {
  NameCard card;
  card.memory.dialog.Answer("abcd");
  card.form.AskName();
  EXPECT_EQ(card.form.codes[0], Value());  // index 0 is never written
  EXPECT_EQ(card.form.codes[1], Value::Integer(97));
  EXPECT_EQ(card.form.codes[4], Value::Integer(100));
  EXPECT_EQ(card.form.codes[5], Value());

  card.memory.dialog.Answer("z y");
  card.form.AskName();
  EXPECT_EQ(card.form.dolz, Value::Long(3));
  EXPECT_EQ(card.form.codes[1], Value::Integer(122));
  EXPECT_EQ(card.form.codes[2], Value::Integer(32));  // a space's code is stored too
  EXPECT_EQ(card.form.codes[3], Value::Integer(121));
  // Beyond the new name's length the codes of the earlier answer stay.
  EXPECT_EQ(card.form.codes[4], Value::Integer(100));
  EXPECT_EQ(card.form.codes[0], Value());
}

// What the form held when the dialog was opened for the second time.
struct SecondQuestion {
  bool asked = false;
  std::string t;
  Value dolz, seed, code1;
  std::vector<float> next_draws;
};

class AskNameRefused : public ::testing::TestWithParam<std::string> {};

TEST_P(AskNameRefused, AsksAgainAndChangesTheSeedOnlyAfterAnAcceptedAnswer) {
  const std::string& refused = GetParam();
  NameCard card;
  card.form.seed = Value::Long(777);
  card.generator.Randomize(31337);
  const std::vector<float> draws_before = NextDraws(card.generator, 20);

  card.memory.dialog.Answer(refused);
  SecondQuestion seen;
  card.memory.dialog.on_exhausted = [&] {
    seen.asked = true;
    seen.t = card.form.t;
    seen.dolz = card.form.dolz;
    seen.seed = card.form.seed;
    seen.code1 = card.form.codes[1];
    seen.next_draws = NextDraws(card.generator, 20);
    card.memory.dialog.on_exhausted = nullptr;  // the third question would be cancelled
    return std::string("abc");
  };
  card.form.AskName();

  ASSERT_TRUE(seen.asked);
  const auto& calls = card.memory.dialog.calls();
  ASSERT_EQ(calls.size(), 2u);
  for (const auto& call : calls) {
    EXPECT_EQ(call.prompt, kFirstLine + "\r" + kSecondLine);
    EXPECT_EQ(call.left_twips, 500);
    EXPECT_EQ(call.top_twips, 8700);
  }
  // The refused answer is in `t`, but neither the seed nor the generator has moved.
  EXPECT_EQ(seen.t, refused);
  EXPECT_EQ(seen.seed, Value::Long(777));
  EXPECT_EQ(seen.next_draws, draws_before);
  // The accepted answer then takes effect.
  EXPECT_EQ(card.form.t, "abc");
  EXPECT_EQ(card.form.dolz, Value::Long(3));
  EXPECT_EQ(card.form.seed, Value::Long(235476));
  EXPECT_EQ(NextDraws(card.generator, 20), DrawsForSeed(235476, 20));
}

// Capitals, digits, punctuation, control characters, letters with diacritics, other scripts, and
// an answer one character too long.
const std::vector<std::string> kRefusedAnswers = {
    "Ana",
    "ana2",
    "j-k",
    "a\tb",
    "\t",
    "ab\r",
    "`",
    "{",
    "a_b",
    "\xC4\x8D",                  // c caron
    "\xC5\xA1",                  // s caron
    "\xC5\xBE",                  // z caron
    "mo\xC5\xBE",                // a z caron after plain letters
    "\xC3\xA9",                  // e acute
    "\xE6\x97\xA5\xE6\x9C\xAC",  // two CJK characters
    std::string(101, 'a'),
};

INSTANTIATE_TEST_SUITE_P(AskNameAnswers, AskNameRefused, ::testing::ValuesIn(kRefusedAnswers),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return "Answer" + std::to_string(info.index);
                         });

TEST(AskName, RefusedAnswerLeavesItsTextLengthAndCodes) {
  NameCard card;
  card.memory.dialog.Answer("Ana");
  SecondQuestion seen;
  card.memory.dialog.on_exhausted = [&] {
    seen.asked = true;
    seen.dolz = card.form.dolz;
    seen.code1 = card.form.codes[1];
    return std::string();
  };
  card.form.AskName();
  ASSERT_TRUE(seen.asked);
  EXPECT_EQ(seen.dolz, Value::Long(3));
  EXPECT_EQ(seen.code1, Value::Integer(65));
}

TEST(AskName, TooLongAnswerIsRefusedBeforeAnyCharacterIsExamined) {
  NameCard card;
  card.memory.dialog.Answer(std::string(101, 'a'));
  SecondQuestion seen;
  card.memory.dialog.on_exhausted = [&] {
    seen.asked = true;
    seen.dolz = card.form.dolz;
    seen.code1 = card.form.codes[1];
    card.memory.dialog.on_exhausted = nullptr;
    return std::string(100, 'z');
  };
  card.form.AskName();
  ASSERT_TRUE(seen.asked);
  EXPECT_EQ(seen.dolz, Value::Long(101));
  EXPECT_EQ(seen.code1, Value());  // no code was stored
  EXPECT_EQ(card.form.seed, Value::Long(2454567));
}

TEST(AskName, AsksUntilAnAnswerIsAccepted) {
  NameCard card;
  for (const char* answer : {"Ana", "ana2", "a\tb", "j-k", "ana"})
    card.memory.dialog.Answer(answer);
  card.form.AskName();
  EXPECT_EQ(card.memory.dialog.calls().size(), 5u);
  EXPECT_EQ(card.form.t, "ana");
}

// After AskName the stream depends on the name alone, not on anything drawn or seeded before.
TEST(AskName, StreamAfterwardsDependsOnTheNameOnly) {
  NameCard fresh;
  fresh.memory.dialog.Answer("anna");
  fresh.form.AskName();

  NameCard used;
  used.generator.Randomize(99);
  for (int k = 0; k < 37; ++k) used.generator.Rnd();
  used.generator.Rnd(-5);
  used.memory.dialog.Answer("nana");  // the same length and code sum
  used.form.AskName();

  NameCard other;
  other.memory.dialog.Answer("anne");
  other.form.AskName();

  const std::vector<float> expected = NextDraws(fresh.generator, 40);
  EXPECT_EQ(NextDraws(used.generator, 40), expected);
  EXPECT_NE(NextDraws(other.generator, 40), expected);
}

}  // namespace
}  // namespace card::testing
