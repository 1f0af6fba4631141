#include "window/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string>

namespace card {
namespace {

// The card's own texts, listed for the translation tools (lupdate reads these marks); CardText
// looks each up under this context.
[[maybe_unused]] constexpr const char* kCardTexts[] = {
    QT_TRANSLATE_NOOP("CardText", "repeat"),
    QT_TRANSLATE_NOOP("CardText", "save on C:\\wimgx"),
    QT_TRANSLATE_NOOP("CardText", "exit"),
    QT_TRANSLATE_NOOP("CardText", "enter your name and surname"),
    QT_TRANSLATE_NOOP("CardText", "small letters (lowercase, no čšž)"),
    QT_TRANSLATE_NOOP("CardText", "Invalid procedure call or argument"),
    QT_TRANSLATE_NOOP("CardText", "Overflow"),
    QT_TRANSLATE_NOOP("CardText", "Subscript out of range"),
    QT_TRANSLATE_NOOP("CardText", "Division by zero"),
    QT_TRANSLATE_NOOP("CardText", "Type mismatch"),
    QT_TRANSLATE_NOOP("CardText", "Path/File access error"),
    QT_TRANSLATE_NOOP("CardText", "Application-defined or object-defined error"),
};

// Qt's standard buttons (the name dialog's, the print dialog's, every message box's) take their
// words from this context, and not every language's Qt catalogue has them: Debian's Slovenian
// lacks "Cancel". The program's own catalogues carry them, and are asked first.
[[maybe_unused]] constexpr const char* kStandardButtonTexts[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
};

}  // namespace

void InstallTranslations(QCoreApplication& application) {
  const QLocale locale;
  auto* qt = new QTranslator(&application);
  if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      qt->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt);
  }
  auto* own = new QTranslator(&application);
  if (own->load(locale, QStringLiteral("newyear-card"), QStringLiteral("_"),
                QStringLiteral(":/i18n"))) {
    QCoreApplication::installTranslator(own);
  }
}

QString CardText(std::string_view english) {
  const std::string text(english);
  return QCoreApplication::translate("CardText", text.c_str());
}

}  // namespace card
