#include "form/form1.h"
#include "numeric/statements.h"
#include "overlay/greeting.h"
#include "overlay/greeting_text.h"

namespace card {

// Prints the greeting twice, black and then bright white one pixel lower and further right, so
// the white text keeps a one-pixel black edge above and to the left; then marks the window's
// corner with an asterisk. The greeting comes from the core's own typeface, so the window, the
// renderer and the page print the same pixels; the asterisk is the window's, in its own font.
void Form1::PrintGreeting() {
  Statements s;
  s.SkipErrors();
  Surface& picture = platform_.picture1;
  GreetingFont font;
  const std::string line = GreetingLine(t, greeting_address_, greeting_year_);
  s.Run([&] { picture.SetFontSize(12); });
  s.Run([&] { picture.SetForeColor(QBColor(0)); });
  s.Run([&] { picture.SetCurrentX(10); });
  s.Run([&] { picture.SetCurrentY(490); });
  s.Run([&] { picture.Print(line, font); });
  s.Run([&] { picture.SetForeColor(QBColor(15)); });
  s.Run([&] { picture.SetCurrentX(11); });
  s.Run([&] { picture.SetCurrentY(491); });
  s.Run([&] { picture.Print(line, font); });
  s.Run([&] { platform_.form.SetCurrentX(1); });
  s.Run([&] { platform_.form.SetCurrentY(1); });
  s.Run([&] { platform_.form.Print("*"); });
}

}  // namespace card
