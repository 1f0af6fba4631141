#pragma once

#include "platform/platform.h"

namespace card {

// How a card's growth is filmed: the rows growing evenly for about three seconds, then the finished
// card with its greeting held for two, at 30 frames a second. H.264 keeps one colour sample per
// 2 x 2 pixels, so each card pixel becomes a 2 x 2 square and the strokes keep their colours.
inline constexpr int kFilmFramesPerSecond = 30;
inline constexpr int kGrowthFrames = 90;
inline constexpr int kHeldFrames = 60;
inline constexpr int kFilmFrames = kGrowthFrames + kHeldFrames;
inline constexpr int kFilmScale = 2;
inline constexpr int kFilmWidth = kPictureWidth * kFilmScale;
inline constexpr int kFilmHeight = kPictureHeight * kFilmScale;

// The scan's last row: the scan visits the rows 0 to the picture's height (one past its last pixel
// row), as the window's start-up sets it.
inline constexpr int kLastScanRow = kPictureHeight;

// The last scan row painted in growth frame `frame` (0 to kGrowthFrames - 1): the first row in the
// first frame, the last scan row in the last, evenly in between (rounded to the nearest row).
constexpr int GrowthRow(int frame) {
  constexpr int kSteps = kGrowthFrames - 1;
  return (2 * frame * kLastScanRow + kSteps) / (2 * kSteps);
}
static_assert(GrowthRow(0) == 0 && GrowthRow(kGrowthFrames - 1) == kLastScanRow);

}  // namespace card
