#include "window/card_hand_over.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QUrl>

#include "about/version.h"
#include "files/staged_file.h"
#include "overlay/greeting_settings.h"
#include "platform/platform.h"
#include "raster/bmp_writer.h"
#include "raster/png_writer.h"
#include "window/card_window.h"

namespace card {
namespace {

constexpr char kLastFolderKey[] = "save-as/folder";

QAction* AddAction(QMenu* menu, QWidget* window, const QString& text, const QKeySequence& keys,
                   std::function<void()> run) {
  auto* action = menu->addAction(text);
  action->setShortcut(keys);
  action->setShortcutContext(Qt::WindowShortcut);
  // The window holds the action too, so its shortcut works with the menu closed.
  window->addAction(action);
  QObject::connect(action, &QAction::triggered, action, std::move(run));
  return action;
}

std::vector<std::uint8_t> Encoded(const PixelBuffer& pixels, const QString& path) {
  return path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive) ? EncodeBmp(pixels)
                                                                   : EncodePng(pixels);
}

}  // namespace

CardHandOver::CardHandOver(CardWindow& window, Surface& picture, std::function<std::string()> name)
    : QObject(&window), window_(window), picture_(picture), name_(std::move(name)) {
  // The window's card menu holds what else can be done with the card: these join it.
  menu_ = window.card_menu();
  menu_->addSeparator();
  AddAction(menu_, &window, QCoreApplication::translate("CardHandOver", "Save &as…"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { AskAndSaveAs(); });
  AddAction(menu_, &window, QCoreApplication::translate("CardHandOver", "&Copy"),
            QKeySequence::Copy, [this] { Copy(); });
  AddAction(menu_, &window, QCoreApplication::translate("CardHandOver", "&Print…"),
            QKeySequence::Print, [this] { AskAndPrint(); });
  menu_->addSeparator();
  AddAction(menu_, &window, QCoreApplication::translate("CardHandOver", "A&bout"),
            QKeySequence::HelpContents, [this] { ShowAbout(); });

  window.picture1()->on_drag = [this] { Drag(); };
}

QImage CardHandOver::CardImage() const {
  const PixelBuffer& pixels = picture_.pixels();
  return QImage(reinterpret_cast<const uchar*>(pixels.data()), pixels.width(), pixels.height(),
                pixels.stride() * 4, QImage::Format_RGB32)
      .copy();
}

QString CardHandOver::DefaultFileName(const QString& extension) const {
  const QString name = QString::fromStdString(name_());
  return (name.isEmpty() ? QStringLiteral("card") : name) + QLatin1Char('.') + extension;
}

bool CardHandOver::SaveAs(const QString& path) {
  const std::string native = QFile::encodeName(path).toStdString();
  try {
    const PixelBuffer pixels = picture_.pixels();  // the card as it is now, while it may grow
    const std::vector<std::uint8_t> bytes = Encoded(pixels, path);
    StagedFile file(native, bytes.data(), bytes.size(), StagedFile::Destination::kReplace);
    file.Commit();
  } catch (const FileError& error) {
    QMessageBox::warning(&window_,
                         QCoreApplication::translate("CardHandOver", "The card was not saved"),
                         QCoreApplication::translate(
                             "CardHandOver", "The card could not be saved as\n%1\n\nReason: %2.")
                             .arg(path, QString::fromStdString(error.reason())));
    return false;
  }
  window_.ShowStatus(QCoreApplication::translate("CardHandOver", "Saved as %1")
                         .arg(QDir::toNativeSeparators(path)));
  return true;
}

void CardHandOver::AskAndSaveAs() {
  QSettings settings;
  const QString folder = settings.value(QLatin1String(kLastFolderKey), QDir::homePath()).toString();
  QString filter = QCoreApplication::translate("CardHandOver", "PNG image (*.png)");
  QString path = QFileDialog::getSaveFileName(
      &window_, QCoreApplication::translate("CardHandOver", "Save the card as"),
      QDir(folder).filePath(DefaultFileName(QStringLiteral("png"))),
      QCoreApplication::translate("CardHandOver", "PNG image (*.png)") + QLatin1String(";;") +
          QCoreApplication::translate("CardHandOver", "BMP image (*.bmp)"),
      &filter);
  if (path.isEmpty()) return;
  // A name without an image extension gets the one of the chosen type.
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("bmp")) {
    path += filter.contains(QLatin1String("*.bmp")) ? QLatin1String(".bmp") : QLatin1String(".png");
  }
  settings.setValue(QLatin1String(kLastFolderKey), QFileInfo(path).absolutePath());
  SaveAs(path);
}

