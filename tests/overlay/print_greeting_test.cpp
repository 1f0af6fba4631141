// The greeting line over the finished picture: its text, its two prints and the corner mark.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "overlay/greeting.h"
#include "overlay/greeting_settings.h"
#include "overlay/greeting_text.h"
#include "support/card_fixture.h"

namespace card::testing {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kGrey = 0xFF808080u;

// The window's own text (the corner mark) goes to a recording stand-in for its font.
struct GreetingCard {
  GreetingCard() : card(&text) { card.memory.picture1.pixels().Fill(kGrey); }
  RecordingTextRenderer text;
  TestCard card;
};

// A grey picture with `line` printed black at (10, 490) and then white at (11, 491).
PixelBuffer TwoPrints(const std::string& line) {
  PixelBuffer expected(kPictureWidth, kPictureHeight, kGrey);
  DrawGreetingText(expected, 10, 490, line, kBlack);
  DrawGreetingText(expected, 11, 491, line, kWhite);
  return expected;
}

// What a reader of the card sees, whatever calls print it: white letters on a black edge one
// pixel above and to the left, on the greeting's rows from column 10, nothing else of the picture
// touched, and the window's corner marked.
TEST(PrintGreeting, WhiteLettersWithABlackEdgeUpAndLeftOnTheGreetingRows) {
  GreetingCard g;
  g.card.form.t = "anna";
  g.card.form.PrintGreeting();
  const PixelBuffer& picture = g.card.memory.picture1.pixels();

  int white = 0, left = picture.width(), top = picture.height(), right = -1, bottom = -1;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const std::uint32_t pixel = picture.at(x, y);
      if (pixel == kGrey) continue;
      left = std::min(left, x), top = std::min(top, y);
      right = std::max(right, x), bottom = std::max(bottom, y);
      if (pixel != kWhite) continue;
      ++white;
      // Up and left of a white pixel is more white letter or its black edge, never the picture.
      const std::uint32_t up_left = picture.at(x - 1, y - 1);
      EXPECT_NE(up_left, kGrey) << "no edge up and left of (" << x << ", " << y << ")";
      EXPECT_EQ(up_left & 0xFFu, (up_left >> 8) & 0xFFu) << "a coloured edge";
    }
  }
  EXPECT_GT(white, 50) << "the letters are not white";
  EXPECT_EQ(left, 10);
  EXPECT_GE(top, 490);
  EXPECT_LE(bottom, 491 + 19);
  EXPECT_LT(right, 11 + GreetingTextWidth(GreetingLine("anna")) + 1);

  const auto& calls = g.text.calls;
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].buffer, &g.card.memory.form.pixels());
  EXPECT_EQ(calls[0].text, "*");
  EXPECT_EQ(calls[0].x, 1);
  EXPECT_EQ(calls[0].y, 1);
}

TEST(PrintGreeting, LineIsTheNameTheWishTheYearAndTheAddress) {
  EXPECT_EQ(GreetingLine("anna"), std::string("anna, I wish you a happy new year ") +
                                      kGreetingYear + "      " + kProjectAddress);
  EXPECT_EQ(GreetingLine("", "cards.example.net", "2027"),
            ", I wish you a happy new year 2027      cards.example.net");

  // The window's address and year, when set, are the ones printed.
  GreetingCard g;
  g.card.form.t = "";
  g.card.form.SetGreetingAddress("cards.example.net");
  g.card.form.SetGreetingYear("2027");
  g.card.form.PrintGreeting();
  EXPECT_TRUE(g.card.memory.picture1.pixels() ==
              TwoPrints(", I wish you a happy new year 2027      cards.example.net"));
}

TEST(PrintGreeting, EachCardPrintsItsOwnNameInTheSamePlace) {
  GreetingCard g;
  g.card.form.t = "first";
  g.card.form.PrintGreeting();
  g.card.memory.picture1.pixels().Fill(kGrey);
  g.card.form.t = "second";
  g.card.form.PrintGreeting();
  // The second card's prints are placed again, not below the first card's lines.
  EXPECT_TRUE(g.card.memory.picture1.pixels() == TwoPrints(GreetingLine("second")));
  ASSERT_EQ(g.text.calls.size(), 2u);
  EXPECT_EQ(g.text.calls[1].y, 1);
}

}  // namespace
}  // namespace card::testing
