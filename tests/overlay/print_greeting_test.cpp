// The greeting line over the finished picture: its text, its two prints and the corner mark.
#include <gtest/gtest.h>

#include <string>

#include "overlay/greeting.h"
#include "support/card_fixture.h"

namespace card::testing {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kGrey = 0xFF808080u;

struct GreetingCard {
  GreetingCard() : card(&text) { card.memory.picture1.pixels().Fill(kGrey); }
  RecordingTextRenderer text;
  TestCard card;
};

TEST(PrintGreeting, PrintsTheLineBlackThenWhiteAndMarksTheWindow) {
  GreetingCard g;
  g.card.form.t = "anna";
  g.card.form.PrintGreeting();

  const std::string line =
      std::string("anna, I wish you a happy new year 2010      ") + kProjectAddress;
  const auto& calls = g.text.calls;
  ASSERT_EQ(calls.size(), 3u);
  const PixelBuffer* picture = &g.card.memory.picture1.pixels();
  const PixelBuffer* window = &g.card.memory.form.pixels();

  EXPECT_EQ(calls[0].buffer, picture);
  EXPECT_EQ(calls[0].text, line);
  EXPECT_EQ(calls[0].point_size, 12.0);
  EXPECT_EQ(calls[0].argb, kBlack);
  EXPECT_EQ(calls[0].x, 10);
  EXPECT_EQ(calls[0].y, 490);

  EXPECT_EQ(calls[1].buffer, picture);
  EXPECT_EQ(calls[1].text, line);
  EXPECT_EQ(calls[1].point_size, 12.0);
  EXPECT_EQ(calls[1].argb, kWhite);
  EXPECT_EQ(calls[1].x, 11);
  EXPECT_EQ(calls[1].y, 491);

  EXPECT_EQ(calls[2].buffer, window);
  EXPECT_EQ(calls[2].text, "*");
  EXPECT_EQ(calls[2].x, 1);
  EXPECT_EQ(calls[2].y, 1);

  // The white mark lies one pixel right and down of the black one, which shows along its upper
  // and left edges; the picture around both is left as it was.
  const PixelBuffer& p = g.card.memory.picture1.pixels();
  EXPECT_EQ(p.at(10, 490), kBlack);
  EXPECT_EQ(p.at(12, 490), kBlack);
  EXPECT_EQ(p.at(10, 492), kBlack);
  EXPECT_EQ(p.at(11, 491), kWhite);
  EXPECT_EQ(p.at(13, 493), kWhite);
  EXPECT_EQ(p.at(9, 490), kGrey);
  EXPECT_EQ(p.at(10, 489), kGrey);
  EXPECT_EQ(p.at(14, 493), kGrey);
  EXPECT_EQ(p.at(11, 494), kGrey);
}

TEST(PrintGreeting, EmptyNameStartsWithTheWish) {
  GreetingCard g;
  g.card.form.t = "";
  g.card.form.PrintGreeting();
  ASSERT_EQ(g.text.calls.size(), 3u);
  const std::string expected =
      std::string(", I wish you a happy new year 2010      ") + kProjectAddress;
  EXPECT_EQ(g.text.calls[0].text, expected);
  EXPECT_EQ(g.text.calls[1].text, expected);
  EXPECT_EQ(GreetingLine(""), expected);
}

TEST(PrintGreeting, PictureKeepsTheSizeAndWhiteTextColour) {
  GreetingCard g;
  Surface& picture = g.card.memory.picture1;
  picture.SetFontSize(30);
  picture.SetForeColor(0x123456);
  g.card.form.t = "ana novak";
  g.card.form.PrintGreeting();
  EXPECT_EQ(picture.font_size(), 12.0);
  EXPECT_EQ(picture.fore_color(), QBColor(15));
}

TEST(PrintGreeting, EachCardPrintsItsOwnName) {
  GreetingCard g;
  g.card.form.t = "first";
  g.card.form.PrintGreeting();
  g.card.form.t = "second";
  g.card.form.PrintGreeting();
  ASSERT_EQ(g.text.calls.size(), 6u);
  EXPECT_EQ(g.text.calls[3].text, GreetingLine("second"));
  EXPECT_EQ(g.text.calls[3].text.rfind("second, I wish", 0), 0u);
  // The second card's prints are placed again, not below the first card's lines.
  EXPECT_EQ(g.text.calls[3].y, 490);
  EXPECT_EQ(g.text.calls[4].y, 491);
  EXPECT_EQ(g.text.calls[5].y, 1);
}

}  // namespace
}  // namespace card::testing
