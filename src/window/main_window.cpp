// The desktop program: the card window.
#include <QApplication>
#include <QTimer>

#include "form/form1.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("newyear-card"));

  card::QtPlatform desktop;
  card::Generator generator;
  card::Form1 form(desktop.platform(), generator);
  desktop.Connect({[&] { form.Form_Load(); }, [&] { form.Command5_Click(); },
                   [&] { form.Command3_Click(); }, [&] { form.Command2_Click(); },
                   [&] { form.CloseRequested(); }});
  // The first card starts once the event loop runs, so "exit" can end the program at any time.
  QTimer::singleShot(0, &application, [&] { desktop.Load(); });
  return QApplication::exec();
}
