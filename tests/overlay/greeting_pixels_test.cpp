// The greeting line as the core's typeface paints it over a picture: where the line lies, the
// black edge one pixel up and left of the white glyphs, nothing painted between the glyphs, and a
// long name cut at the right edge of the picture without a second line.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "overlay/greeting.h"
#include "overlay/greeting_text.h"
#include "raster/bmp_writer.h"
#include "support/card_fixture.h"

namespace card::testing {
namespace {

// A mid-tone with three different channels. Wherever the black print covers a pixel completely,
// the colour is gone and only neutral shades (black, white or a blend of the two) remain; a
// pixel where any of the picture shows through is not neutral.
constexpr std::uint32_t kPictureColour = 0xFF8060A0u;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr int kGreetingLeft = 10;
constexpr int kGreetingTop = 490;

bool Neutral(std::uint32_t argb) {
  const std::uint32_t red = (argb >> 16) & 0xFFu, green = (argb >> 8) & 0xFFu, blue = argb & 0xFFu;
  return red == green && green == blue;
}

// Writes the picture next to the test program so that a failure can be looked at; says where.
std::string KeepPicture(const PixelBuffer& picture, const std::string& stem) {
  const std::string path = stem + ".bmp";
  const std::vector<std::uint8_t> bytes = EncodeBmp(picture);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return " (picture kept in " + path + ")";
}

// A window object on the in-memory platform that has printed the greeting of `name`.
struct GreetingCard {
  explicit GreetingCard(const std::string& name) {
    card.memory.picture1.pixels().Fill(kPictureColour);
    card.form.t = name;
    card.form.PrintGreeting();
  }
  const PixelBuffer& picture() const { return card.memory.picture1.pixels(); }
  TestCard card;
};

TEST(GreetingPixels, BlackEdgeLiesOnePixelUpAndLeftOfTheWhiteGlyphs) {
  const GreetingCard card("anna");
  const PixelBuffer& p = card.picture();

  int white = 0;
  int fringe = 0;
  // Black pixels diagonally below-right of a white one: there would be many of them if the black
  // copy lay one pixel down and right instead of up and left.
  int black_below_right = 0;
  for (int y = 1; y + 1 < p.height(); ++y) {
    for (int x = 1; x + 1 < p.width(); ++x) {
      if (p.at(x, y) != kWhite) continue;
      ++white;
      const std::uint32_t up_left = p.at(x - 1, y - 1);
      ASSERT_TRUE(Neutral(up_left)) << "white pixel at (" << x << ", " << y
                                    << ") but the picture shows through up-left: " << std::hex
                                    << up_left << KeepPicture(p, "greeting_edge_failure");
      if (up_left == kBlack) ++fringe;
      if (p.at(x + 1, y + 1) == kBlack) ++black_below_right;
    }
  }
  EXPECT_GT(white, 100);
  EXPECT_GT(fringe, 20);
  EXPECT_LT(black_below_right, fringe / 4);
}

TEST(GreetingPixels, OnlyTheGlyphsArePaintedWhereTheWindowAlwaysPrintedThem) {
  const GreetingCard card("anna");
  const PixelBuffer& p = card.picture();
  const std::string line = GreetingLine("anna");
  const int line_height = static_cast<int>(card.card.memory.picture1.current_y()) - kGreetingTop;

  int top = p.height(), bottom = -1, left = p.width(), right = -1;
  int changed = 0;
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      if (p.at(x, y) == kPictureColour) continue;
      ++changed;
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  // The glyphs' ink as the window has always shown it: from the tops of "I" and "h" on row 493
  // down to the white tails of "y" and "p" on row 508, starting at the black "a".
  EXPECT_EQ(top, 493) << KeepPicture(p, "greeting_place_failure");
  EXPECT_EQ(bottom, 508);
  EXPECT_EQ(left, kGreetingLeft);
  EXPECT_LE(right, kGreetingLeft + 1 + GreetingTextWidth(line));
  EXPECT_GT(right, kGreetingLeft + GreetingTextWidth(line) - 10);
  EXPECT_LT(bottom, kGreetingTop + 1 + line_height);
  // Text covers a minority of its box; an opaque text background would cover all of it.
  EXPECT_GT(changed, 200);
  EXPECT_LT(changed, (right - left + 1) * (bottom - top + 1) / 2);
  // The gap between "anna," and "I" (a space) keeps the picture in every row.
  const int gap_left = kGreetingLeft + GreetingTextWidth("anna,") + 2;
  const int gap_right = kGreetingLeft + GreetingTextWidth("anna, ") - 1;
  ASSERT_LT(gap_left, gap_right);
  for (int y = 0; y < p.height(); ++y) {
    for (int x = gap_left; x < gap_right; ++x) {
      ASSERT_EQ(p.at(x, y), kPictureColour) << "painted between words at (" << x << ", " << y << ")"
                                            << KeepPicture(p, "greeting_gap_failure");
    }
  }
}

TEST(GreetingPixels, LongNameIsCutAtTheRightEdgeOnOneLine) {
  std::string name;
  while (name.size() < 100) name += "mwmwmwmwmw";
  const GreetingCard card(name);
  const PixelBuffer& p = card.picture();

  // The print ends its line by moving the text position one line down: that is where a second
  // line would begin.
  const int next_line = static_cast<int>(card.card.memory.picture1.current_y());
  ASSERT_GT(next_line, kGreetingTop + 1);
  ASSERT_LT(next_line, p.height());

  int rightmost = -1;
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      if (p.at(x, y) == kPictureColour) continue;
      ASSERT_TRUE(y >= kGreetingTop && y < next_line)
          << "painted outside the line at (" << x << ", " << y << ")"
          << KeepPicture(p, "greeting_cut_failure");
      rightmost = std::max(rightmost, x);
    }
  }
  // "m" and "w" are wide glyphs without gaps worth the name: the line reaches the last column.
  EXPECT_EQ(rightmost, p.width() - 1);
}

}  // namespace
}  // namespace card::testing
