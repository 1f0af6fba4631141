#include "renderer/card_video.h"

#include <algorithm>
#include <cctype>

namespace card {

bool IsVideoPath(const std::string& path) {
  const std::string suffix = ".mp4";
  if (path.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), path.end() - 4, [](char expected, char given) {
    return expected == std::tolower(static_cast<unsigned char>(given));
  });
}

CardFilm MakeCardVideo(const CardRequest& request) {
  return MakeCardFilm(
      FilmedCard{request.name, request.draws, request.address, request.year, request.started},
      std::max(1, request.threads));
}

}  // namespace card
