// Worked examples of the per-position procedures: the moving centre, the fifteen shape formulas,
// the channel mix, the colour index and the clamp, Mod and modulation of the plotting step.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/single_position.h"

namespace card {
namespace {

PixelInputs Inputs(double r, float x, float y, double fit) {
  PixelInputs p;
  p.r = r;
  p.x = x;
  p.y = y;
  p.fit = fit;
  return p;
}

void ExpectClose(double actual, double expected) {
  EXPECT_NEAR(actual, expected, std::fabs(expected) * 5e-6 + 1e-12);
}

TEST(PolarPosition, FirstPositionOfACardAndFailingSlope) {
  ScanSettings s;
  s.fi0 = 0;
  s.r0 = 2;
  s.korakfi1 = 0.00003;
  PixelCarry carry;
  PixelInputs p;
  p.x = -6;
  p.y = 4.5f;
  PolarPosition(s, carry, p);
  EXPECT_EQ(p.fit, 0.00003);
  ExpectClose(p.r, 9.17875);
  ExpectClose(carry.fi, -0.512384);

  // Straight above the centre: a new distance, but the slope keeps the previous value.
  ScanSettings origin;  // radius 0: the centre stays at the origin
  carry.fi = 0.75;
  p.x = 0;
  p.y = 2;
  PolarPosition(origin, carry, p);
  EXPECT_EQ(p.r, 2);
  EXPECT_EQ(carry.fi, 0.75);

  // Offsets (1, 1) and (-1, -1) from the centre give the same r and fi; (-1, 1) gives -pi/4.
  const struct {
    float x, y;
    double fi;
  } cases[] = {
      {-1, -1, std::numbers::pi / 4}, {1, 1, std::numbers::pi / 4}, {1, -1, -std::numbers::pi / 4}};
  for (const auto& c : cases) {
    PixelCarry fresh;
    PixelInputs q;
    q.x = c.x;
    q.y = c.y;
    PolarPosition(origin, fresh, q);
    EXPECT_DOUBLE_EQ(q.r, std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(fresh.fi, c.fi);
  }
}

TEST(ShapeValue, FifteenFormulasAtOnePosition) {
  const double expected[] = {4,       1, 3.63719,  2, 0.982591, 1.32016, 0.546302, -3.6773, 5.50154,
                             3.52667, 4, 0.709927, 4, 10.1364,  6.90136};
  const PixelInputs p = Inputs(2, 1, -1, 0.25);
  for (int n = 1; n <= 15; ++n) {
    double ba = -999;
    ShapeValue(n, p, 0.5, ba);
    SCOPED_TRACE("formula " + std::to_string(n));
    ExpectClose(ba, expected[n - 1]);
  }
}

TEST(ShapeValue, FailingFormulasKeepThePreviousValue) {
  const PixelInputs level = Inputs(2, 1, -1, 0.25);
  for (int n : {11, 13, 14}) {
    double ba = 42.5;
    ShapeValue(n, level, 0.0, ba);
    EXPECT_EQ(ba, 42.5) << "formula " << n << " with fi = 0";
  }
  const PixelInputs middle_column = Inputs(2, 0, -1, 0.25);
  double ba = -7;
  ShapeValue(15, middle_column, 0.5, ba);
  EXPECT_EQ(ba, -7);

  // Formula 6 at the centre itself: 0 ^ 0 is 1, so the value is 0, not an error.
  const PixelInputs centre = Inputs(0, 1, 1, 0.25);
  ba = 3;
  ShapeValue(6, centre, 0.5, ba);
  EXPECT_EQ(ba, 0);

  // Formula 2 follows the sign of fi; an unknown variant runs formula 1.
  ShapeValue(2, Inputs(2, 1, 1, 0), -0.25, ba);
  EXPECT_EQ(ba, -0.5);
  ShapeValue(99, Inputs(3, 1, 1, 0), 0.1, ba);
  EXPECT_EQ(ba, 9);
}

TEST(ChannelMix, VariantsAndAbsoluteValues) {
  ScanSettings s;
  s.fak1 = 12;
  s.fak2 = 15;
  s.fak3 = 18;
  PixelCarry c;
  c.ba = -2;
  s.mix_variant = 1;
  ChannelMix(s, Inputs(1, 0, 0, 0), c);
  EXPECT_EQ(c.re, 24);
  EXPECT_EQ(c.gr, 30);
  EXPECT_EQ(c.bl, 36);

  c.ba = 1;
  s.mix_variant = 2;
  ChannelMix(s, Inputs(0, 0, 0, 0), c);
  EXPECT_EQ(c.re, 10);
  EXPECT_EQ(c.gr, 11);
  EXPECT_EQ(c.bl, 10);

  c.ba = 0;
  s.mix_variant = 3;
  ChannelMix(s, Inputs(1.3, 0, 0, 0.7), c);
  EXPECT_EQ(c.re + c.gr + c.bl, 0);

  // An enormous shape value overflows every product: the channels keep their values.
  c = PixelCarry{};
  c.re = 5;
  c.gr = 6;
  c.bl = 7;
  c.ba = 1e308;
  s.mix_variant = 1;
  ChannelMix(s, Inputs(1, 0, 0, 0), c);
  EXPECT_EQ(c.re, 5);
  EXPECT_EQ(c.gr, 6);
  EXPECT_EQ(c.bl, 7);
}

TEST(ColourIndex, VariantsAndFailures) {
  ScanSettings s;
  PixelCarry c;
  c.re = 1;
  c.gr = 2;
  c.bl = 3;
  s.index_variant = 1;
  ColourIndex(s, Inputs(1, 0, 0, 1), c);
  EXPECT_EQ(c.barva, 6);

  s.index_variant = 2;
  ColourIndex(s, Inputs(0, 0, 0, 1), c);
  EXPECT_EQ(c.barva, 6);

  s.index_variant = 3;
  c.re = 8;
  c.gr = 6;
  c.bl = 5;
  ColourIndex(s, Inputs(4, 0, 0, 2), c);
  EXPECT_EQ(c.barva, 5);
  // A zero distance or a zero centre angle raises although r6 makes the last term zero.
  c.barva = 17;
  ColourIndex(s, Inputs(0, 0, 0, 2), c);
  EXPECT_EQ(c.barva, 17);
  ColourIndex(s, Inputs(4, 0, 0, 0), c);
  EXPECT_EQ(c.barva, 17);

  s.index_variant = 4;
  ColourIndex(s, Inputs(0, 0, 0, 0), c);
  EXPECT_EQ(c.barva, 5);  // just bl
  ColourIndex(s, Inputs(0, 0, 0, -std::numbers::pi / 2), c);
  EXPECT_LT(c.barva, 0);  // may be negative; plotting raises it to 1
}

// A palette whose rows can be told apart by their red component.
PaletteTable NumberedPalette() {
  PaletteTable table;
  for (int row = 0; row < 602; ++row) {
    table.rgb[row] = {static_cast<double>(row % 250), 100.0, 60.0};
  }
  return table;
}

int RowOfStrokes(const PositionStrokes& strokes) {
  return strokes.colour & 0xFF;
}

TEST(PlotPixel, ClampModAndPaletteRow) {
  const PaletteTable table = NumberedPalette();
  ScanSettings s;
  s.pozic0 = 100;
  s.palette = &table;
  const PixelInputs at_rest = Inputs(0, 0, 0, 0);  // factors 1, 1 and 2
  const struct {
    double barva, stored;
    int phase;
  } cases[] = {{-3.7, 1, 1},  {1000, 675, 115}, {280, 280, 0}, {560, 560, 0},
               {2.5, 2.5, 2}, {3.5, 3.5, 4},    {0.999, 1, 1}, {1.4, 1.4, 1}};
  for (const auto& c : cases) {
    PixelCarry carry;
    carry.barva = c.barva;
    const PositionStrokes strokes = PlotPixel(s, at_rest, carry, 10, 20);
    SCOPED_TRACE("barva " + std::to_string(c.barva));
    EXPECT_EQ(carry.barva, c.stored);
    EXPECT_EQ(RowOfStrokes(strokes), 100 + c.phase);
    EXPECT_TRUE(strokes.drawn);
  }
}

TEST(PlotPixel, ModulationSaturationAndStrokeGeometry) {
  PaletteTable table;
  table.rgb[50] = {200, 80, 100};
  ScanSettings s;
  s.pozic0 = 49;
  s.palette = &table;
  PixelCarry carry;
  carry.barva = 1;

  // At r = 0 and fit = 0 red and green pass unchanged and blue doubles (saturating at 255).
  PositionStrokes strokes = PlotPixel(s, Inputs(0, 0, 0, 0), carry, 300, 200);
  EXPECT_EQ(strokes.colour, 200 + 256 * 80 + 65536 * 200);
  EXPECT_FLOAT_EQ(strokes.x1, static_cast<float>(300 + std::sin(2.0) * 100));
  EXPECT_FLOAT_EQ(strokes.y1, static_cast<float>(200 + std::cos(2.0) * 100));
  EXPECT_FLOAT_EQ(strokes.x2, static_cast<float>(300 - std::sin(0.8) * 100));
  EXPECT_FLOAT_EQ(strokes.y2, static_cast<float>(200 - std::cos(0.8) * 100));
  // The second stroke is the first reflected through the position.
  EXPECT_FLOAT_EQ(strokes.x3, static_cast<float>(300 - std::sin(2.0) * 100));
  EXPECT_FLOAT_EQ(strokes.y4, static_cast<float>(200 + std::cos(0.8) * 100));

  // Red at 400: saturated colour, offset from the unsaturated value, about (-75.68, -65.36).
  table.rgb[50] = {200, 0, 0};
  strokes = PlotPixel(s, Inputs(std::numbers::pi / 2, 0, 0, 0), carry, 0, 0);
  EXPECT_EQ(strokes.colour & 0xFF, 255);
  EXPECT_NEAR(strokes.x1, -75.68, 0.01);
  EXPECT_NEAR(strokes.y1, -65.36, 0.01);

  // Sin(r) = -1 removes red: its offset points straight down.
  table.rgb[50] = {200, 0, 0};
  strokes = PlotPixel(s, Inputs(-std::numbers::pi / 2, 0, 0, 0), carry, 0, 0);
  EXPECT_EQ(strokes.colour & 0xFF, 0);
  EXPECT_FLOAT_EQ(strokes.x1, 0);
  EXPECT_FLOAT_EQ(strokes.y1, 100);

  // A row beyond the palette leaves all channels Empty: two black vertical diameters.
  s.pozic0 = 700;
  strokes = PlotPixel(s, Inputs(1, 0, 0, 1), carry, 50, 60);
  EXPECT_EQ(strokes.colour, 0);
  EXPECT_FLOAT_EQ(strokes.x1, 50);
  EXPECT_FLOAT_EQ(strokes.y1, 160);
  EXPECT_FLOAT_EQ(strokes.y2, -40);
}

}  // namespace
}  // namespace card
