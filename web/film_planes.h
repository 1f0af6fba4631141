#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "video/film_frame.h"
#include "video/film_plan.h"

namespace card {

// A film frame as the browser's video encoder takes it: I420, the Y plane at the film's size and
// the U and V planes at half of it, full-range BT.709. Each card pixel is a 2 x 2 square of Y
// samples and exactly one U and one V sample, so its colour is whole in the film, as the renderer's
// videos keep it; the values are the card's sRGB ones, to be tagged with sRGB's transfer.
class FilmPlanes {
 public:
  static constexpr std::size_t kLumaBytes = static_cast<std::size_t>(kFilmWidth) * kFilmHeight;
  static constexpr std::size_t kBytes = kLumaBytes * 3 / 2;

  FilmPlanes() : planes_(kBytes, 0) {}

  // Converts the rows of `frame` that changed since the frame before.
  void Convert(const FilmFrame& frame);
  const std::uint8_t* data() const { return planes_.data(); }

 private:
  std::vector<std::uint8_t> planes_;
};

}  // namespace card
