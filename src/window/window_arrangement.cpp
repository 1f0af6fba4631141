#include "window/window_arrangement.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"

namespace card {
namespace {

// Rows of the window's own drawing: the finished card's mark lies above the picture's top and
// left of it, the save's progress mark under the picture (kProgressTop to kProgressBottom).
constexpr int kMarkRowsEnd = 24;
constexpr int kRowUnderPicture = kPicture1.top + kPictureHeight;
constexpr int kProgressEnd = kProgressBottom + 1;
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

void PlaceDesignedButtons(WindowArrangement& a, const ButtonSizes& buttons) {
  a.exit = Grown(kCommand2, buttons.exit);
  a.repeat = Grown(kCommand5, buttons.repeat);
  a.save = Grown(kCommand3, buttons.save);
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

int Up(qreal logical) {
  return static_cast<int>(std::ceil(logical - 1e-6));
}

// The window's own drawing at the card's scale: the finished card's mark in the window's corner,
// and under the picture, from the form's row `first_row` on, what lies under the picture's columns
// (the progress mark). Returns the first window row under the progress mark.
int PlacePieces(WindowArrangement& a, int first_row) {
  const qreal s = a.scale.logical();
  const qreal under_card = a.picture.top() + kPictureHeight * s;
  a.pieces = {
      {QRect(0, 0, kPicture1.left, kMarkRowsEnd), QPointF(0, 0)},
      {QRect(0, first_row, kFar, kFar), QPointF(a.picture.left() - kPicture1.left * s, under_card)},
  };
  return Up(under_card + (kProgressEnd - first_row) * s);
}

}  // namespace

QRectF WindowArrangement::Target(const FormPiece& piece, const QRect& form_area) const {
  const qreal s = scale.logical();
  const QPoint from = form_area.topLeft() - piece.source.topLeft();
  return QRectF(piece.at + QPointF(from.x() * s, from.y() * s),
                QSizeF(form_area.width() * s, form_area.height() * s));
}

QList<QRect> WindowArrangement::Shown(const QRect& form_area) const {
  QList<QRect> shown;
  for (const FormPiece& piece : pieces) {
    const QRect part = form_area & piece.source;
    if (!part.isEmpty()) shown.append(Target(piece, part).toAlignedRect());
  }
  return shown;
}

WindowArrangement ArrangeWindow(QSize client, PictureScale scale, const ButtonSizes& buttons) {
  WindowArrangement a;
  a.scale = scale;
  a.picture = QRect(QPoint(scale.OnDevicePixel(kPicture1.left), scale.OnDevicePixel(kPicture1.top)),
                    scale.Shown(QSize(kPictureWidth, kPictureHeight)));
  const int progress_end = PlacePieces(a, kRowUnderPicture);
  // The buttons keep their designed distance from the picture's right edge and from the progress
  // mark: at the designed scale, their designed places.
  PlaceDesignedButtons(a, buttons);
  const QPoint shift(a.picture.right() - (kPicture1.left + kPictureWidth - 1),
                     progress_end - kProgressEnd);
  a.exit.translate(shift);
  a.repeat.translate(shift);
  a.save.translate(shift);
  a.needed = Extent(a, 0);
  // Under the progress mark, from the picture's left edge to the buttons.
  const int status_top = progress_end + kGap;
  a.status = QRect(QPoint(a.picture.left(), status_top),
                   QPoint(std::min({a.exit.left(), a.repeat.left(), a.save.left()}) - kGap,
                          std::max(a.exit.bottom(), status_top + kStatusRows - 1)));
  if (a.Fits(client)) return a;

  // The buttons beside the picture, ending level with its bottom.
  a.layout = WindowArrangement::Layout::kBeside;
  const int column_width = std::max({a.exit.width(), a.repeat.width(), a.save.width()});
  const int right = a.picture.right() + kGap + column_width;
  StackButtons(a, right, a.picture.bottom());
  a.status = ColumnAbove(a, right - column_width + 1, column_width);
  a.needed = QSize(right + 1 + kGap, std::max(a.picture.bottom() + 1, progress_end));
  if (a.Fits(client)) return a;

  // Tight: the picture at the top, the finished card's mark beside it and the progress mark
  // right under it.
  a.layout = WindowArrangement::Layout::kTight;
  a.picture.moveTop(scale.OnDevicePixel(0));
  StackButtons(a, right, a.picture.bottom());
  a.status = ColumnAbove(a, right - column_width + 1, column_width);
  a.needed = QSize(right + 1 + kGap, PlacePieces(a, kProgressTop - 1));
  return a;
}

WindowArrangement FitWindow(QSize client, qreal device_ratio, const ButtonSizes& buttons) {
  for (int factor = PictureScale::LargestFactor(device_ratio);; --factor) {
    WindowArrangement a = ArrangeWindow(client, {factor, device_ratio}, buttons);
    if (factor == 1 || a.Fits(client)) return a;
  }
}

QSize DesignedClientSize(PictureScale scale, const ButtonSizes& buttons) {
  return ArrangeWindow(QSize(kFar, kFar), scale, buttons).needed +
         QSize(kDesignedMargin, kDesignedMargin);
}

namespace {

// The client sizes that just hold the designed and the tight arrangement, at one device pixel per
// card pixel: the two extremes of the window's shape.
struct Extremes {
  QSize designed, tight;
};
Extremes ExtremesAtOne(qreal device_ratio, const ButtonSizes& buttons) {
  const PictureScale one{1, device_ratio};
  return {ArrangeWindow(QSize(kFar, kFar), one, buttons).needed,
          ArrangeWindow(QSize(0, 0), one, buttons).needed};
}

}  // namespace

// One rectangle cannot hold exactly the sizes that show everything: the designed arrangement is
// narrow and tall, the tight one wide and low. The minimum allows both, so that neither is
// forbidden (the designed window on a screen 800 pixels high, the tight one on a screen 600 pixels
// high); the corner that holds neither is left by SizeHoldingEverything.
QSize MinimumClientSize(qreal device_ratio, const ButtonSizes& buttons) {
  const Extremes extremes = ExtremesAtOne(device_ratio, buttons);
  return QSize(extremes.designed.width(), extremes.tight.height());
}

QSize SizeHoldingEverything(QSize client, qreal device_ratio, const ButtonSizes& buttons) {
  if (FitWindow(client, device_ratio, buttons).Fits(client)) return client;
  const Extremes extremes = ExtremesAtOne(device_ratio, buttons);
  const QSize taller = extremes.designed.expandedTo(client);
  const QSize wider = extremes.tight.expandedTo(client);
  const auto area = [](QSize size) { return qint64{size.width()} * size.height(); };
  return area(taller) <= area(wider) ? taller : wider;
}

}  // namespace card
