#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "video/growth_frames.h"

namespace card {

struct CardFilm {
  std::vector<std::uint8_t> mp4;  // the MP4 file's bytes
  std::string stem;               // the file name stem the window gives the card
};

// The film of the card's growth (film_plan.h): its frames as the window paints them, encoded on
// `threads` threads. Throws VideoError.
CardFilm MakeCardFilm(const FilmedCard& card, int threads);

}  // namespace card
