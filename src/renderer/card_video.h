#pragma once

#include <string>

#include "renderer/headless_card.h"
#include "video/card_film.h"

namespace card {

// Whether the path ends in .mp4, the one video format the renderer writes.
bool IsVideoPath(const std::string& path);

// The film of the requested card's growth, its encoder on the request's threads. Throws
// VideoError.
CardFilm MakeCardVideo(const CardRequest& request);

}  // namespace card
