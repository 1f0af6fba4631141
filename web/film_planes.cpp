#include "film_planes.h"

#include <algorithm>

namespace card {
namespace {

static_assert(kFilmScale == 2, "a card pixel must be exactly one colour sample of the film");

constexpr std::size_t kFilmRow = kFilmWidth;
constexpr std::size_t kChromaRow = kFilmWidth / 2;
constexpr std::size_t kChromaBytes = kChromaRow * (kFilmHeight / 2);

// Full-range BT.709 in 16-bit fixed point, rounded; each row of weights sums to 1 (Y) or 0 (U, V).
std::uint8_t Weighted(int r, int g, int b, int wr, int wg, int wb, int offset) {
  const int value = (wr * r + wg * g + wb * b + (offset << 16) + (1 << 15)) >> 16;
  return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

void FilmPlanes::Convert(const FilmFrame& frame) {
  std::uint8_t* const luma = planes_.data();
  std::uint8_t* const blue = luma + kLumaBytes;
  std::uint8_t* const red = blue + kChromaBytes;
  const PixelBuffer& picture = *frame.picture;
  for (int row = frame.first_changed_row; row <= frame.last_changed_row; ++row) {
    const std::uint32_t* from = picture.scanline(row);
    const auto at = static_cast<std::size_t>(row);
    std::uint8_t* y = luma + 2 * at * kFilmRow;
    std::uint8_t* u = blue + at * kChromaRow;
    std::uint8_t* v = red + at * kChromaRow;
    for (int x = 0; x < picture.width(); ++x, y += 2) {
      const std::uint32_t rgb = from[x];
      const int r = static_cast<int>((rgb >> 16) & 0xFF);
      const int g = static_cast<int>((rgb >> 8) & 0xFF);
      const int b = static_cast<int>(rgb & 0xFF);
      y[0] = y[1] = y[kFilmRow] = y[kFilmRow + 1] = Weighted(r, g, b, 13933, 46871, 4732, 0);
      *u++ = Weighted(r, g, b, -7509, -25259, 32768, 128);
      *v++ = Weighted(r, g, b, 32768, -29763, -3005, 128);
    }
  }
}

}  // namespace card
