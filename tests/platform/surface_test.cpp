#include "platform/surface.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {
namespace {

constexpr std::int32_t Rgb(int red, int green, int blue) {
  return red + 256 * green + 65536 * blue;
}

struct Box {
  int left, top, right, bottom;
  friend bool operator==(const Box&, const Box&) = default;
};

void PrintTo(const Box& box, std::ostream* os) {
  *os << "{" << box.left << ", " << box.top << ", " << box.right << ", " << box.bottom << "}";
}

class RecordingObserver : public SurfaceObserver {
 public:
  void Drawn(int left, int top, int right, int bottom) override {
    boxes.push_back({left, top, right, bottom});
  }
  std::vector<Box> boxes;
};

// Paints a one-pixel marker at the text position so a test can see where the text went.
class FakeTextRenderer : public TextRenderer {
 public:
  struct Call {
    int x, y;
    std::string text;
    double point_size;
    std::uint32_t argb;
  };

  explicit FakeTextRenderer(int line_height) : line_height_(line_height) {}

  int DrawText(PixelBuffer& buffer, int x, int y, std::string_view text, double point_size,
               std::uint32_t argb) override {
    calls.push_back({x, y, std::string(text), point_size, argb});
    if (x >= 0 && x < buffer.width() && y >= 0 && y < buffer.height()) buffer.scanline(y)[x] = argb;
    return line_height_;
  }

  std::vector<Call> calls;

