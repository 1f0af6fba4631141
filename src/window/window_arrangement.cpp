#include "window/window_arrangement.h"

#include <algorithm>

#include "platform/platform.h"

namespace card {
namespace {

// Rows of the window's own drawing: the finished card's mark lies above the picture's top, the
// save's progress mark under the picture (kProgressTop to kProgressBottom).
constexpr int kMarkRowsEnd = 24;
constexpr int kProgressRows = kProgressBottom - kProgressTop + 1;
// Room that the designed window leaves right of and under its controls.
constexpr int kDesignedMargin = 40;
// Gap between the picture and the button column, and around the column.
constexpr int kGap = 8;
// Rows the status line has at least: two lines of text.
constexpr int kStatusRows = 34;
// Larger than any form surface: a piece reaching it reaches the form's edge.
constexpr int kFar = 1 << 20;

QRect Grown(const ControlGeometry& g, QSize size) {
  const int width = std::max(g.width, size.width());
  const int height = std::max(g.height, size.height());
  // The designed buttons share their right edge: a wider one grows to the left.
  return QRect(g.left + g.width - width, g.top, width, height);
}

// Stacks the buttons (repeat, save, exit, the designed order from the top) with the designed
// 24-pixel pitch, or more for taller buttons, so that the exit button ends on row `bottom`.
void StackButtons(WindowArrangement& a, int right, int bottom) {
  const int pitch = std::max({24, a.repeat.height() + 7, a.save.height() + 7});
  a.exit.moveBottomRight(QPoint(right, bottom));
  a.save.moveBottomRight(QPoint(right, a.exit.top() - pitch + a.save.height() - 1));
  a.repeat.moveBottomRight(QPoint(right, a.save.top() - pitch + a.repeat.height() - 1));
}

void PlaceDesignedButtons(WindowArrangement& a, QSize exit_size, QSize repeat_size,
                          QSize save_size) {
  a.exit = Grown(kCommand2, exit_size);
  a.repeat = Grown(kCommand5, repeat_size);
  a.save = Grown(kCommand3, save_size);
  // Taller buttons than designed keep their order without overlapping.
  if (a.save.top() < a.repeat.bottom() + 7) a.save.moveTop(a.repeat.bottom() + 7);
  if (a.exit.top() < a.save.bottom() + 7) a.exit.moveTop(a.save.bottom() + 7);
}

// The button column's room above its buttons, level with the picture's top.
QRect ColumnAbove(const WindowArrangement& a, int left, int width) {
  return QRect(left, a.picture.top(), width, std::max(0, a.repeat.top() - kGap - a.picture.top()));
}

QSize Extent(const WindowArrangement& a, int margin) {
  const QRect all = a.picture | a.exit | a.repeat | a.save;
  return QSize(all.right() + 1 + margin, all.bottom() + 1 + margin);
}

}  // namespace

QList<QRect> WindowArrangement::Shown(const QRect& form_area) const {
  QList<QRect> shown;
  for (const FormPiece& piece : pieces) {
    const QRect part = form_area & piece.source;
    if (!part.isEmpty()) shown.append(part.translated(piece.offset));
  }
  return shown;
}

QSize DesignedClientSize(QSize exit_size, QSize repeat_size, QSize save_size) {
  WindowArrangement designed;
  designed.picture = QRect(kPicture1.left, kPicture1.top, kPicture1.width, kPicture1.height);
  PlaceDesignedButtons(designed, exit_size, repeat_size, save_size);
  return Extent(designed, kDesignedMargin);
}

WindowArrangement ArrangeWindow(QSize client, QSize exit_size, QSize repeat_size, QSize save_size) {
  WindowArrangement a;
  a.picture = QRect(kPicture1.left, kPicture1.top, kPicture1.width, kPicture1.height);
  PlaceDesignedButtons(a, exit_size, repeat_size, save_size);
  a.pieces = {{QRect(0, 0, kFar, kFar), QPoint(0, 0)}};
  a.needed = Extent(a, 0);
  // Under the progress mark, from the picture's left edge to the buttons.
  const int status_top = kProgressTop + kProgressRows + kGap;
  a.status = QRect(QPoint(a.picture.left(), status_top),
                   QPoint(std::min({a.exit.left(), a.repeat.left(), a.save.left()}) - kGap,
                          std::max(a.exit.bottom(), status_top + kStatusRows - 1)));
  if (client.width() >= a.needed.width() && client.height() >= a.needed.height()) return a;

  // The buttons beside the picture, ending level with its bottom.
  const int column_width = std::max({a.exit.width(), a.repeat.width(), a.save.width()});
  const int right = a.picture.right() + kGap + column_width;
  StackButtons(a, right, a.picture.bottom());
  a.status = ColumnAbove(a, right - column_width + 1, column_width);
  a.needed = QSize(right + 1 + kGap, kProgressTop + kProgressRows);
  if (client.height() >= a.needed.height()) return a;

  // Tight: the picture at the top, the finished card's mark beside it and the progress mark
  // right under it.
  const int lift = a.picture.top();
  a.picture.moveTop(0);
  StackButtons(a, right, a.picture.bottom());
  a.status = ColumnAbove(a, right - column_width + 1, column_width);
  const int progress_lift = kProgressTop - (a.picture.bottom() + 2);
  a.pieces = {
      {QRect(0, kMarkRowsEnd, kFar, a.picture.height()), QPoint(0, -lift)},
      {QRect(0, 0, a.picture.left(), kMarkRowsEnd), QPoint(0, 0)},
      {QRect(0, kProgressTop - 1, kFar, kFar), QPoint(0, -progress_lift)},
  };
  a.needed = QSize(right + 1 + kGap, a.picture.bottom() + 2 + kProgressRows);
  return a;
}

}  // namespace card
