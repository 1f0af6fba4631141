// Drawing lines from the last to the first underneath each other must give the picture of
// drawing them in order, with the open-pixel counts of each row kept right.
#include "raster/under_painter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "raster/line_raster.h"

namespace card {
namespace {

struct TestLine {
  std::int32_t x1, y1, x2, y2;
  std::uint32_t argb;
};

TEST(UnderPainter, ReverseDrawingEqualsForwardDrawing) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(-60, 160);
  std::uniform_int_distribution<int> far(-3000000, 3000000);
  for (int round = 0; round < 40; ++round) {
    std::vector<TestLine> lines;
    for (int k = 0; k < 300; ++k) {
      TestLine line{coordinate(random), coordinate(random), coordinate(random), coordinate(random),
                    0xFF000000u | static_cast<std::uint32_t>(k * 2654435761u >> 8)};
      if (k % 7 == 0) line.y2 = line.y1;       // rows
      if (k % 11 == 0) line.x2 = line.x1;      // columns
      if (k % 13 == 0) line.x1 = far(random);  // long lines from far outside
      if (k % 17 == 0) line = TestLine{line.x1, line.y1, line.x1, line.y1, line.argb};  // points
      lines.push_back(line);
    }
    const ClipRect band{0, round % 3 == 0 ? 20 : 0, 96, round % 3 == 0 ? 61 : 80};

    PixelBuffer forward(97, 81, 0xFF000000u);
    for (const TestLine& l : lines) DrawLine(forward, band, l.x1, l.y1, l.x2, l.y2, l.argb);

    // Lines are opaque, so a see-through sentinel marks the pixels no line reached.
    constexpr std::uint32_t kUntouched = 0x00ABCDEFu;
    PixelBuffer under(97, 81, kUntouched);
    UnderPainter painter(under, band.top, band.bottom);
    for (auto l = lines.rbegin(); l != lines.rend(); ++l) {
      painter.Line(band, l->x1, l->y1, l->x2, l->y2, l->argb);
    }
    for (int y = 0; y < 81; ++y) {
      int unwritten = 0;
      for (int x = 0; x < 97; ++x) {
        std::uint32_t& p = under.scanline(y)[x];
        if (p == kUntouched) {
          ++unwritten;
          p = 0xFF000000u;
        }
      }
      const bool in_band = y >= band.top && y <= band.bottom;
      ASSERT_EQ(painter.open_in_row(y), in_band ? unwritten : 0) << "row " << y;
    }
    ASSERT_TRUE(forward == under) << "round " << round;
  }
}

}  // namespace
}  // namespace card
