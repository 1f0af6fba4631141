#include "window/card_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include "platform/platform.h"
#include "window/translations.h"

namespace card {
namespace {

QImage ImageOf(const Surface& surface) {
  const PixelBuffer& pixels = surface.pixels();
  return QImage(reinterpret_cast<const uchar*>(pixels.data()), pixels.width(), pixels.height(),
                pixels.stride() * 4, QImage::Format_RGB32);
}

// `caption` with the mnemonic marker before its character at `mnemonic`: the visible text stays
// the caption, underlined there once the Alt key is held.
QPushButton* MakeButton(const ControlGeometry& g, int mnemonic, QWidget* parent) {
  QString text = CardText(g.caption);
  text.insert(mnemonic, QLatin1Char('&'));
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromUtf8(g.name));
  // The buttons are only 17 pixels high: no frame margin keeps the caption whole. The font is
  // the desktop's; a larger one makes the button larger (ArrangeWindow).
  button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
  return button;
}

// The room the caption needs in the button's font.
QSize CaptionSize(const QPushButton* button) {
  const QFontMetrics metrics(button->font());
  const QString caption = QString(button->text()).remove(QLatin1Char('&'));
  return QSize(metrics.horizontalAdvance(caption) + 6, metrics.height() + 2);
}

// The pixels of a picture shown at `scale` logical pixels per pixel that `area` shows.
QRect PixelsUnder(const QRectF& area, qreal scale) {
  return QRectF(area.topLeft() / scale, area.size() / scale).toAlignedRect();
}

void AddShortcut(QWidget* window, const QKeySequence& keys, QPushButton* button) {
  auto* shortcut = new QShortcut(keys, window);
  QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
}

}  // namespace

SurfaceView::SurfaceView(Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetScale(scale_);
}

void SurfaceView::SetScale(PictureScale scale) {
  scale_ = scale;
  setFixedSize(scale.Shown(QSize(surface_.width(), surface_.height())));
  update();
}

void SurfaceView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // The view is whole logical pixels; the card may end inside the last one.
  painter.fillRect(event->rect(), Qt::black);
  QImage image = ImageOf(surface_);
  image.setDevicePixelRatio(1.0 / scale_.logical());
  const QRect pixels = PixelsUnder(event->rect(), scale_.logical()) & image.rect();
  if (pixels.isEmpty()) return;
  painter.drawImage(QPointF(pixels.left() * scale_.logical(), pixels.top() * scale_.logical()),
                    image, pixels);
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  press_ = event->position().toPoint();
  QWidget::mousePressEvent(event);
}

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
  if (pressed_ && (event->buttons() & Qt::LeftButton) && on_drag &&
      (event->position().toPoint() - press_).manhattanLength() >=
          QApplication::startDragDistance()) {
    pressed_ = false;
    on_drag();
    return;
  }
  QWidget::mouseMoveEvent(event);
}

