#include "window/refusal_text.h"

#include <QCoreApplication>

#include "seed/name_rules.h"
#include "services/text.h"

namespace card {
namespace {

// What kind of character was refused, as the reader would name it.
QString Kind(char32_t c, bool has_suggestion) {
  if (c >= U'A' && c <= U'Z')
    return QCoreApplication::translate("NameDialog", "Capital letters can't be used");
  if (c >= U'0' && c <= U'9')
    return QCoreApplication::translate("NameDialog", "Digits can't be used");
  if (c == U'\t') return QCoreApplication::translate("NameDialog", "Tabs can't be used");
  if (IsControlCharacter(c))
    return QCoreApplication::translate("NameDialog", "Control characters can't be used");
  if (c > 0x7F && has_suggestion) {
    return QCoreApplication::translate("NameDialog",
                                       "Letters with marks such as \"%1\" can't be used")
        .arg(QString::fromStdString(EncodeUtf8(c)));
  }
  return QCoreApplication::translate("NameDialog",
                                     "\"%1\" can't be used: only the letters a to z and spaces")
      .arg(QString::fromStdString(EncodeUtf8(c)));
}

}  // namespace

QString PlainRefusal(const std::string& answer) {
  const auto refusal = CheckName(answer);
  if (!refusal) return {};
  if (refusal->reason == NameRefusal::Reason::kTooLong) {
    return QCoreApplication::translate("NameDialog",
                                       "The name has %1 characters: at most %2 can be used.")
        .arg(refusal->length)
        .arg(kMaxNameLength);
  }
  const auto suggestion = SuggestName(answer);
  const QString kind = Kind(refusal->character, suggestion.has_value());
  if (!suggestion) return kind + QLatin1Char('.');
  return QCoreApplication::translate("NameDialog", "%1: try \"%2\".")
      .arg(kind, QString::fromStdString(*suggestion));
}

}  // namespace card
