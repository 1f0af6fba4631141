#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "platform/surface.h"
#include "window/picture_scale.h"
#include "window/window_arrangement.h"

namespace card {

// Shows a surface's pixels without a copy, each as a square of whole device pixels (its scale).
// Pressing on it and moving the mouse further than a click would starts `on_drag`.
class SurfaceView final : public QWidget {
 public:
  SurfaceView(Surface& surface, QWidget* parent);

  void SetScale(PictureScale scale);
  PictureScale scale() const { return scale_; }

  std::function<void()> on_drag;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  Surface& surface_;
  PictureScale scale_;
  QPoint press_;
  bool pressed_ = false;
};

// The main window: the window's own drawing as its background, the visible picture and the three
// buttons, at their designed places when the window is large enough (see ArrangeWindow), the
// card as large as the window allows in whole device pixels (FitWindow). The
// buttons answer their mnemonics and the usual shortcuts as they answer a click. The picture has
// a context menu of what else can be done with the card, each with its shortcut, and a status
// line says how that went without covering the card.
class CardWindow final : public QWidget {
 public:
  CardWindow(Surface& form, Surface& picture1, const QString& save_folder);

  SurfaceView* picture1() { return picture1_; }
  QPushButton* exit_button() { return exit_; }
  QPushButton* repeat_button() { return repeat_; }
  QPushButton* save_button() { return save_; }
  QMenu* card_menu() { return card_menu_; }
  QAction* save_video_action() { return save_video_; }
  QLabel* status_line() { return status_; }
  // Shows `text` in the status line, the whole of it as the line's tool tip.
  void ShowStatus(const QString& text);
  // Shows at once what was drawn on the window's own drawing in `form_area`.
  void RepaintForm(const QRect& form_area);
  const WindowArrangement& arrangement() const { return arrangement_; }

  std::function<void()> on_close;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // What the buttons' captions need, in the window's font.
  ButtonSizes Buttons() const;
  void Arrange();
  void GrowToHoldEverything();
  void MakeCardMenu();

  Surface& form_;
  SurfaceView* picture1_;
  QPushButton* exit_;
  QPushButton* repeat_;
  QPushButton* save_;
  QMenu* card_menu_ = nullptr;
  QAction* save_video_ = nullptr;
  QLabel* status_;
  WindowArrangement arrangement_;
  bool screen_watched_ = false;
};

}  // namespace card