 private:
  int line_height_;
};

TEST(SurfaceTest, StartsBlackAndReadsBackWhatPSetWrote) {
  Surface surface(7, 5);
  EXPECT_EQ(surface.Point(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(surface.Point(6, 4), Rgb(0, 0, 0));

  surface.PSet(3, 2, Rgb(200, 100, 50));
  surface.PSet(6, 4, Rgb(1, 2, 3));
  EXPECT_EQ(surface.Point(3, 2), Rgb(200, 100, 50));
  EXPECT_EQ(surface.Point(6, 4), Rgb(1, 2, 3));
  EXPECT_EQ(surface.Point(2, 3), Rgb(0, 0, 0)) << "x and y must not be swapped";
}

TEST(SurfaceTest, StoresRedGreenAndBlueWhereTheScreenExpectsThem) {
  Surface surface(4, 3);
  surface.PSet(1, 1, Rgb(0x12, 0x34, 0x56));
  EXPECT_EQ(surface.pixels().at(1, 1), 0xFF123456u);
  surface.Line(0, 2, 3, 2, Rgb(255, 0, 0));
  EXPECT_EQ(surface.pixels().at(0, 2), 0xFFFF0000u);
  EXPECT_EQ(surface.pixels().at(3, 2), 0xFFFF0000u);
}

TEST(SurfaceTest, MapsCoordinatesToTheNearestPixelWithHalvesToEven) {
  Surface surface(6, 6);
  surface.PSet(2.5f, 3.5f, Rgb(9, 9, 9));
  EXPECT_EQ(surface.pixels().at(2, 4), 0xFF090909u);
  EXPECT_EQ(surface.Point(1.6f, 4.4f), Rgb(9, 9, 9));
  EXPECT_EQ(surface.Point(2.0f, 3.0f), Rgb(0, 0, 0));
}

TEST(SurfaceTest, IgnoresWritesAndGivesNoColourOutside) {
  Surface surface(7, 5);
  const PixelBuffer before = surface.pixels();
  const std::array<std::array<float, 2>, 8> outside = {
      {{-1, 0}, {0, -1}, {7, 0}, {0, 5}, {-0.6f, 2}, {6.51f, 2}, {3, 4.6f}, {1e10f, -1e10f}}};
  for (const auto& [x, y] : outside) {
    SCOPED_TRACE(testing::Message() << "(" << x << ", " << y << ")");
    surface.PSet(x, y, Rgb(255, 255, 255));
    EXPECT_EQ(surface.Point(x, y), std::nullopt);
  }
  EXPECT_TRUE(surface.pixels() == before);

  // Inside after rounding.
  surface.PSet(-0.4f, 4.4f, Rgb(255, 255, 255));
  EXPECT_EQ(surface.Point(0, 4), Rgb(255, 255, 255));
  EXPECT_EQ(surface.Point(-0.5f, 4.5f), Rgb(255, 255, 255));
  surface.PSet(6.5f, 0, Rgb(255, 255, 255));
  EXPECT_EQ(surface.Point(6, 0), Rgb(255, 255, 255));
}

TEST(SurfaceTest, SettingTheBackgroundColourErasesEverything) {
  Surface surface(5, 4);
  surface.PSet(1, 1, Rgb(255, 255, 255));
  surface.Line(0, 0, 4, 3, Rgb(0, 255, 0));
  surface.SetBackColor(Rgb(10, 20, 30));
  EXPECT_EQ(surface.back_color(), Rgb(10, 20, 30));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(surface.pixels().at(x, y), 0xFF0A141Eu) << x << ", " << y;
  }
}

TEST(SurfaceTest, TellsTheObserverWhichPixelsChanged) {
  Surface surface(10, 8);
  RecordingObserver observer;
  surface.set_observer(&observer);

  surface.PSet(3, 5, Rgb(1, 1, 1));
  surface.PSet(10, 5, Rgb(1, 1, 1));  // outside: nothing changed
  surface.Line(8.4f, 6, -5, 2, Rgb(1, 1, 1));
  surface.Line(2, 7, 2, 7, Rgb(1, 1, 1));
  surface.Line(-1, -1, -9, -20, Rgb(1, 1, 1));  // outside
  surface.Line(20, 3, 40, 3, Rgb(1, 1, 1));     // outside
  surface.SetBackColor(Rgb(0, 0, 0));

  EXPECT_EQ(observer.boxes,
            (std::vector<Box>{{3, 5, 3, 5}, {0, 2, 8, 6}, {2, 7, 2, 7}, {0, 0, 9, 7}}));
}

// The web page copies only the rows drawn since it last asked: a row missed there stays stale on
// screen.
TEST(SurfaceTest, SaysWhichRowsWereDrawnSinceItWasLastAsked) {
  FakeTextRenderer text(3);
  Surface surface(10, 8, &text);
  struct Step {
    std::string what;
    std::function<void()> draw;
    int top, bottom;  // top > bottom: no row
  };
  const std::vector<Step> steps = {
      {"a new surface", [] {}, 0, 7},
      {"nothing", [] {}, 0, -1},
      {"a point", [&] { surface.PSet(3, 5, Rgb(1, 1, 1)); }, 5, 5},
      {"a point outside", [&] { surface.PSet(3, 9, Rgb(1, 1, 1)); }, 0, -1},
      {"a line up", [&] { surface.Line(8.4f, 6, -5, 2, Rgb(1, 1, 1)); }, 2, 6},
      {"a line above", [&] { surface.Line(-1, -1, -9, -20, Rgb(1, 1, 1)); }, 0, -1},
      {"a line below and past the bottom", [&] { surface.Line(2, 6, 2, 40, Rgb(1, 1, 1)); }, 6, 7},
      {"two lines",
       [&] {
         surface.Line(0, 1, 4, 1, Rgb(1, 1, 1));
         surface.Line(0, 4, 4, 3, Rgb(1, 1, 1));
       },
       1, 4},
      {"text",
       [&] {
         surface.SetCurrentY(4);
         surface.Print("x");
       },
       4, 6},
      {"rows marked directly", [&] { surface.MarkRowsDrawn(2, 3); }, 2, 3},
      {"the background", [&] { surface.SetBackColor(Rgb(0, 0, 0)); }, 0, 7},
  };
  for (const Step& step : steps) {
    step.draw();
    const Surface::Rows rows = surface.TakeDrawnRows();
    if (step.top > step.bottom) {
      EXPECT_GT(rows.top, rows.bottom) << step.what;
    } else {
      EXPECT_EQ(rows.top, step.top) << step.what;
      EXPECT_EQ(rows.bottom, step.bottom) << step.what;
    }
  }
}

TEST(SurfaceTest, PrintHandsTheTextToTheRendererAndMovesToTheNextLine) {
  FakeTextRenderer renderer(17);
  Surface surface(40, 60, &renderer);
  RecordingObserver observer;
  surface.set_observer(&observer);
  surface.SetFontSize(14);
  surface.SetForeColor(Rgb(255, 128, 0));
  surface.SetCurrentX(10.5f);
  surface.SetCurrentY(20);

  surface.Print("Happy");
  ASSERT_EQ(renderer.calls.size(), 1u);
  EXPECT_EQ(renderer.calls[0].x, 10);
  EXPECT_EQ(renderer.calls[0].y, 20);
  EXPECT_EQ(renderer.calls[0].text, "Happy");
  EXPECT_EQ(renderer.calls[0].point_size, 14.0);
  EXPECT_EQ(renderer.calls[0].argb, 0xFFFF8000u);
  EXPECT_EQ(surface.pixels().at(10, 20), 0xFFFF8000u) << "the renderer paints into the surface";
  EXPECT_EQ(surface.current_x(), 0.0f);
  EXPECT_EQ(surface.current_y(), 37.0f);

  surface.Print("new year");
  ASSERT_EQ(renderer.calls.size(), 2u);
  EXPECT_EQ(renderer.calls[1].x, 0);
  EXPECT_EQ(renderer.calls[1].y, 37);
  EXPECT_EQ(surface.current_y(), 54.0f);

  surface.Print("cut off at the bottom");
  surface.SetCurrentY(-100);
  surface.Print("far above");

  EXPECT_EQ(observer.boxes, (std::vector<Box>{{10, 20, 39, 36}, {0, 37, 39, 53}, {0, 54, 39, 59}}));
}

TEST(SurfaceTest, PrintWithoutARendererStillMovesByOneLine) {
  Surface surface(40, 60);
  surface.SetCurrentX(12);
  surface.SetCurrentY(3);
  surface.Print("text");  // 9 points: 12 pixels and 20 % leading, 14.4
  EXPECT_EQ(surface.current_x(), 0.0f);
  EXPECT_EQ(surface.current_y(), 17.0f);

  surface.SetFontSize(12);  // 19.2
  surface.Print("");
  EXPECT_EQ(surface.current_y(), 36.0f);

  surface.SetFontSize(10);  // 16.0
  surface.Print("");
  EXPECT_EQ(surface.current_y(), 52.0f);
  EXPECT_TRUE(surface.pixels() == PixelBuffer(40, 60));
}

}  // namespace
}  // namespace card
