#pragma once

#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

#include "window/picture_scale.h"

namespace card {

// A part of the window's own drawing and where it is shown: the source's top left corner at `at`
// (window coordinates), each form pixel as large as a card pixel.
struct FormPiece {
  QRect source;
  QPointF at;
};

// The sizes the three buttons' captions need.
struct ButtonSizes {
  QSize exit, repeat, save;
};

// Where the picture, the three buttons and the window's own drawing stand in a client area.
struct WindowArrangement {
  enum class Layout {
    kDesigned,  // the buttons under the picture, at their designed places
    kBeside,    // the buttons beside the picture
    kTight,     // beside it, and the empty rows above and under the picture dropped
  };

  Layout layout = Layout::kDesigned;
  PictureScale scale;
  QRect picture;  // whole logical pixels; the card fills it from its top left corner
  QRect exit, repeat, save;
  QRect status;  // the status line: under the picture beside the buttons, or above the buttons
  QList<FormPiece> pieces;
  QSize needed;  // the client size that shows every control and piece whole

  bool Fits(QSize client) const {
    return client.width() >= needed.width() && client.height() >= needed.height();
  }
  // Where `piece` shows the part `form_area` of its source, in window coordinates.
  QRectF Target(const FormPiece& piece, const QRect& form_area) const;
  // The window area that shows `form_area` (form coordinates), one rectangle per piece.
  QList<QRect> Shown(const QRect& form_area) const;
};

// The controls around the card shown at `scale`: at their designed places (kept in their designed
// distance from the picture's corner) when the client area holds them. A smaller area first gets
// the buttons beside the picture, then loses the empty rows above the picture and between the
// picture and the save's progress mark, so the card, the buttons, the finished card's mark and the
// progress mark stay visible on a screen just taller than the card. Buttons whose caption needs
// more room than designed grow to the left and downwards.
WindowArrangement ArrangeWindow(QSize client, PictureScale scale, const ButtonSizes& buttons);

// The arrangement of the largest whole factor, up to PictureScale::LargestFactor, that fits
// `client`: the card as large as the screen allows without blurring it. Factor 1 when none fits.
WindowArrangement FitWindow(QSize client, qreal device_ratio, const ButtonSizes& buttons);

// The client size of the designed arrangement, margins included.
QSize DesignedClientSize(PictureScale scale, const ButtonSizes& buttons);

// The window's minimum client size: as narrow as the designed arrangement and as low as the tight
// one, both with the card at one device pixel per card pixel.
QSize MinimumClientSize(qreal device_ratio, const ButtonSizes& buttons);

// `client` when it holds an arrangement; else the nearer of the sizes that hold the designed and
// the tight arrangement at one device pixel per card pixel.
QSize SizeHoldingEverything(QSize client, qreal device_ratio, const ButtonSizes& buttons);

}  // namespace card
