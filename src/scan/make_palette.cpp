#include "form/form1.h"
#include "scan/draws.h"

namespace card {

// Draws the three channels' periods and phases and samples a sine wave per channel into rows 0
// to 601. The draws are grouped by kind, not by channel.
void Form1::MakePalette() {
  const Value pmin = WholeDraw(generator_, 10, 10);
  const Value pspan = WholeDraw(generator_, 10, 10);
  // Singles only: the draw times the spread is rounded to a Single before the minimum is added.
  const Value per1 = Int(pmin + Value::Single(generator_.Rnd()) * pspan);
  const Value per2 = Int(pmin + Value::Single(generator_.Rnd()) * pspan);
  const Value per3 = Int(pmin + Value::Single(generator_.Rnd()) * pspan);
  const Value two_pi_ish = Value::Double(6.28);  // not 2 pi: the phases stop a little short
  const Value ph1 = Value::Single(generator_.Rnd()) * two_pi_ish;
  const Value ph2 = Value::Single(generator_.Rnd()) * two_pi_ish;
  const Value ph3 = Value::Single(generator_.Rnd()) * two_pi_ish;
  const Value wl1 = per1 + Value::Single(generator_.Rnd()) * per1;
  const Value wl2 = per2 + Value::Single(generator_.Rnd()) * per2;
  const Value wl3 = per3 + Value::Single(generator_.Rnd()) * per3;

  const auto single = [](const Value& v) { return static_cast<float>(v.number()); };
  palette_recipe_ = PaletteRecipe{.pmin = single(pmin),
                                  .pspan = single(pspan),
                                  .per1 = single(per1),
                                  .per2 = single(per2),
                                  .per3 = single(per3),
                                  .ph1 = ph1.number(),
                                  .ph2 = ph2.number(),
                                  .ph3 = ph3.number(),
                                  .wl1 = single(wl1),
                                  .wl2 = single(wl2),
                                  .wl3 = single(wl3)};

  const Value one = Value::Integer(1);
  const Value scale = Value::Integer(126);
  const auto channel = [&](const Value& phase, const Value& k, const Value& stretch) {
    return Int((Sin(phase + k / stretch) + one) * scale);
  };
  for (int row = 0; row < Palette::kWrittenRows; ++row) {
    const Value k = Value::Integer(static_cast<std::int16_t>(row));
    re = channel(ph1, k, wl1);
    gr = channel(ph2, k, wl2);
    bl = channel(ph3, k, wl3);
    palette(row, 1) = re;
    palette(row, 2) = gr;
    palette(row, 3) = bl;
  }
}

}  // namespace card
