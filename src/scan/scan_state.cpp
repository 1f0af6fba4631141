#include "scan/scan_state.h"

#include "numeric/statements.h"

namespace card {

ScanSettings ScanSettingsOf(const Form1& f, const PaletteTable& table) {
  const auto variant = [](const Value& selector, int count) {
    const int target = JumpTarget(selector.number(), count);
    return target == 0 ? 1 : target;
  };
  ScanSettings s;
  s.dx = static_cast<float>(f.dx.number());
  s.dy = static_cast<float>(f.dy.number());
  s.polx = static_cast<float>(f.polx.number());
  s.poly = static_cast<float>(f.poly.number());
  s.fi0 = f.fi0.number();
  s.korakfi1 = f.korakfi1.number();
  s.r0 = static_cast<float>(f.r0.number());
  s.fak1 = static_cast<float>(f.fak1.number());
  s.fak2 = static_cast<float>(f.fak2.number());
  s.fak3 = static_cast<float>(f.fak3.number());
  s.pozic0 = static_cast<float>(f.pozic0.number());
  s.shape_variant = variant(f.tip1, 15);
  s.mix_variant = variant(f.tip2, 3);
  s.index_variant = variant(f.tip3, 4);
  s.palette = &table;
  return s;
}

PixelCarry CarryOf(const Form1& f) {
  PixelCarry c;
  c.fi1 = f.fi1.number();
  c.fi = f.fi.number();
  c.ba = f.ba.number();
  c.re = f.re.number();
  c.gr = f.gr.number();
  c.bl = f.bl.number();
  c.barva = f.barva.number();
  return c;
}

void StoreCarry(Form1& f, const PixelCarry& c) {
  f.fi1 = Value::Double(c.fi1);
  // Values that no statement has set yet stay Empty.
  if (!(f.fi.is_empty() && c.fi == 0)) f.fi = Value::Double(c.fi);
  if (!(f.ba.is_empty() && c.ba == 0)) f.ba = Value::Double(c.ba);
  f.re = Value::Double(c.re);
  f.gr = Value::Double(c.gr);
  f.bl = Value::Double(c.bl);
  f.barva = Value::Double(c.barva);
}

}  // namespace card
