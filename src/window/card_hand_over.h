#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <string>

class QMenu;
class QPrinter;

namespace card {

class CardWindow;
class Surface;

// Hands the card over the ways a desktop program does: a context menu on the card with Save as…
// (PNG or BMP), Copy, Print… and About, their usual shortcuts, and dragging the card out of the
// window as a PNG file. After a save the window says where the file went.
class CardHandOver final : public QObject {
 public:
  // `name` gives the person's name of the card on screen, for file names and the print's title.
  CardHandOver(CardWindow& window, Surface& picture, std::function<std::string()> name);

  // The card as it is on screen now, greeting included (a copy).
  QImage CardImage() const;
  // The default file name of a saved card: the person's name, or "card" for the empty name.
  QString DefaultFileName(const QString& extension) const;

  // What the menu's actions do, callable without the menu or its dialogs (tests).
  // Writes the card to `path` as PNG or BMP by its extension; false, with the reason shown, when
  // it could not be written.
  bool SaveAs(const QString& path);
  void Copy() const;
  // Draws the whole card centred on the page, as large as the page allows, its pixels square.
  void Print(QPrinter& printer) const;

  QMenu* menu() { return menu_; }

 private:
  void AskAndSaveAs();
  void AskAndPrint();
  void ShowAbout();
  void Drag();

  CardWindow& window_;
  Surface& picture_;
  std::function<std::string()> name_;
  QMenu* menu_;
  QTemporaryDir drag_folder_;  // the dragged card's file, kept while the program runs
};

}  // namespace card
