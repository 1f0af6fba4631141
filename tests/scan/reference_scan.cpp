#include "scan/reference_scan.h"

#include "numeric/statements.h"
#include "support/card_fixture.h"

namespace card::testing {
namespace {

Value I(int v) {
  return Value::Integer(static_cast<std::int16_t>(v));
}
Value D(double v) {
  return Value::Double(v);
}

}  // namespace

void ReferencePolarPosition(Form1& f) {
  Statements s;
  s.SkipErrors();
  Value xc, yc, xo, yo;
  s.Run([&] { f.fi1 = f.fi1 + f.korakfi1; });
  s.Run([&] { f.fit = f.fi0 + f.fi1; });
  s.Run([&] { xc = f.r0 * Cos(f.fit); });
  s.Run([&] { yc = f.r0 * Sin(f.fit); });
  s.Run([&] { xo = xc - f.x; });
  s.Run([&] { yo = yc - f.y; });
  s.Run([&] { f.r = D(Sqr((xo * xo) + (yo * yo)).number()); });
  s.Run([&] { f.fi = D(Atn(yo / xo).number()); });
}

void ReferenceShapeValue(Form1& f) {
  Statements s;
  s.SkipErrors();
  const Value& r = f.r;
  const Value& fi = f.fi;
  const Value& x = f.x;
  const Value& y = f.y;
  const Value& fit = f.fit;
  const Value one = I(1);
  const Value two = I(2);
  switch (s.Jump(f.tip1, 15)) {
    case 1:
      s.Run([&] { f.ba = r * r; });
      break;
    case 2:
      s.Run([&] { f.ba = r * fi; });
      break;
    case 3:
      s.Run([&] { f.ba = (r * r) * Sin(r); });
      break;
    case 4:
      s.Run([&] { f.ba = x * r; });
      break;
    case 5:
      s.Run([&] { f.ba = ((r * Sin(r)) * x) * Cos(y); });
      break;
    case 6:
      s.Run([&] { f.ba = ((r * r) * (two + Sin(fit * r))) / Power(r, r + Sin(r)); });
      break;
    case 7:
      s.Run([&] { f.ba = (r * Tan(fi)) * fi; });
      break;
    case 8:
      s.Run([&] { f.ba = ((r * Tan(r)) * x) * Sin(x); });
      break;
    case 9:
      s.Run([&] { f.ba = ((r * (one + Sin(r))) + (x * (one + Sin(x)))) + (y * (one + Sin(y))); });
      break;
    case 10:
      s.Run([&] { f.ba = (r * (one + Sin(r))) + (((x * (one + Sin(x))) * y) * (one + Sin(y))); });
      break;
    case 11:
      s.Run([&] { f.ba = ((r + x) + y) / fi; });
      break;
    case 12:
      s.Run([&] { f.ba = ((r * (one + Sin(r))) * (one + Cos(fit + r))) * fi; });
      break;
    case 13:
      s.Run([&] { f.ba = r / fi; });
      break;
    case 14:
      s.Run([&] { f.ba = (Sqr(r) / fi) * Power(r, one + Sin(x)); });
      break;
    case 15:
      s.Run([&] { f.ba = Power(r / Abs(x), (one + Sin(r)) + Cos(fi)); });
      break;
  }
}

void ReferenceChannelMix(Form1& f) {
  Statements s;
  s.SkipErrors();
  const Value ten = I(10);
  switch (s.Jump(f.tip2, 3)) {
    case 1:
      s.Run([&] { f.re = f.ba * f.fak1; });
      s.Run([&] { f.gr = f.ba * f.fak2; });
      s.Run([&] { f.bl = f.ba * f.fak3; });
      break;
    case 2:
      s.Run([&] { f.re = f.ba * (Sin(f.r) + ten); });
      s.Run([&] { f.gr = f.ba * (Cos(f.r) + ten); });
      s.Run([&] { f.bl = f.ba * (Sin(f.fit) + ten); });
      break;
    case 3:
      s.Run([&] { f.re = f.ba * (f.fak1 + Sin(f.r)); });
      s.Run([&] { f.gr = f.ba * (f.fak2 + Cos(f.r)); });
      s.Run([&] { f.bl = f.ba * (f.fak3 + Sin(f.fit)); });
      break;
  }
  s.Run([&] { f.re = Abs(f.re); });
  s.Run([&] { f.gr = Abs(f.gr); });
  s.Run([&] { f.bl = Abs(f.bl); });
}

void ReferenceColourIndex(Form1& f) {
  Statements s;
  s.SkipErrors();
  const Value one = I(1);
  switch (s.Jump(f.tip3, 4)) {
    case 1:
      s.Run([&] { f.barva = f.re + f.gr + f.bl; });
      break;
    case 2:
      s.Run([&] { f.barva = f.re + f.gr + f.bl * (Sin(f.r) + one); });
      break;
    case 3:
      s.Run([&] { f.barva = f.re / f.r + f.gr / Sqr(f.r) + (f.bl / f.fit) * f.r6; });
      break;
    case 4:
      s.Run([&] { f.barva = f.re * Sin(f.fit) + f.gr * Sin(f.r) + f.bl * Cos(f.r); });
      break;
  }
}

void ReferencePlotPixel(Form1& f, Surface& picture) {
  Statements s;
  s.SkipErrors();
  Value phase, idx, cr, cg, cb, rdx, rdy, gdx, gdy;
  const Value one = I(1);
  const Value hundred = I(100);
  s.If([&] { return Less(f.barva, one); }, [&] { f.barva = I(1); });
  s.If([&] { return Greater(f.barva, I(675)); }, [&] { f.barva = I(675); });
  s.Run([&] { phase = Mod(f.barva, I(280)); });
  s.Run([&] { idx = Int(f.pozic0 + phase); });
  s.Run([&] { cr = f.palette(ToLong(idx), 1) * (Sin(f.r) + one); });
  s.Run([&] { cg = f.palette(ToLong(idx), 2) * (Sin(f.fit) + one); });
  s.Run([&] { cb = f.palette(ToLong(idx), 3) * (Cos(f.r) + one); });
  s.Run([&] { rdx = Sin(cr / hundred) * hundred; });
  s.Run([&] { gdx = Sin(cg / hundred) * hundred; });
  s.Run([&] { rdy = Cos(cr / hundred) * hundred; });
  s.Run([&] { gdy = Cos(cg / hundred) * hundred; });
  s.Run([&] {
    const std::int32_t colour = RGB(cr, cg, cb);
    picture.Line(ToSingle(f.i + rdx), ToSingle(f.j + rdy), ToSingle(f.i - gdx), ToSingle(f.j - gdy),
                 colour);
  });
  s.Run([&] {
    const std::int32_t colour = RGB(cr, cg, cb);
    picture.Line(ToSingle(f.i - rdx), ToSingle(f.j - rdy), ToSingle(f.i + gdx), ToSingle(f.j + gdy),
                 colour);
  });
}

void ReferenceScanImage(Form1& f, Surface& picture) {
  picture.SetBackColor(RGB(I(0), I(0), I(0)));
  const int last_row = ToInteger(f.vis);
  for (int row = 0; row <= last_row; ++row) {
    f.j = I(row);
    const int last_column = ToInteger(f.sir);
    for (int column = 0; column <= last_column; ++column) {
      f.i = I(column);
      f.x = f.i / f.dx - f.polx;
      f.y = f.poly - f.j / f.dy;
      ReferencePolarPosition(f);
      ReferenceShapeValue(f);
      ReferenceChannelMix(f);
      ReferenceColourIndex(f);
      ReferencePlotPixel(f, picture);
    }
    f.i = I(last_column + 1);
  }
  f.j = I(last_row + 1);
}

PixelBuffer ReferenceCardPicture(const CardRequest& request) {
  TestCard card;
  Form1& f = card.form;
  card.memory.clock.Set(request.started);
  card.memory.dialog.Answer(request.name);
  if (request.draws) card.generator.Replay(*request.draws);
  // The start-up sequence of the window, with the reference scan in place of ScanImage.
  f.StartUp();
  f.SetGreetingAddress(request.address);
  f.SetGreetingYear(request.year);
  Statements s;
  s.SkipErrors();
  s.Run([&] { f.AskName(); });
  s.Run([&] { f.MakePalette(); });
  s.Run([&] {
    f.ChooseParameters();
    ReferenceScanImage(f, card.memory.picture1);
    f.PrintGreeting();
  });
  return card.memory.picture1.pixels();
}

}  // namespace card::testing
