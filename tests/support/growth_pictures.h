#pragma once

#include "raster/pixel_buffer.h"
#include "renderer/headless_card.h"

namespace card::testing {

// What the window shows of the requested card once its scan has painted the rows 0 to `last_row`,
// before the greeting: made by the renderer's whole-card scan over those rows alone, not by the
// window's row-by-row scan, so that the two can check each other.
PixelBuffer PictureAfterRow(const CardRequest& request, int last_row);

// What frame `frame` of the card's film must show: the picture after its growth row, or the
// finished card with its greeting once the rows are done.
PixelBuffer ExpectedFilmFrame(const CardRequest& request, int frame);

}  // namespace card::testing
