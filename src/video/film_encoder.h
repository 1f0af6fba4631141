#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "video/film_frame.h"

namespace card {

// The encoder every film is made with; a build of FFmpeg without it cannot make films.
inline constexpr char kFilmEncoder[] = "libx264";

// Throws VideoError, saying which encoder is missing, when this FFmpeg cannot make films.
void RequireFilmEncoder();

// Encodes the frames that `next` hands out (pictures of the card's size, until one without a
// picture) as an MP4 file of H.264 in yuv420p at the film's size and rate (film_plan.h), the index
// at the front, so a player can start before the whole file has arrived. Returns the file's bytes.
// `threads`: threads for the encoder. Throws VideoError.
std::vector<std::uint8_t> EncodeFilm(const std::function<FilmFrame()>& next, int threads);

}  // namespace card
