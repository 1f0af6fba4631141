#include "form/form1.h"
#include "numeric/statements.h"
#include "scan/draws.h"
#include "services/text.h"

namespace card {

// Names the card after the moment its drawing starts and draws the per-card parameters: the
// formula selectors, the palette offset, the moving centre and the channel factors.
void Form1::ChooseParameters() {
  Statements s;
  s.SkipErrors();

  // The date and the time come from one reading of the clock, so a card started at midnight
  // cannot combine the old day with the new time.
  LocalTime now;
  std::string dtext, ttext, year, month, day, hour, minute, second, stamp;
  s.Run([&] { now = platform_.clock.Now(); });
  s.Run([&] { dtext = DateText(now); });
  s.Run([&] { ttext = TimeText(now); });
  s.Run([&] { year = Mid(dtext, 7, 4); });
  s.Run([&] { month = Mid(dtext, 1, 2); });
  s.Run([&] { day = Mid(dtext, 4, 2); });
  s.Run([&] { hour = Mid(ttext, 1, 2); });
  s.Run([&] { minute = Mid(ttext, 4, 2); });
  s.Run([&] { second = Mid(ttext, 7, 2); });
  s.Run([&] { stamp = year + month + day + hour + minute + second; });
  s.Run([&] { imeslike = "T" + stamp; });

  s.Run([&] { tip1 = WholeDraw(generator_, 15, 1); });
  s.Run([&] { tip2 = WholeDraw(generator_, 3, 1); });
  s.Run([&] { tip3 = WholeDraw(generator_, 4, 1); });
  s.Run([&] { pozic0 = WholeDraw(generator_, 300, 5); });
  s.Run([&] { fi0 = Value::Single(generator_.Rnd()) * Value::Double(6.283); });
  s.Run([&] { fi1 = Value::Integer(0); });
  s.Run([&] { r0 = FractionalDraw(generator_, 3, 1); });
  s.Run([&] { korakfi1 = Value::Double(0.00003); });
  s.Run([&] { fak1 = FractionalDraw(generator_, 10, 10); });
  s.Run([&] { fak2 = FractionalDraw(generator_, 10, 10); });
  s.Run([&] { fak3 = FractionalDraw(generator_, 10, 10); });
}

}  // namespace card
