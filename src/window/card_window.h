#pragma once

#include <QPushButton>
#include <QWidget>
#include <functional>

#include "platform/surface.h"
#include "window/window_arrangement.h"

namespace card {

// Shows a surface's pixels as they are, without a copy.
class SurfaceView final : public QWidget {
 public:
  SurfaceView(Surface& surface, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Surface& surface_;
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
  WindowArrangement arrangement_;
};

}  // namespace card
