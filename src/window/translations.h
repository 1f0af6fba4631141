#pragma once

#include <QString>
#include <string_view>

class QCoreApplication;

namespace card {

// Loads the window's catalogue for the user's language, built into the program (Slovenian and
// German so far; English is the texts themselves), and Qt's own for its dialogs' buttons where the
// system has it.
void InstallTranslations(QCoreApplication& application);

// A text of the card's own in the user's language: a button's caption, a line of the name prompt,
// a run-time error's text. They stay English in the core, where the renderer and the page use them.
QString CardText(std::string_view english);

}  // namespace card
