#include "window/qt_platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "window/refusal_text.h"
#include "window/translations.h"

namespace card {
namespace {

// Repaint the growing picture no more often than a screen refreshes.
constexpr qint64 kRepaintIntervalMs = 16;

QSize FormCanvasSize() {
  QSize size(kCommand3.left + kCommand3.width + 40, kCommand2.top + kCommand2.height + 40);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    size = size.expandedTo(screen->size());
  }
  return size;
}

}  // namespace

std::string QtNameDialog::InputBox(const std::string& prompt, int left_twips, int top_twips) {
  QInputDialog dialog(parent_);
  open_ = &dialog;
  // A label breaks lines at line feeds only; the prompt separates its lines with a carriage return.
  // The prompt's lines, each in the user's language.
  QStringList lines;
  for (const QString& line : QString::fromUtf8(prompt).split(QLatin1Char('\r'))) {
    lines << CardText(line.toStdString());
  }
  QString label = lines.join(QLatin1Char('\n'));
  // Asked again after a refused answer: why, on a line of its own under the prompt.
  if (const QString why = PlainRefusal(last_answer_); !why.isEmpty()) {
    label += QLatin1String("\n\n") + why;
  }
  dialog.setLabelText(label);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(QString());
  dialog.adjustSize();

  const QScreen* screen = parent_ != nullptr && parent_->screen() != nullptr
                              ? parent_->screen()
                              : QGuiApplication::primaryScreen();
  QPoint place(left_twips / 15, top_twips / 15);
  if (screen != nullptr) {
    place = QPoint(static_cast<int>(left_twips * screen->logicalDotsPerInchX() / 1440.0),
                   static_cast<int>(top_twips * screen->logicalDotsPerInchY() / 1440.0)) +
            screen->geometry().topLeft();
  }
  // On a small screen the dialog moves up or left just enough to stay whole, frame included.
  const auto keep_on_screen = [&dialog, screen, place](QSize frame_size) {
    if (screen == nullptr) return place;
    const QRect area = screen->availableGeometry();
    return QPoint(std::clamp(place.x(), area.left(),
                             std::max(area.left(), area.right() + 1 - frame_size.width())),
                  std::clamp(place.y(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - frame_size.height())));
  };
  dialog.ensurePolished();
  dialog.adjustSize();
  dialog.move(keep_on_screen(dialog.size()));
  // The frame is known only once the dialog is shown: correct the place then if it juts out.
  QTimer::singleShot(0, &dialog, [&dialog, keep_on_screen] {
    const QPoint corrected = keep_on_screen(dialog.frameGeometry().size());
    if (corrected != dialog.pos()) dialog.move(corrected);
  });
  const bool accepted = dialog.exec() == QDialog::Accepted;
  open_ = nullptr;
  last_answer_ = accepted ? dialog.textValue().toStdString() : std::string();
  return last_answer_;
}

void QtNameDialog::CancelOpenDialog() {
  if (open_ != nullptr) open_->reject();
}

bool QtNameDialog::IsOpen() const {
  return open_ != nullptr;
}

void QtMessages::ShowSaveError(const std::string& path, const std::string& reason) {
  QMessageBox::warning(
      parent_, QCoreApplication::translate("CardHandOver", "The card was not saved"),
      QCoreApplication::translate("CardWindow",
                                  "The card could not be saved as\n%1\n\nReason: %2.\n\n"
                                  "The card is still on screen: fix the cause and save again.")
          .arg(QString::fromStdString(path), QString::fromStdString(reason)));
}

void QtMessages::ShowSaved(const std::string& path) {
  if (parent_ != nullptr) {
    parent_->ShowStatus(QCoreApplication::translate("CardHandOver", "Saved as %1")
                            .arg(QString::fromStdString(path)));
  }
}

void QtMessages::ShowRuntimeError(const RuntimeError& error) {
  QMessageBox::critical(parent_, QCoreApplication::translate("CardWindow", "Run-time error"),
                        QCoreApplication::translate("CardWindow", "Run-time error '%1':\n\n%2")
                            .arg(static_cast<int>(error.number()))
                            .arg(CardText(ErrorText(error.number()))));
}