CardWindow::CardWindow(Surface& form, Surface& picture1, const QString& save_folder) : form_(form) {
  setWindowTitle(QStringLiteral("Form1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  picture1_ = new SurfaceView(picture1, this);
  picture1_->setObjectName(QString::fromUtf8(kPicture1.name));
  picture1_->setFocusPolicy(Qt::StrongFocus);
  exit_ = MakeButton(kCommand2, 1, this);    // e&xit: Alt+X, as in most programs
  repeat_ = MakeButton(kCommand5, 0, this);  // &repeat
  save_ = MakeButton(kCommand3, 0, this);    // &save on C:\wimgx
  save_->setToolTip(
      QCoreApplication::translate("CardWindow", "Cards are saved in %1 (Ctrl+S)").arg(save_folder));
  repeat_->setToolTip(
      QCoreApplication::translate("CardWindow", "Another name, another card (Ctrl+N)"));
  exit_->setToolTip(QCoreApplication::translate("CardWindow", "End the program (Ctrl+Q)"));
  // Tab order: picture, exit, repeat, (the hidden picture), save.
  setTabOrder(picture1_, exit_);
  setTabOrder(exit_, repeat_);
  setTabOrder(repeat_, save_);
  // A shortcut clicks its button, so it does exactly what the click does, when the click could.
  AddShortcut(this, QKeySequence(Qt::CTRL | Qt::Key_S), save_);
  AddShortcut(this, QKeySequence(Qt::CTRL | Qt::Key_N), repeat_);
  AddShortcut(this, QKeySequence(Qt::CTRL | Qt::Key_R), repeat_);
  AddShortcut(this, QKeySequence(Qt::CTRL | Qt::Key_Q), exit_);
  MakeCardMenu();
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Status"));
  status_->setWordWrap(true);
  status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette text_colour = status_->palette();
  text_colour.setColor(QPalette::WindowText, QColor::fromRgb(ArgbFromPacked(kWindowTextColor)));
  status_->setPalette(text_colour);
  status_->hide();  // until there is something to say

  // Big enough for every control when no window manager maximizes the window: the largest card
  // the screen holds, in the designed window when it fits, else arranged to fit the screen.
  const ButtonSizes buttons = Buttons();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
  QSize size = DesignedClientSize({1, ratio}, buttons);
  if (screen != nullptr) {
    const QSize available = screen->availableGeometry().size();
    const WindowArrangement fitted = FitWindow(available, ratio, buttons);
    size = fitted.layout == WindowArrangement::Layout::kDesigned
               ? DesignedClientSize(fitted.scale, buttons)
               : fitted.needed;
    size = size.boundedTo(available);
  }
  resize(size);
  Arrange();
}

// The card's context menu, built here alone: its actions also answer their shortcuts anywhere in
// the window. Ctrl+Shift+E is "export as" in the image editors that have it and has no other
// meaning in Qt's, GNOME's or KDE's standard keys (Ctrl+E ends a line or completes text there,
// Ctrl+Alt+V is paste special, Ctrl+Shift+S save as, Ctrl+M shows the menu bar).
void CardWindow::MakeCardMenu() {
  card_menu_ = new QMenu(this);
  card_menu_->setObjectName(QStringLiteral("CardMenu"));
  save_video_ = card_menu_->addAction(QCoreApplication::translate("CardWindow", "Save &video"));
  save_video_->setObjectName(QStringLiteral("SaveVideo"));
  save_video_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
  save_video_->setShortcutVisibleInContextMenu(true);
  save_video_->setToolTip(QCoreApplication::translate(
      "CardWindow", "The card growing, as an MP4 video beside its bitmap"));
  addAction(save_video_);
  picture1_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(picture1_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& place) { card_menu_->popup(picture1_->mapToGlobal(place)); });
}

void CardWindow::ShowStatus(const QString& text) {
  status_->setText(text);
  status_->setToolTip(text);
  status_->show();
}

void CardWindow::Arrange() {
  const ButtonSizes buttons = Buttons();
  const qreal ratio = devicePixelRatioF();
  setMinimumSize(MinimumClientSize(ratio, buttons));
  arrangement_ = FitWindow(size(), ratio, buttons);
  picture1_->SetScale(arrangement_.scale);
  picture1_->move(arrangement_.picture.topLeft());
  exit_->setGeometry(arrangement_.exit);
  repeat_->setGeometry(arrangement_.repeat);
  save_->setGeometry(arrangement_.save);
  status_->setGeometry(arrangement_.status);
  update();
  if (!arrangement_.Fits(size())) {
    // Once the window system has finished this resize, not in the middle of it.
    QMetaObject::invokeMethod(
        this, [this] { GrowToHoldEverything(); }, Qt::QueuedConnection);
  }
}

ButtonSizes CardWindow::Buttons() const {
  return {CaptionSize(exit_), CaptionSize(repeat_), CaptionSize(save_)};
}

// A window narrower than the tight arrangement and lower than the designed one (which the minimum
// size allows, see MinimumClientSize) grows to the nearer of the two, when the screen has room.
void CardWindow::GrowToHoldEverything() {
  if (isMaximized() || isFullScreen() || screen() == nullptr) return;
  const QSize holding = SizeHoldingEverything(size(), devicePixelRatioF(), Buttons());
  const QSize available = screen()->availableGeometry().size();
  if (holding != size() && holding.boundedTo(available) == holding) resize(holding);
}

void CardWindow::RepaintForm(const QRect& form_area) {
  // A new background colour fills the whole window, not only where the pieces show.
  if (form_area.contains(QRect(0, 0, form_.width(), form_.height()))) {
    repaint();
    return;
  }
  for (const QRect& shown : arrangement_.Shown(form_area)) repaint(shown);
}

void CardWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), QColor::fromRgb(ArgbFromPacked(form_.back_color())));
  QImage form = ImageOf(form_);
  // Each form pixel as large as a card pixel: whole device pixels, beside the card's columns.
  const qreal scale = arrangement_.scale.logical();
  form.setDevicePixelRatio(1.0 / scale);
  for (const FormPiece& piece : arrangement_.pieces) {
    const QRect exposed = PixelsUnder(QRectF(event->rect()).translated(-piece.at), scale)
                              .translated(piece.source.topLeft());
    const QRect source = exposed & piece.source & form.rect();
    if (source.isEmpty()) continue;
    painter.drawImage(arrangement_.Target(piece, source).topLeft(), form, source);
  }
}

void CardWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Arrange();
}

void CardWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // On a screen of another scaling the card gets another factor.
  if (QWindow* window = windowHandle(); window != nullptr && !screen_watched_) {
    screen_watched_ = true;
    connect(window, &QWindow::screenChanged, this, [this] { Arrange(); });
  }
  Arrange();
}

void CardWindow::closeEvent(QCloseEvent* event) {
  if (on_close) on_close();
  event->accept();
}

}  // namespace card