void CardHandOver::Copy() const {
  QGuiApplication::clipboard()->setImage(CardImage());
  window_.ShowStatus(QCoreApplication::translate("CardHandOver", "The card is on the clipboard"));
}

void CardHandOver::Print(QPrinter& printer) const {
  const QImage card = CardImage();
  QPainter painter(&printer);
  const QRect page = painter.viewport();
  QSize size = card.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(QRect(page.topLeft() + QPoint((page.width() - size.width()) / 2,
                                                    (page.height() - size.height()) / 2),
                            size));
  painter.setWindow(card.rect());
  // A PDF would otherwise hold the card as a JPEG, its sharp pixels blurred.
  painter.setRenderHint(QPainter::LosslessImageRendering);
  painter.drawImage(0, 0, card);
}

void CardHandOver::AskAndPrint() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(DefaultFileName(QStringLiteral("png")));
  QPrintDialog dialog(&printer, &window_);
  if (dialog.exec() != QDialog::Accepted) return;
  Print(printer);
  if (!printer.outputFileName().isEmpty()) {
    window_.ShowStatus(QCoreApplication::translate("CardHandOver", "Printed to %1")
                           .arg(QDir::toNativeSeparators(printer.outputFileName())));
  }
}

void CardHandOver::ShowAbout() {
  QMessageBox::about(
      &window_, QCoreApplication::translate("CardHandOver", "About New-Year Card"),
      QCoreApplication::translate(
          "CardHandOver",
          "<h3>New-Year Card %1</h3>"
          "<p>Type a name, get a New-Year greeting card painted as generative art.</p>"
          "<p>Cards handed out by <b>%2</b>.</p>"
          "<p>Copyright © 2026 The New-Year Card authors. Free software under the MIT licence: "
          "you are free to change and redistribute it. There is no warranty, to the extent "
          "permitted by law.</p>"
          "<p>It uses the work of others, each under its own licence: Qt (LGPL version 3), "
          "SLEEF (Boost Software License), libdeflate (MIT) and glyphs made from the DejaVu Sans "
          "font (Bitstream Vera licence). The notices are in "
          "/usr/share/doc/newyear-card/copyright.</p>")
          .arg(QString::fromLatin1(kVersion), QString::fromLatin1(kProjectAddress)));
}

void CardHandOver::Drag() {
  // A file is what a file manager, a mail or a chat takes; the image itself goes along for
  // programs that take pictures.
  const QString path = drag_folder_.filePath(DefaultFileName(QStringLiteral("png")));
  const std::string native = QFile::encodeName(path).toStdString();
  try {
    const std::vector<std::uint8_t> bytes = EncodePng(picture_.pixels());
    StagedFile file(native, bytes.data(), bytes.size(), StagedFile::Destination::kReplace);
    file.Commit();
  } catch (const FileError& error) {
    window_.ShowStatus(
        QCoreApplication::translate("CardHandOver", "The card could not be dragged: %1")
            .arg(QString::fromStdString(error.reason())));
    return;
  }
  auto* data = new QMimeData;
  data->setUrls({QUrl::fromLocalFile(path)});
  data->setImageData(CardImage());
  auto* drag = new QDrag(window_.picture1());
  drag->setMimeData(data);
  drag->setPixmap(QPixmap::fromImage(CardImage().scaledToWidth(160, Qt::SmoothTransformation)));
  drag->exec(Qt::CopyAction);
}

}  // namespace card
