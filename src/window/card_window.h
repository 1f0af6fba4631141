#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "platform/surface.h"
#include "window/window_arrangement.h"

namespace card {

// Shows a surface's pixels as they are, without a copy. Pressing on it and moving the mouse
// further than a click would starts `on_drag`.
class SurfaceView final : public QWidget {
 public:
  SurfaceView(Surface& surface, QWidget* parent);

  std::function<void()> on_drag;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  Surface& surface_;
  QPoint press_;
  bool pressed_ = false;
};

// The main window: the window's own drawing as its background, the visible picture and the three
// buttons, at their designed places when the window is large enough (see ArrangeWindow). The
// buttons answer their mnemonics and the usual shortcuts as they answer a click.
class CardWindow final : public QWidget {
 public:
  CardWindow(Surface& form, Surface& picture1, const QString& save_folder);

  SurfaceView* picture1() { return picture1_; }
  QPushButton* exit_button() { return exit_; }
  QPushButton* repeat_button() { return repeat_; }
  QPushButton* save_button() { return save_; }
  // Shows at once what was drawn on the window's own drawing in `form_area`.
  void RepaintForm(const QRect& form_area);
  // Says in words what became of the card (where a save went), under the picture, until the
  // next such word.
  void ShowStatus(const QString& text);
  QLabel* status() { return status_; }

  std::function<void()> on_close;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Arrange();

  Surface& form_;
  SurfaceView* picture1_;
  QPushButton* exit_;
  QPushButton* repeat_;
  QPushButton* save_;
  QLabel* status_;
  WindowArrangement arrangement_;
};

}  // namespace card
