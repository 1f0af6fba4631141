#include "window/window_command_line.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>

#include "about/version.h"
#include "about/version_notice.h"
#include "window/translations.h"

namespace card {
namespace {

constexpr const char* kProgram = kWindowProgram;

// Translated for the user's language (translations.cpp) before it is printed.
constexpr char kHelp[] =
    QT_TRANSLATE_NOOP("CommandLine",
                      "Usage: newyear-card [OPTION]...\n"
                      "Open a window that asks for a name and paints its New-Year greeting card.\n"
                      "\n"
                      "  -h, --help     display this help and exit\n"
                      "      --version  output version information and exit\n"
                      "\n"
                      "In the window, \"repeat\" (Ctrl+N, Ctrl+R or Alt+R) asks for another name,\n"
                      "\"save on C:\\wimgx\" (Ctrl+S or Alt+S) saves the card as a BMP file in\n"
                      "~/wimgx, and \"exit\" (Ctrl+Q or Alt+X) ends the program.\n"
                      "Qt's own options, such as -platform and -display, are accepted too.\n"
                      "newyear-card-render makes the same cards without a window.\n");

// Prints `text` on standard output; a failed write (a full disk, a closed pipe) is an error.
int Answer(std::string_view text) {
  std::cout << text << std::flush;
  if (!std::cout) {
    std::cerr << kProgram << ": write error\n";
    return 1;
  }
  return 0;
}

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

QtMessageHandler previous_handler = nullptr;

void EndOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (previous_handler != nullptr) previous_handler(type, context, message);
    return;
  }
  ReportNoDisplay(true);
  std::_Exit(1);
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      // Needs no display: only the translations are looked up.
      int qt_argc = 1;
      QCoreApplication application(qt_argc, argv);
      InstallTranslations(application);
      return Answer(QCoreApplication::translate("CommandLine", kHelp).toStdString());
    }
    if (arg == "--version") return Answer(VersionNotice(kProgram));
  }
  return std::nullopt;
}

bool DisplayNamed(int argc, char** argv) {
  if (Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM")) return true;
  for (int i = 1; i < argc; ++i) {
    // Qt reads its options with one dash or two.
    std::string_view arg = argv[i];
    if (arg.starts_with("--")) arg.remove_prefix(1);
    if (arg == "-platform" || arg == "-display") return true;
  }
  return false;
}

void ReportNoDisplay(bool display_named) {
  std::fprintf(stderr, "%s: cannot open the window: ", kProgram);
  if (display_named) {
    std::fprintf(stderr, "no display could be opened (");
    const char* separator = "";
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      if (!Set(name)) continue;
      std::fprintf(stderr, "%s%s=%s", separator, name, std::getenv(name));
      separator = ", ";
    }
    std::fprintf(stderr, ").\n");
  } else {
    std::fprintf(stderr, "no display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n");
  }
  std::fprintf(stderr,
               "Start it in a desktop session; newyear-card-render makes the same cards "
               "without a window.\n");
}

NoDisplayGuard::NoDisplayGuard() {
  previous_handler = qInstallMessageHandler(EndOnFatal);
}

NoDisplayGuard::~NoDisplayGuard() {
  qInstallMessageHandler(previous_handler);
}

}  // namespace card
