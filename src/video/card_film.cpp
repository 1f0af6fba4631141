#include "video/card_film.h"

#include "video/film_encoder.h"

namespace card {

CardFilm MakeCardFilm(const FilmedCard& card, int threads) {
  GrowthFrames frames(card);
  CardFilm film;
  film.mp4 = EncodeFilm([&frames] { return frames.Next(); }, threads);
  film.stem = frames.stem();
  return film;
}

}  // namespace card
