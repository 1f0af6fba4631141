#include "raster/line_raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "raster/pixel_buffer.h"

namespace card {
namespace {

using Pixel = std::pair<std::int64_t, std::int64_t>;  // x, y
using PixelSet = std::set<Pixel>;

__extension__ typedef unsigned __int128 Wide;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kInk = 0xFFFFFFFFu;
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The pixels of the line from (x1, y1) to (x2, y2) that lie inside `area`, worked out one major
// coordinate at a time from the rule itself: at step k along the major axis the minor offset is
// k * minor / major rounded to the nearest whole number, halves away from the start. Exact in
// 128-bit arithmetic for any 32-bit end points.
PixelSet ReferencePixels(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                         const ClipRect& area) {
  PixelSet pixels;
  const auto inside = [&](std::int64_t x, std::int64_t y) {
    return x >= area.left && x <= area.right && y >= area.top && y <= area.bottom;
  };
  const bool x_major = std::llabs(x2 - x1) >= std::llabs(y2 - y1);
  const std::int64_t major_start = x_major ? x1 : y1;
  const std::int64_t major_end = x_major ? x2 : y2;
  const std::int64_t minor_start = x_major ? y1 : x1;
  const std::int64_t minor_end = x_major ? y2 : x2;
  const auto major = static_cast<Wide>(std::llabs(major_end - major_start));
  const auto minor = static_cast<Wide>(std::llabs(minor_end - minor_start));
  const std::int64_t minor_sign = minor_end >= minor_start ? 1 : -1;

  const std::int64_t from =
      std::max<std::int64_t>(std::min(major_start, major_end), x_major ? area.left : area.top);
  const std::int64_t to =
      std::min<std::int64_t>(std::max(major_start, major_end), x_major ? area.right : area.bottom);
  for (std::int64_t m = from; m <= to; ++m) {
    const auto k = static_cast<Wide>(std::llabs(m - major_start));
    Wide offset = 0;
    if (major != 0) {
      offset = k * minor / major;
      const Wide remainder = k * minor % major;
      if (2 * remainder >= major) ++offset;
    }
    const std::int64_t n = minor_start + minor_sign * static_cast<std::int64_t>(offset);
    const std::int64_t x = x_major ? m : n;
    const std::int64_t y = x_major ? n : m;
    if (inside(x, y)) pixels.insert({x, y});
  }
  return pixels;
}

ClipRect WholeOf(const PixelBuffer& buffer) {
  return {0, 0, buffer.width() - 1, buffer.height() - 1};
}

// Painted pixels in the coordinates of a buffer whose pixel (0, 0) stands for (origin, origin).
PixelSet PaintedPixels(const PixelBuffer& buffer, std::int64_t origin = 0) {
  PixelSet pixels;
  for (int y = 0; y < buffer.height(); ++y) {
    for (int x = 0; x < buffer.width(); ++x) {
      if (buffer.at(x, y) != kBlack) pixels.insert({x + origin, y + origin});
    }
  }
  return pixels;
}

PixelSet Inside(const PixelSet& pixels, const ClipRect& area) {
  PixelSet inside;
  for (const Pixel& p : pixels) {
    if (p.first >= area.left && p.first <= area.right && p.second >= area.top &&
        p.second <= area.bottom) {
      inside.insert(p);
    }
  }
  return inside;
}

PixelSet Draw(int width, int height, std::int32_t x1, std::int32_t y1, std::int32_t x2,
              std::int32_t y2) {
  PixelBuffer buffer(width, height);
  DrawLine(buffer, x1, y1, x2, y2, kInk);
  return PaintedPixels(buffer);
}

TEST(DrawLineTest, FollowsTheRuleInEveryOctant) {
  // Offsets across the major axis at each step, worked out by hand: 3 over 6 steps hits a half at
  // every odd step (rounded away from the start), 2 over 7 never does.
  struct Shape {
    int major, minor;
    std::vector<int> offsets;
  };
  const Shape shapes[] = {{6, 3, {0, 1, 1, 2, 2, 3, 3}}, {7, 2, {0, 0, 1, 1, 1, 1, 2, 2}}};
  struct Octant {
    const char* name;
    int major_x, major_y, minor_x, minor_y;
  };
  const Octant octants[] = {
      {"east, turning south", 1, 0, 0, 1},  {"east, turning north", 1, 0, 0, -1},
      {"west, turning south", -1, 0, 0, 1}, {"west, turning north", -1, 0, 0, -1},
      {"south, turning east", 0, 1, 1, 0},  {"south, turning west", 0, 1, -1, 0},
      {"north, turning east", 0, -1, 1, 0}, {"north, turning west", 0, -1, -1, 0},
  };
  const int cx = 10, cy = 9;
  for (const Shape& shape : shapes) {
    for (const Octant& o : octants) {
      SCOPED_TRACE(testing::Message() << o.name << ", " << shape.minor << " over " << shape.major);
      PixelSet expected;
      for (int k = 0; k <= shape.major; ++k) {
        expected.insert({cx + k * o.major_x + shape.offsets[k] * o.minor_x,
                         cy + k * o.major_y + shape.offsets[k] * o.minor_y});
      }
      const int ex = cx + shape.major * o.major_x + shape.minor * o.minor_x;
      const int ey = cy + shape.major * o.major_y + shape.minor * o.minor_y;
      EXPECT_EQ(Draw(21, 19, cx, cy, ex, ey), expected);
      EXPECT_EQ(ReferencePixels(cx, cy, ex, ey, {0, 0, 20, 18}), expected);
    }
  }
}

TEST(DrawLineTest, RoundsHalvesAwayFromTheStartSoDirectionMatters) {
  EXPECT_EQ(Draw(5, 3, 0, 0, 4, 2), (PixelSet{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
  EXPECT_EQ(Draw(5, 3, 4, 2, 0, 0), (PixelSet{{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}));
}

TEST(DrawLineTest, RoundsToTheNearestWithHalvesAwayFromTheStartOnLinesOfAnyLength) {
  // From (2 - h, 0) to (2 + h, 1) the line is exactly half a pixel across at x = 2; to (3 + h, 1)
  // it is just short of half there. Column 2 is not the first one painted, so the rounding is
  // also checked after stepping.
  const std::int32_t half_lengths[] = {5, 2000, 20000, 24999, 25000, 25001, 60000, 1 << 30};
  PixelSet up_at_2, up_at_3;
  for (int x = 0; x < 6; ++x) {
    up_at_2.insert({x, x >= 2 ? 1 : 0});
    up_at_3.insert({x, x >= 3 ? 1 : 0});
  }
  const auto transposed = [](const PixelSet& pixels) {
    PixelSet result;
    for (const auto& [x, y] : pixels) result.insert({y, x});
    return result;
  };
  for (const std::int32_t h : half_lengths) {
    SCOPED_TRACE(testing::Message() << "half length " << h);
    EXPECT_EQ(Draw(6, 4, 2 - h, 0, 2 + h, 1), up_at_2);
    EXPECT_EQ(Draw(6, 4, 2 + h, 1, 2 - h, 0), up_at_3) << "drawn backwards";
    EXPECT_EQ(Draw(6, 4, 2 - h, 0, 3 + h, 1), up_at_3) << "just short of half";

    EXPECT_EQ(Draw(4, 6, 0, 2 - h, 1, 2 + h), transposed(up_at_2));
    EXPECT_EQ(Draw(4, 6, 1, 2 + h, 0, 2 - h), transposed(up_at_3)) << "drawn backwards";
    EXPECT_EQ(Draw(4, 6, 0, 2 - h, 1, 3 + h), transposed(up_at_3)) << "just short of half";
  }
}

TEST(DrawLineTest, ZeroLengthLinePaintsOnePixel) {
  EXPECT_EQ(Draw(6, 5, 3, 2, 3, 2), (PixelSet{{3, 2}}));
  EXPECT_EQ(Draw(6, 5, 0, 4, 0, 4), (PixelSet{{0, 4}}));
  EXPECT_EQ(Draw(6, 5, 6, 2, 6, 2), PixelSet{});
  EXPECT_EQ(Draw(6, 5, -1, -1, -1, -1), PixelSet{});
}

TEST(DrawLineTest, RowsAndColumnsAreClippedToTheBuffer) {
  PixelSet row;
  for (int x = 0; x < 8; ++x) row.insert({x, 3});
  EXPECT_EQ(Draw(8, 6, -5, 3, 900, 3), row);
  EXPECT_EQ(Draw(8, 6, kMax, 3, kMin, 3), row);
  EXPECT_EQ(Draw(8, 6, 2, 1, 5, 1), (PixelSet{{2, 1}, {3, 1}, {4, 1}, {5, 1}}));
  EXPECT_EQ(Draw(8, 6, 5, 1, 2, 1), (PixelSet{{2, 1}, {3, 1}, {4, 1}, {5, 1}}));

  PixelSet column;
  for (int y = 0; y < 6; ++y) column.insert({7, y});
  EXPECT_EQ(Draw(8, 6, 7, kMin, 7, kMax), column);
  EXPECT_EQ(Draw(8, 6, 7, 10, 7, -10), column);
  EXPECT_EQ(Draw(8, 6, 0, 4, 0, 2), (PixelSet{{0, 2}, {0, 3}, {0, 4}}));

  EXPECT_EQ(Draw(8, 6, -5, 6, 900, 6), PixelSet{});
  EXPECT_EQ(Draw(8, 6, -5, -1, 900, -1), PixelSet{});
  EXPECT_EQ(Draw(8, 6, 8, -5, 8, 60), PixelSet{});
  EXPECT_EQ(Draw(8, 6, 9, 3, 20, 3), PixelSet{});
}

// Clipping must not move a line: with any clip, what is painted is the part of the whole line
// that lies inside.
TEST(DrawLineTest, ClippedLinesPaintExactlyTheInsidePartOfTheWholeLine) {
  std::mt19937 random(20240101);
  std::uniform_int_distribution<int> coordinate(-40, 80);
  std::uniform_int_distribution<int> clip_edge(-3, 40);
  const int width = 37, height = 29;
  const int origin = -50;  // the big buffer covers -50 .. 90 and holds every line whole
  for (int i = 0; i < 4000; ++i) {
    const int x1 = coordinate(random), y1 = coordinate(random);
    const int x2 = coordinate(random), y2 = coordinate(random);
    SCOPED_TRACE(testing::Message()
                 << "(" << x1 << ", " << y1 << ") to (" << x2 << ", " << y2 << ")");

    PixelBuffer whole(141, 141);
    DrawLine(whole, x1 - origin, y1 - origin, x2 - origin, y2 - origin, kInk);
    const PixelSet whole_line = PaintedPixels(whole, origin);
    ASSERT_EQ(whole_line, ReferencePixels(x1, y1, x2, y2, {origin, origin, 90, 90}));
    ASSERT_TRUE(whole_line.count({x1, y1}) == 1 && whole_line.count({x2, y2}) == 1)
        << "both end points are painted";

    PixelBuffer buffer(width, height);
    DrawLine(buffer, x1, y1, x2, y2, kInk);
    ASSERT_EQ(PaintedPixels(buffer), Inside(whole_line, WholeOf(buffer)));

    // A clip rectangle that may reach past the buffer on any side.
    const int a = clip_edge(random), b = clip_edge(random);
    const int c = clip_edge(random), d = clip_edge(random);
    const ClipRect clip{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
    PixelBuffer clipped(width, height);
    DrawLine(clipped, clip, x1, y1, x2, y2, kInk);
    const ClipRect visible{std::max(clip.left, 0), std::max(clip.top, 0),
                           std::min(clip.right, width - 1), std::min(clip.bottom, height - 1)};
    ASSERT_EQ(PaintedPixels(clipped), Inside(whole_line, visible))
        << "clip " << clip.left << " " << clip.top << " " << clip.right << " " << clip.bottom;
  }
}

TEST(DrawLineTest, LinesFarOutsideNeitherCrashNorDraw) {
  const std::int32_t lines[][4] = {
      {-2000000000, -2000000000, -2000000000, 2000000000},  // far left, upright
      {-2000000000, -2000000000, -1, 2000000000},           // left, ends one column short
      {2000000000, 2000000000, 700, -2000000000},           // right
      {kMin, kMin, kMax, -1},                               // above, across the whole range
      {-2000000000, 600, 2000000000, 2000000000},           // below
      {-1000000000, 999999999, 999999999, -1000000001},     // diagonal passing the top left corner
      {-2000000000, -1, 2000000000, -3},                    // just above, nearly level
      {kMin, kMax, kMax, kMax},
      {kMin, kMin, kMin, kMin},
      {kMax, kMax, kMax, kMax},
  };
  for (const auto& l : lines) {
    SCOPED_TRACE(testing::Message()
                 << "(" << l[0] << ", " << l[1] << ") to (" << l[2] << ", " << l[3] << ")");
    ASSERT_EQ(ReferencePixels(l[0], l[1], l[2], l[3], {0, 0, 699, 524}), PixelSet{});
    EXPECT_EQ(Draw(700, 525, l[0], l[1], l[2], l[3]), PixelSet{});
    EXPECT_EQ(Draw(700, 525, l[2], l[3], l[0], l[1]), PixelSet{});
  }
}

// Long lines from anywhere in the 32-bit range through the buffer: their setup needs more than
// 64 bits in the naive formulas, and their slopes are not those of short lines.
TEST(DrawLineTest, LongLinesCrossingTheBufferPaintExactlyTheirInsidePart) {
  const int width = 53, height = 41;
  const ClipRect area{0, 0, width - 1, height - 1};
  std::vector<std::array<std::int32_t, 4>> lines = {
      {kMin, kMin, kMax, kMax}, {kMax, kMax, kMin, kMin},
      {kMax, kMin, kMin, kMax}, {kMin, kMax, kMax, kMin + 5},
      {kMin, 20, kMax, 21},     {-2000000000, -1500000000, 2000000000, 1500000123},
      {30, kMin, 31, kMax},
  };
  std::mt19937 random(7);
  std::uniform_int_distribution<int> inside_x(0, width - 1), inside_y(0, height - 1);
  std::uniform_real_distribution<double> log_distance(1.0, 31.0);
  std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
  const auto clamp32 = [](double v) {
    return static_cast<std::int32_t>(std::clamp(v, double{kMin}, double{kMax}));
  };
  for (int i = 0; i < 3000; ++i) {
    // Through a pixel of the buffer, out to 2^31 on either side.
    const double px = inside_x(random), py = inside_y(random), a = angle(random);
    const double near = std::exp2(log_distance(random)), far = std::exp2(log_distance(random));
    lines.push_back({clamp32(px - near * std::cos(a)), clamp32(py - near * std::sin(a)),
                     clamp32(px + far * std::cos(a)), clamp32(py + far * std::sin(a))});
  }

  int crossing = 0;
  for (const auto& l : lines) {
    SCOPED_TRACE(testing::Message()
                 << "(" << l[0] << ", " << l[1] << ") to (" << l[2] << ", " << l[3] << ")");
    const PixelSet expected = ReferencePixels(l[0], l[1], l[2], l[3], area);
    ASSERT_EQ(Draw(width, height, l[0], l[1], l[2], l[3]), expected);
    if (!expected.empty()) ++crossing;
  }
  EXPECT_GT(crossing, 2500) << "most lines must actually cross the buffer";
}

// A pair must paint what its two lines paint one after the other, whichever way it takes: both
// inside, one or both cut by the buffer or a clip rectangle (the two cuts overlapping, apart or
// empty), spans, lines too long for the pair's tables, and pairs that are not half-turned.
TEST(DrawLinePairTest, PaintsWhatItsTwoLinesPaintInTurn) {
  struct Scene {
    const char* what;
    int centre_low, centre_high;  // the turning point, in both coordinates
    int reach;                    // how far the ends lie from it, at most
    bool turned;                  // the second line the first turned half a turn
    bool clipped;                 // a clip rectangle inside the buffer as well
    int turn_offset = 0;          // how far the turning point lies from the first line's middle
  };
  const Scene scenes[] = {
      {"inside", 25, 35, 20, true, false},
      {"across the edges", -15, 75, 30, true, false},
      {"cut by a clip rectangle", 0, 60, 30, true, true},
      {"far outside", -200, 260, 60, true, false},
      {"longer than the tables", 20, 40, 400, true, false},
      {"not turned", -10, 70, 30, false, true},
      {"turned about a far point", 0, 60, 30, true, false, 1000000000},
      {"turned about a far point the other way", 0, 60, 30, true, true, -1000000000},
  };
  const std::uint32_t background = 0xFF102030u, ink = 0xFFFFEE00u;
  std::mt19937 random(1229);
  for (const Scene& scene : scenes) {
    std::uniform_int_distribution<int> centre(scene.centre_low, scene.centre_high);
    std::uniform_int_distribution<int> reach(-scene.reach, scene.reach);
    std::uniform_int_distribution<int> edge(-5, 65);
    for (int i = 0; i < 3000; ++i) {
      const int cx = centre(random), cy = centre(random);
      LineEnds first{cx + reach(random), cy + reach(random), cx + reach(random),
                     cy + reach(random)};
      if (i % 10 == 0) first.y2 = first.y1;  // rows and columns among them
      if (i % 10 == 1) first.x2 = first.x1;
      const int tx = cx + scene.turn_offset, ty = cy + scene.turn_offset;
      const LineEnds second = scene.turned ? LineEnds{2 * tx - first.x1, 2 * ty - first.y1,
                                                      2 * tx - first.x2, 2 * ty - first.y2}
                                           : LineEnds{cx + reach(random), cy + reach(random),
                                                      cx + reach(random), cy + reach(random)};
      const int a = edge(random), b = edge(random), c = edge(random), d = edge(random);
      const ClipRect clip =
          scene.clipped ? ClipRect{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)}
                        : ClipRect{0, 0, 60, 60};
      PixelBuffer expected(61, 61, background), painted(61, 61, background);
      DrawLine(expected, clip, first.x1, first.y1, first.x2, first.y2, ink);
      DrawLine(expected, clip, second.x1, second.y1, second.x2, second.y2, ink);
      DrawLinePair(painted, clip, first, second, ink);
      ASSERT_TRUE(painted == expected)
          << scene.what << ": (" << first.x1 << ", " << first.y1 << ") to (" << first.x2 << ", "
          << first.y2 << ") and (" << second.x1 << ", " << second.y1 << ") to (" << second.x2
          << ", " << second.y2 << "), clip " << clip.left << " " << clip.top << " " << clip.right
          << " " << clip.bottom;
    }
  }
}

TEST(DevicePixelTest, RoundsToTheNearestPixelWithHalvesToEven) {
  EXPECT_EQ(DevicePixel(0.0f), 0);
  EXPECT_EQ(DevicePixel(0.49f), 0);
  EXPECT_EQ(DevicePixel(0.5f), 0);
  EXPECT_EQ(DevicePixel(0.51f), 1);
  EXPECT_EQ(DevicePixel(1.5f), 2);
  EXPECT_EQ(DevicePixel(2.5f), 2);
  EXPECT_EQ(DevicePixel(-0.5f), 0);
  EXPECT_EQ(DevicePixel(-1.5f), -2);
  EXPECT_EQ(DevicePixel(-2.5f), -2);
  EXPECT_EQ(DevicePixel(-2.6f), -3);
  EXPECT_EQ(DevicePixel(699.4999f), 699);
}

TEST(DevicePixelTest, MapsNotANumberToZeroAndPinsValuesBeyondTheIntegerRange) {
  EXPECT_EQ(DevicePixel(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(DevicePixel(-std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(DevicePixel(2147483520.0f), 2147483520);  // the largest float below 2^31
  EXPECT_EQ(DevicePixel(2147483648.0f), kMax);
  EXPECT_EQ(DevicePixel(3.0e9f), kMax);
  EXPECT_EQ(DevicePixel(std::numeric_limits<float>::infinity()), kMax);
  EXPECT_EQ(DevicePixel(-2147483648.0f), kMin);
  EXPECT_EQ(DevicePixel(-3.0e9f), kMin);
  EXPECT_EQ(DevicePixel(-std::numeric_limits<float>::infinity()), kMin);
  EXPECT_EQ(DevicePixel(-2147483520.0f), -2147483520);
}

}  // namespace
}  // namespace card
