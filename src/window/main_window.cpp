// The desktop program: the card window.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <optional>

#include "about/version.h"
#include "form/form1.h"
#include "window/card_hand_over.h"
#include "window/qt_platform.h"
#include "window/translations.h"
#include "window/window_command_line.h"

int main(int argc, char** argv) {
  if (const std::optional<int> status = card::AnswerCommandLine(argc, argv)) return *status;
  if (!card::DisplayNamed(argc, argv)) {
    card::ReportNoDisplay(false);
    return 1;
  }
  std::optional<card::NoDisplayGuard> no_display_guard(std::in_place);
  QApplication application(argc, argv);
  no_display_guard.reset();
  card::InstallTranslations(application);
  // Where QSettings keeps what the window remembers (the Save as… folder).
  QApplication::setOrganizationName(QString::fromLatin1(card::kWindowProgram));
  QApplication::setApplicationName(QString::fromLatin1(card::kWindowProgram));
  QApplication::setApplicationVersion(QString::fromLatin1(card::kVersion));
  // The desktop entry's name: the desktop then shows the window with the entry's name and icon.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(card::kWindowProgram));
  // The installed theme icon when there is one, else the copy built into the program.
  QIcon built_in;
  for (int size : {48, 64, 128, 256}) {
    built_in.addFile(QStringLiteral(":/icons/newyear-card-%1.png").arg(size));
  }
  QApplication::setWindowIcon(
      QIcon::fromTheme(QString::fromLatin1(card::kWindowProgram), built_in));

  card::QtPlatform desktop;
  card::Generator generator;
  card::Form1 form(desktop.platform(), generator);
  card::CardHandOver hand_over(desktop.window(), desktop.platform().picture1,
                               [&form] { return form.t; });
  desktop.Connect({[&] { form.Form_Load(); }, [&] { form.Command5_Click(); },
                   [&] { form.Command3_Click(); }, [&] { form.Command2_Click(); },
                   [&] { form.CloseRequested(); }});
  desktop.ConnectVideo(form, generator);
  // The first card starts once the event loop runs, so "exit" can end the program at any time.
  QTimer::singleShot(0, &application, [&] { desktop.Load(); });
  return QApplication::exec();
}
