// The name rules outside the dialog: they must accept exactly what the dialog accepts, and explain
// a refusal so the user can correct the name.
#include "seed/name_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/card_fixture.h"

namespace card::testing {
namespace {

// True when the dialog accepts `answer` at its first question.
bool DialogAcceptsAtOnce(const std::string& answer) {
  TestCard card;
  card.memory.dialog.Answer(answer);
  card.form.AskName();  // a second question is cancelled, which is always accepted
  return card.memory.dialog.calls().size() == 1;
}

std::vector<std::string> VariedNames() {
  std::vector<std::string> names = {
      "",
      " ",
      "a",
      "z",
      "anna",
      "a b",
      "  ab",
      "ab ",
      "ana novak",
      "Ana",
      "ana2",
      "j-k",
      "a\tb",
      "a\nb",
      "ab\r",
      std::string("a\0b", 3),
      "`",
      "{",
      "@",
      "[",
      "a_b",
      "\x7F",
      "\xC4\x8D",                  // c caron
      "\xC5\xA1",                  // s caron
      "\xC5\xBE",                  // z caron
      "\xC3\xA9",                  // e acute, inside Latin-1
      "\xC3\x9F",                  // sharp s
      "\xC2\xA0",                  // no-break space
      "\xEF\xBD\x81",              // fullwidth a
      "\xE6\x97\xA5\xE6\x9C\xAC",  // two CJK characters
      "\xF0\x9F\x8E\x84",          // an emoji outside the basic plane
      "a\xFF",                     // not UTF-8
      "\xC1\xA1",                  // an overlong form of "a"
      "ab\xC3",                    // cut off in the middle of a character
      std::string(99, 'a'),
      std::string(100, 'z'),
      std::string(101, 'a'),
      std::string(99, 'a') + "\xC3\xA9",          // 100 characters, the last refused
      std::string(100, 'a') + "\xC3\xA9",         // 101 characters
      std::string(98, 'a') + "\xC5\xBE\xC5\xBE",  // 100 characters in 102 bytes
  };
  // Every single byte below 0x80 on its own and between two letters.
  for (int code = 1; code < 0x80; ++code) {
    names.push_back(std::string(1, static_cast<char>(code)));
    std::string name = "a";
    name += static_cast<char>(code);
    name += 'b';
    names.push_back(name);
  }
  return names;
}

TEST(NameRules, AgreesWithTheDialogOnEveryName) {
  for (const std::string& name : VariedNames()) {
    SCOPED_TRACE(::testing::PrintToString(name));
    EXPECT_EQ(!CheckName(name).has_value(), DialogAcceptsAtOnce(name));
  }
}

TEST(NameRules, RefusalNamesTheFirstRefusedCharacterAndItsPosition) {
  struct Case {
    std::string name;
    std::int32_t position;
    char32_t character;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"Ana", 1, U'A', "character 'A' (U+0041)"},
      {"ana2", 4, U'2', "character '2' (U+0032)"},
      {"j-k", 2, U'-', "character '-' (U+002D)"},
      {"ab\tc", 3, U'\t', "a tab (U+0009)"},
      {std::string("a\0b", 3), 2, U'\0', "a NUL (U+0000)"},
      {"a\nb", 2, U'\n', "a line feed (U+000A)"},
      {"\x1B", 1, U'\x1B', "a control character (U+001B)"},
      {"a\xC2\xA0", 2, U'\u00A0', "a no-break space (U+00A0)"},
      {"\xC5\xBE", 1, U'\u017E', "character '\xC5\xBE' (U+017E)"},
      {"ab \xC3\xA9", 4, U'\u00E9', "character '\xC3\xA9' (U+00E9)"},
      {"ab \xC3\xA9!", 4, U'\u00E9', "character '\xC3\xA9' (U+00E9)"},
      {"x\xE6\x97\xA5", 2, U'\u65E5', "character '\xE6\x97\xA5' (U+65E5)"},
      // Controls act on a terminal rather than show: named by their code, never printed.
      {"a\xC2\x85", 2, U'\u0085', "a control character (U+0085)"},
      {"\xE2\x80\xAE"
       "ab",
       1, U'\u202E', "a control character (U+202E)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto refusal = CheckName(c.name);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->reason, NameRefusal::Reason::kCharacter);
    EXPECT_EQ(refusal->position, c.position);
    EXPECT_EQ(refusal->character, c.character);
    const std::string message = DescribeRefusal(*refusal);
    // The message opens with the character: a name for a control character, the glyph otherwise.
    EXPECT_EQ(message.rfind(c.shown + " at position ", 0), 0u) << message;
    EXPECT_NE(message.find("position " + std::to_string(c.position)), std::string::npos) << message;
    EXPECT_NE(message.find("lowercase letters a to z and spaces"), std::string::npos) << message;
  }
}

TEST(NameRules, TooLongNameIsRefusedForItsLength) {
  const auto refusal = CheckName(std::string(100, 'a') + "\xC5\xBE");
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->reason, NameRefusal::Reason::kTooLong);
  EXPECT_EQ(refusal->length, 101);  // characters, not bytes
  const std::string message = DescribeRefusal(*refusal);
  EXPECT_NE(message.find("101 characters"), std::string::npos) << message;
  EXPECT_NE(message.find("at most 100"), std::string::npos) << message;

  EXPECT_FALSE(CheckName(std::string(100, 'z')).has_value());
  EXPECT_FALSE(CheckName("").has_value());
}

// The name a refusal suggests must be accepted and be the one change the person most likely meant;
// where no such change exists, nothing is suggested.
TEST(NameRules, SuggestsTheNameMeantWhenOneChangeMakesItAcceptable) {
  const struct {
    std::string name;
    std::optional<std::string> suggestion;
  } cases[] = {
      {"Ana", "ana"},
      {"JANEZ NOVAK", "janez novak"},
      {"\xC4\x8Cuk \xC5\xBD"
       "an",
       "cuk zan"},  // Čuk Žan
      {"J\xC3\xBCrgen Stra\xC3\x9F"
       "e",
       "jurgen strasse"},  // Jürgen Straße
      {"ana-marija", "ana marija"},
      {"ana\tmarija", "ana marija"},
      {"ana marija", std::nullopt},  // accepted already
      {"", std::nullopt},
      {"r2d2", std::nullopt},  // digits have no letter to become
      {"ana!", std::nullopt},
      {"\xD0\x90\xD0\xBD\xD0\xB0", std::nullopt},  // Cyrillic: no plain Latin letters
      {std::string(101, 'A'), std::nullopt},       // too long either way
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<std::string> suggestion = SuggestName(c.name);
    EXPECT_EQ(suggestion, c.suggestion);
    if (suggestion) {
      EXPECT_FALSE(CheckName(*suggestion).has_value());
    }
  }
}

}  // namespace
}  // namespace card::testing
