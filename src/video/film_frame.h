#pragma once

#include "raster/pixel_buffer.h"

namespace card {

// One frame of a film as its source hands it to the encoder.
struct FilmFrame {
  const PixelBuffer* picture = nullptr;  // the card's picture; nullptr: the film has ended
  // The rows that changed since the frame before (every row in the first frame); none when
  // first_changed_row > last_changed_row.
  int first_changed_row = 0;
  int last_changed_row = -1;
  bool key = false;  // a frame a player can start at: the finished card
};

}  // namespace card
