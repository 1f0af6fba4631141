#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "services/clock.h"
#include "video/film_frame.h"

namespace card {

// What makes a card's picture: the name as typed, the draws of its recipe (none: the name's own),
// and the greeting's address and year (empty: the built-in ones). `started` names its files.
struct FilmedCard {
  std::string name;
  std::optional<std::vector<float>> draws;
  std::string address;
  std::string year;
  LocalTime started;
};

// The frames of a card's film (film_plan.h), made as the window makes the card: the in-order scan,
// each position's two strokes in turn, row by row from the top, so later rows reach back over the
// earlier ones; then the greeting as the window prints it. The last frame is the card itself.
class GrowthFrames {
 public:
  explicit GrowthFrames(const FilmedCard& card);
  ~GrowthFrames();
  GrowthFrames(const GrowthFrames&) = delete;
  GrowthFrames& operator=(const GrowthFrames&) = delete;

  // The next frame, its picture valid until the next call; no picture after the last frame.
  FilmFrame Next();
  // The file name stem the window gives the card ("T20261231235958").
  const std::string& stem() const;

 private:
  struct Card;
  std::unique_ptr<Card> card_;
  int next_frame_ = 0;
  int rows_scanned_ = 0;
};

}  // namespace card
