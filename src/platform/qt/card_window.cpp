#include "platform/qt/card_window.h"

#include <QCloseEvent>
#include <QImage>
#include <QPainter>

#include "platform/platform.h"

namespace card {
namespace {

QImage ImageOf(const Surface& surface) {
  const PixelBuffer& pixels = surface.pixels();
  return QImage(reinterpret_cast<const uchar*>(pixels.data()), pixels.width(), pixels.height(),
                pixels.stride() * 4, QImage::Format_RGB32);
}

QPushButton* MakeButton(const ControlGeometry& g, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(g.caption), parent);
  button->setObjectName(QString::fromUtf8(g.name));
  button->setGeometry(g.left, g.top, g.width, g.height);
  // The buttons are only 17 pixels high: a small font and no frame margin keep the caption whole.
  QFont font = button->font();
  font.setPixelSize(11);
  button->setFont(font);
  button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
  return button;
}

}  // namespace

SurfaceView::SurfaceView(Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(surface.width(), surface.height());
}

void SurfaceView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), ImageOf(surface_), event->rect());
}

CardWindow::CardWindow(Surface& form, Surface& picture1, const QString& save_folder) : form_(form) {
  setWindowTitle(QStringLiteral("Form1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  picture1_ = new SurfaceView(picture1, this);
  picture1_->setObjectName(QString::fromUtf8(kPicture1.name));
  picture1_->move(kPicture1.left, kPicture1.top);
  picture1_->setFocusPolicy(Qt::StrongFocus);
  exit_ = MakeButton(kCommand2, this);
  repeat_ = MakeButton(kCommand5, this);
  save_ = MakeButton(kCommand3, this);
  save_->setToolTip(QStringLiteral("Cards are saved in %1").arg(save_folder));
  // Tab order: picture, exit, repeat, (the hidden picture), save.
  setTabOrder(picture1_, exit_);
  setTabOrder(exit_, repeat_);
  setTabOrder(repeat_, save_);
  // Big enough for every control when no window manager maximizes the window.
  resize(kCommand3.left + kCommand3.width + 40, kCommand2.top + kCommand2.height + 40);
}

void CardWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), QColor::fromRgb(ArgbFromPacked(form_.back_color())));
  painter.drawImage(event->rect().topLeft(), ImageOf(form_), event->rect());
}

void CardWindow::closeEvent(QCloseEvent* event) {
  if (on_close) on_close();
  event->accept();
}

}  // namespace card