QtPlatform::QtPlatform() : QtPlatform(Replacements{}) {}

QtPlatform::QtPlatform(Replacements replacements)
    : form_(FormCanvasSize().width(), FormCanvasSize().height(), &text_renderer_),
      // The pictures print nothing in the window's font: the greeting has its own typeface.
      picture1_(kPictureWidth, kPictureHeight),
      picture2_(kPictureWidth, kPictureHeight),
      disk_files_(DiskFileStore::UserHome()),
      dialog_(nullptr),
      messages_(nullptr) {
  FileStore& files = replacements.files != nullptr ? *replacements.files : disk_files_;
  window_ = std::make_unique<CardWindow>(form_, picture1_,
                                         QString::fromStdString(files.NativePath(kCardFolder)));
  dialog_ = QtNameDialog(window_.get());
  messages_ = QtMessages(window_.get());
  form_.SetForeColor(kWindowTextColor);
  form_.set_observer(this);
  platform_ = std::make_unique<Platform>(
      Platform{form_, picture1_, picture2_, *this,
               replacements.dialog != nullptr ? *replacements.dialog : dialog_, files,
               replacements.messages != nullptr ? *replacements.messages : messages_, *this,
               replacements.clock != nullptr ? *replacements.clock : system_clock_});
  since_repaint_.start();
  video_saver_ = std::make_unique<VideoSaver>(
      files, [this](const QString& text) { window_->ShowStatus(text); });
}

QtPlatform::~QtPlatform() {
  form_.set_observer(nullptr);
}

std::function<void()> QtPlatform::Refreshing(std::function<void()> handler) {
  return [this, handler = std::move(handler)] {
    if (handler) handler();
    if (window_) {
      window_->picture1()->update();
      window_->update();
    }
  };
}

void QtPlatform::Connect(Handlers handlers) {
  load_ = Refreshing(handlers.load);
  QObject::connect(window_->repeat_button(), &QPushButton::clicked, Refreshing(handlers.repeat));
  QObject::connect(window_->save_button(), &QPushButton::clicked, Refreshing(handlers.save));
  QObject::connect(window_->exit_button(), &QPushButton::clicked, Refreshing(handlers.exit));
  window_->on_close = handlers.close;
  // The frame's close control ends the program also while the name dialog asks.
  blocked_close_ = std::make_unique<BlockedCloseRequests>(
      *window_, [this] { return dialog_.IsOpen(); },
      [this] {
        if (window_->on_close) window_->on_close();
      });
}

void QtPlatform::ConnectVideo(const Form1& form, const Generator& generator) {
  QObject::connect(window_->save_video_action(), &QAction::triggered, [this, &form, &generator] {
    if (form.imeslike.empty()) {
      window_->ShowStatus(
          QCoreApplication::translate("VideoSaver", "There is no card to film yet."));
      return;
    }
    // The greeting's address and year are the built-in ones, as in the window.
    video_saver_->Save(FilmedCard{form.t, generator.draws_since_randomize(), "", "", {}},
                       form.imeslike);
  });
}

void QtPlatform::Load() {
  if (load_) load_();
}

void QtPlatform::DoEvents() {
  if (since_repaint_.elapsed() >= kRepaintIntervalMs) {
    window_->picture1()->update();
    since_repaint_.restart();
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::Show() {
  window_->showMaximized();
}

void QtPlatform::Quit() {
  dialog_.CancelOpenDialog();
  QCoreApplication::quit();
}

void QtPlatform::Drawn(int left, int top, int right, int bottom) {
  // The window's own drawing is shown at once, without waiting for events: the save's progress
  // mark moves while the copy runs.
  if (window_ && window_->isVisible()) {
    window_->RepaintForm(QRect(QPoint(left, top), QPoint(right, bottom)));
  }
}

}  // namespace card
