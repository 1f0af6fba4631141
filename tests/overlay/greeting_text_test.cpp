// Printing from the greeting's typeface table: only glyphs are painted, blended between the
// picture and the text colour; a line is cut at every border of the picture exactly where it
// would have run on, and never wrapped; a character the table lacks is found and paints nothing.
#include "overlay/greeting_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "overlay/greeting.h"

namespace card::testing {
namespace {

// Distinct channels on both sides, so a swapped channel or an unblended pixel shows.
constexpr std::uint32_t kPicture = 0xFF3070B0u;
constexpr std::uint32_t kInk = 0xFFF0C010u;
constexpr int kWidth = 60;
constexpr int kHeight = 24;
// Far enough around the small picture for any glyph that could reach into it.
constexpr int kMargin = 400;

bool Between(std::uint32_t value, std::uint32_t a, std::uint32_t b) {
  return (a <= value && value <= b) || (b <= value && value <= a);
}

// Each channel of `pixel` lies between the picture's and the ink's.
bool IsBlend(std::uint32_t pixel) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (!Between((pixel >> shift) & 0xFFu, (kPicture >> shift) & 0xFFu, (kInk >> shift) & 0xFFu)) {
      return false;
    }
  }
  return (pixel >> 24) == 0xFFu;
}

TEST(GreetingText, PaintsBlendedGlyphsCutAtTheBordersAndRefusesWhatItLacks) {
  struct Case {
    const char* what;
    std::string text;
    int x, y;
    std::optional<char> refused;  // the character the table lacks
    bool paints;
    bool reaches_right_edge;
    const char* same_as;  // prints exactly as this text would, when given
  };
  const std::string long_line(200, 'm');
  const Case cases[] = {
      {"one glyph with antialiased edges", "I", 4, 2, std::nullopt, true, false, nullptr},
      {"cut at the left and top borders", "Wave", -5, -7, std::nullopt, true, false, nullptr},
      {"cut at the right and bottom borders", "Wave", 40, 12, std::nullopt, true, true, nullptr},
      {"a line far longer than the picture", long_line, 0, 0, std::nullopt, true, true, nullptr},
      {"a line starting far left of the picture", long_line, -1000, 3, std::nullopt, true, true,
       nullptr},
      {"wholly outside the picture", "anna", 3, 300, std::nullopt, false, false, nullptr},
      {"printable ASCII only", " !~", 4, 2, std::nullopt, true, false, nullptr},
      {"a refused letter paints nothing and takes no room", "a\xC3\xA9z", 4, 2, '\xC3', true, false,
       "az"},
      {"a refused control character", "a\tz", 4, 2, '\t', true, false, "az"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string_view text(c.text);
    EXPECT_EQ(std::all_of(text.begin(), text.end(), InGreetingFont), !c.refused.has_value());

    PixelBuffer small(kWidth, kHeight, kPicture);
    const int line_height = DrawGreetingText(small, c.x, c.y, c.text, kInk);
    EXPECT_EQ(line_height, 19);  // 12 points at 96 dots per inch: ascent 15 and descent 4

    int painted = 0, full = 0, rightmost = -1;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const std::uint32_t pixel = small.at(x, y);
        if (pixel == kPicture) continue;
        ++painted;
        if (pixel == kInk) ++full;
        rightmost = std::max(rightmost, x);
        ASSERT_TRUE(IsBlend(pixel)) << std::hex << pixel << " at " << std::dec << x << ", " << y;
        // Never wrapped: nothing above the line's top or below its height.
        ASSERT_TRUE(y >= c.y && y < c.y + line_height) << "painted at row " << y;
      }
    }
    EXPECT_EQ(painted > 0, c.paints);
    if (c.paints) {
      EXPECT_GT(full, 0) << "no pixel fully covered";
      EXPECT_LT(full, painted) << "no antialiased edge";
    }
    // Up to the last columns; the gap between two letters may fall on the very last one.
    EXPECT_EQ(rightmost >= kWidth - 3, c.reaches_right_edge);

    // The same line on a picture larger on every side: the small picture shows exactly its part.
    PixelBuffer large(kWidth + 2 * kMargin, kHeight + 2 * kMargin, kPicture);
    DrawGreetingText(large, c.x + kMargin, c.y + kMargin, c.text, kInk);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        ASSERT_EQ(small.at(x, y), large.at(x + kMargin, y + kMargin)) << x << ", " << y;
      }
    }

    if (c.same_as != nullptr) {
      PixelBuffer expected(kWidth, kHeight, kPicture);
      DrawGreetingText(expected, c.x, c.y, c.same_as, kInk);
      EXPECT_TRUE(small == expected);
    }
  }
  // A kerned pair sits closer than its letters' advances: "AV" is narrower than "AX", whose
  // letters are as wide but not kerned.
  EXPECT_LT(GreetingTextWidth("AV"), GreetingTextWidth("AX"));
}

}  // namespace
}  // namespace card::testing
