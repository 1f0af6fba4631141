#include <gtest/gtest.h>

#include <string>

#include "numeric/raises.h"
#include "services/clock.h"
#include "services/text.h"

namespace card {
namespace {

// "č" is two bytes, "€" three and "😀" four.
constexpr const char* kCzech =
    "\xC4\x8D"
    "aj";
constexpr const char* kMixed = "a\xC4\x8D\xE2\x82\xAC\xF0\x9F\x98\x80z";

TEST(Text, CountsCharactersNotBytes) {
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Len("ana marija"), 10);
  EXPECT_EQ(Len(kCzech), 3);
  EXPECT_EQ(Len(kMixed), 5);
  // Each malformed sequence is one character.
  EXPECT_EQ(Len("\xFF"), 1);
  EXPECT_EQ(Len("a\xC4"), 2);
  EXPECT_EQ(Len("\xE2\x28\xA1"), 3);

  EXPECT_EQ(Mid("ana marija", 5, 1), "m");
  EXPECT_EQ(Mid("ana marija", 5, 100), "marija");
  EXPECT_EQ(Mid(kCzech, 1, 1), "\xC4\x8D");
  EXPECT_EQ(Mid(kCzech, 2, 5), "aj");
  EXPECT_EQ(Mid(kMixed, 3, 2), "\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(Mid(kMixed, 5, 1), "z");
  EXPECT_EQ(Mid("abc", 4, 1), "");
  EXPECT_EQ(Mid("abc", 1000, 1), "");
  EXPECT_EQ(Mid("abc", 2, 0), "");
  EXPECT_EQ(ErrorOf([] { return Mid("abc", 0, 1); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { return Mid("abc", 1, -1); }), ErrorNumber::kInvalidCall);
}

TEST(Text, AscGivesSingleByteCodes) {
  EXPECT_EQ(Asc("a"), 97);
  EXPECT_EQ(Asc("z"), 122);
  EXPECT_EQ(Asc(" "), 32);
  EXPECT_EQ(Asc("marija"), 109);
  EXPECT_EQ(Asc("\xC3\xA9"), 233);  // "é" exists in the code page
  // Characters the code page lacks, and malformed input, come out as '?', outside a..z.
  EXPECT_EQ(Asc(kCzech), 63);
  EXPECT_EQ(Asc("\xE2\x82\xAC"), 63);
  EXPECT_EQ(Asc("\x80"), 63);
  EXPECT_EQ(Asc("\xC4"), 63);
  EXPECT_EQ(ErrorOf([] { return Asc(""); }), ErrorNumber::kInvalidCall);

  EXPECT_EQ(Chr(13), "\r");
  EXPECT_EQ(Chr(0), std::string(1, '\0'));
  EXPECT_EQ(Chr(97), "a");
  EXPECT_EQ(Asc(Chr(233)), 233);
  EXPECT_EQ(Asc(Chr(255)), 255);
  EXPECT_EQ(Len(Chr(200)), 1);
  EXPECT_EQ(ErrorOf([] { return Chr(256); }), ErrorNumber::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { return Chr(-1); }), ErrorNumber::kInvalidCall);
}

TEST(Text, DecodeUtf8RejectsMalformedSequences) {
  const auto decode_all = [](std::string_view s) {
    std::u32string out;
    for (std::size_t pos = 0; pos < s.size();) out += DecodeUtf8(s, pos);
    return out;
  };
  EXPECT_EQ(decode_all(kMixed), U"a\u010D\u20AC\U0001F600z");
  EXPECT_EQ(decode_all("\xF4\x8F\xBF\xBF"), U"\U0010FFFF");
  EXPECT_EQ(decode_all("\xC0\xAF"), U"\uFFFD\uFFFD");                      // overlong '/'
  EXPECT_EQ(decode_all("\xE0\x80\xAF"), U"\uFFFD\uFFFD\uFFFD");            // overlong, three bytes
  EXPECT_EQ(decode_all("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");            // a surrogate
  EXPECT_EQ(decode_all("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
  // A broken sequence does not swallow the character after it.
  EXPECT_EQ(decode_all("\xE2\x28\xA1"), U"\uFFFD(\uFFFD");
  EXPECT_EQ(decode_all("\xE2\x82z"), U"\uFFFDz");
  EXPECT_EQ(decode_all("\xF0\x9F\x98"), U"\uFFFD");

  std::size_t pos = 1;
  EXPECT_EQ(DecodeUtf8(kMixed, pos), U'\u010D');
  EXPECT_EQ(pos, 3u);
}

TEST(Clock, FormatsDateAndTimeWithFixedWidths) {
  const LocalTime morning{2024, 1, 5, 7, 3, 9};
  EXPECT_EQ(DateText(morning), "01-05-2024");
  EXPECT_EQ(TimeText(morning), "07:03:09");
  const LocalTime midnight_before{1999, 12, 31, 23, 59, 59};
  EXPECT_EQ(DateText(midnight_before), "12-31-1999");
  EXPECT_EQ(TimeText(midnight_before), "23:59:59");
  EXPECT_EQ(TimeText(LocalTime{2000, 1, 1, 0, 0, 0}), "00:00:00");

  FixedClock clock(morning);
  EXPECT_EQ(DateText(clock.Now()), "01-05-2024");
  clock.Set(midnight_before);
  EXPECT_EQ(TimeText(clock.Now()), "23:59:59");

  const LocalTime now = SystemClock().Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_LE(now.year, 9999);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_GE(now.hour, 0);
  EXPECT_LE(now.hour, 23);
  EXPECT_EQ(DateText(now).size(), 10u);
  EXPECT_EQ(TimeText(now).size(), 8u);
}

}  // namespace
}  // namespace card
