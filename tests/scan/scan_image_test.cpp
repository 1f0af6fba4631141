// The scan as the window runs it: which positions it visits, what it leaves behind, and how it
// shares the window with the events handled between rows.
#include <gtest/gtest.h>

#include "support/card_fixture.h"

namespace card::testing {
namespace {

void PrepareFixedCentre(Form1& f) {
  f.fi0 = Value::Double(0);
  f.r0 = Value::Single(2);
  f.korakfi1 = Value::Double(0.00003);
  f.fi1 = Value::Integer(0);
  f.tip1 = Value::Single(1);
  f.tip2 = Value::Single(1);
  f.tip3 = Value::Single(1);
  f.pozic0 = Value::Single(5);
}

TEST(ScanImage, VisitsEveryPositionOnceRowByRow) {
  TestCard card;
  SetGeometry(card.form);
  PrepareFixedCentre(card.form);
  card.form.ScanImage();
  const Form1& f = card.form;
  // fi1 grows by one step per position: 701 x 526 = 368,726 positions.
  EXPECT_NEAR(f.fi1.number(), 368726 * 0.00003, 1e-6);
  EXPECT_NEAR(f.fi1.number(), 11.06, 0.01);
  EXPECT_EQ(f.i, Value::Integer(701));
  EXPECT_EQ(f.j, Value::Integer(526));
  // The last position is the bottom right corner of the coordinate window.
  EXPECT_EQ(f.x, Value::Single(6));
  EXPECT_EQ(f.y, Value::Single(-4.5f));
  // Events are handled once per row, before the row.
  EXPECT_EQ(card.memory.events.calls(), 526);
}

TEST(ScanImage, FirstPositionIsTheTopLeftCorner) {
  TestCard card;
  SetGeometry(card.form, 0, 0);
  PrepareFixedCentre(card.form);
  card.form.ScanImage();
  const Form1& f = card.form;
  EXPECT_EQ(f.x, Value::Single(-6));
  EXPECT_EQ(f.y, Value::Single(4.5f));
  EXPECT_EQ(f.fit.number(), 0.00003);
  EXPECT_NEAR(f.r.number(), 9.17875, 1e-5);
  EXPECT_NEAR(f.fi.number(), -0.512384, 1e-6);
}

TEST(ScanImage, EmptyLoopsPaintNothing) {
  TestCard card;
  card.memory.picture1.SetBackColor(0xFFFFFF);
  SetGeometry(card.form, 700, -1);
  PrepareFixedCentre(card.form);
  card.form.ScanImage();
  EXPECT_EQ(card.memory.events.calls(), 0);
  // The picture is still cleared to black.
  EXPECT_EQ(card.memory.picture1.Point(10, 10), 0);

  SetGeometry(card.form, -1, 9);
  card.form.ScanImage();
  EXPECT_EQ(card.memory.events.calls(), 10);  // still once per row
  EXPECT_EQ(Checksum(card.memory.picture1.pixels()), Checksum(PixelBuffer(700, 525)));
}

TEST(ScanImage, MiddleColumnIsExactlyZero) {
  TestCard card;
  SetGeometry(card.form, 350, 0);
  PrepareFixedCentre(card.form);
  card.form.ScanImage();
  EXPECT_EQ(card.form.x.number(), 0.0);
}

}  // namespace
}  // namespace card::testing
