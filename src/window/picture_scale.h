#pragma once

#include <QSize>
#include <QtGlobal>

namespace card {

// How large the card is shown: `factor` device pixels for each card pixel, on a screen with
// `device_ratio` device pixels per logical pixel (the display scaling). A whole factor keeps every
// card pixel a sharp square at any scaling; the window's own drawing is shown at the same factor.
struct PictureScale {
  int factor = 1;
  qreal device_ratio = 1.0;

  // Logical pixels per card pixel.
  qreal logical() const { return factor / device_ratio; }
  // The whole logical pixels that hold `pixels` card pixels.
  QSize Shown(QSize pixels) const;
  // `logical`, or the first logical coordinate after it that lies on a device pixel's edge, so
  // that what is shown from there starts on a whole device pixel.
  int OnDevicePixel(int logical) const;

  // The largest factor the window shows: the whole factor nearest to the display scaling (halves
  // up), so that a screen at 100 % shows the card at its pixels and a large screen does not
  // magnify it beyond its designed size.
  static int LargestFactor(qreal device_ratio);
};

}  // namespace card
