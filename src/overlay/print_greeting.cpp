#include "form/form1.h"
#include "numeric/statements.h"
#include "overlay/greeting.h"

namespace card {

std::string GreetingLine(const std::string& name, const std::string& address) {
  return name + kGreetingWish + "      " + address;
}

// Prints the greeting twice, black and then bright white one pixel lower and further right, so
// the white text keeps a one-pixel black edge above and to the left; then marks the window's
// corner with an asterisk.
void Form1::PrintGreeting() {
  Statements s;
  s.SkipErrors();
  Surface& picture = platform_.picture1;
  const std::string line =
      GreetingLine(t, greeting_address_.empty() ? kProjectAddress : greeting_address_);
  s.Run([&] { picture.SetFontSize(12); });
  s.Run([&] { picture.SetForeColor(QBColor(0)); });
  s.Run([&] { picture.SetCurrentX(10); });
  s.Run([&] { picture.SetCurrentY(490); });
  s.Run([&] { picture.Print(line); });
  s.Run([&] { picture.SetForeColor(QBColor(15)); });
  s.Run([&] { picture.SetCurrentX(11); });
  s.Run([&] { picture.SetCurrentY(491); });
  s.Run([&] { picture.Print(line); });
  s.Run([&] { platform_.form.SetCurrentX(1); });
  s.Run([&] { platform_.form.SetCurrentY(1); });
  s.Run([&] { platform_.form.Print("*"); });
}

}  // namespace card
