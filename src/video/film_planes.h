#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "video/film_frame.h"
#include "video/film_plan.h"

namespace card {

// How the film's samples span their bytes: limited (16 to 235, the usual range of H.264 that every
// player takes) or full (0 to 255, what the browser's encoder is handed).
enum class FilmRange { kLimited, kFull };

// Where the three I420 planes of a frame lie: the Y plane at the film's size, U and V at half of
// it.
struct FilmPlaneView {
  std::uint8_t* y;
  std::uint8_t* u;
  std::uint8_t* v;
  std::ptrdiff_t y_stride, chroma_stride;  // bytes from one row to the next
};

// Converts the rows of `frame` that changed since the frame before into the planes, BT.709. Each
// card pixel becomes a 2 x 2 square of Y samples and exactly one U and one V sample, so its colour
// is whole in the film; the values are the card's sRGB ones, to be tagged with BT.709 or sRGB's
// transfer.
void ConvertFilmRows(const FilmFrame& frame, FilmRange range, const FilmPlaneView& planes);

// A film's frames as one block of I420 planes, full range, for the page's encoder.
class FilmPlanes {
 public:
  static constexpr std::size_t kLumaBytes = static_cast<std::size_t>(kFilmWidth) * kFilmHeight;
  static constexpr std::size_t kBytes = kLumaBytes * 3 / 2;

  FilmPlanes() : planes_(kBytes, 0) {}

  void Convert(const FilmFrame& frame);
  const std::uint8_t* data() const { return planes_.data(); }

 private:
  std::vector<std::uint8_t> planes_;
};

}  // namespace card
