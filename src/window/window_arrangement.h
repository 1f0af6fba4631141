#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace card {

// A part of the window's own drawing and where it is shown: window point = form point + offset.
struct FormPiece {
  QRect source;
  QPoint offset;
};

// Where the picture, the three buttons and the window's own drawing stand in a client area.
struct WindowArrangement {
  QRect picture;
  QRect exit, repeat, save;
  QRect status;  // the status line: under the picture beside the buttons, or above the buttons
  QList<FormPiece> pieces;
  QSize needed;  // the client size that shows every control and piece whole

  // The window area that shows `form_area` (form coordinates), one rectangle per piece.
  QList<QRect> Shown(const QRect& form_area) const;
};

// The controls at their designed places when the client area holds them. A smaller area (high
// display scaling) first gets the buttons beside the picture, then loses the empty rows above the
// picture and between the picture and the save's progress mark, so the card, the buttons, the
// finished card's mark and the progress mark stay visible on a screen just taller than the card.
// Buttons whose caption needs more room than designed grow to the left and downwards.
WindowArrangement ArrangeWindow(QSize client, QSize exit_size, QSize repeat_size, QSize save_size);

// The client size of the designed arrangement, margins included.
QSize DesignedClientSize(QSize exit_size, QSize repeat_size, QSize save_size);

}  // namespace card
