#include "video/film_planes.h"

#include <algorithm>

namespace card {
namespace {

static_assert(kFilmScale == 2, "a card pixel must be exactly one colour sample of the film");

// BT.709's weights in 16-bit fixed point for one range: Y, then U and V about their middle.
struct Weights {
  int y[3], u[3], v[3];
  int y_offset;
};

// Full range: Y = 0.2126 R + 0.7152 G + 0.0722 B; U and V are B - Y and R - Y scaled to +-0.5.
constexpr Weights kFull{{13933, 46871, 4732}, {-7509, -25259, 32768}, {32768, -29763, -3005}, 0};
// Limited range: the same scaled by 219/255 (Y, from 16) and by 224/255 (U and V).
constexpr Weights kLimited{
    {11966, 40254, 4064}, {-6596, -22189, 28785}, {28785, -26145, -2640}, 16};

std::uint8_t Weighted(int r, int g, int b, const int (&w)[3], int offset) {
  const int value = (w[0] * r + w[1] * g + w[2] * b + (offset << 16) + (1 << 15)) >> 16;
  return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

void ConvertFilmRows(const FilmFrame& frame, FilmRange range, const FilmPlaneView& planes) {
  const Weights& w = range == FilmRange::kFull ? kFull : kLimited;
  const PixelBuffer& picture = *frame.picture;
  const int width = picture.width();
  for (int row = frame.first_changed_row; row <= frame.last_changed_row; ++row) {
    const std::uint32_t* from = picture.scanline(row);
    std::uint8_t* const luma = planes.y + 2 * row * planes.y_stride;
    std::uint8_t* const u = planes.u + row * planes.chroma_stride;
    std::uint8_t* const v = planes.v + row * planes.chroma_stride;
    // One plain loop over the row, which the compiler turns into vector code, each Y value
    // written twice across; then the Y row copied to the row below.
    for (int x = 0; x < width; ++x) {
      const int r = static_cast<int>((from[x] >> 16) & 0xFF);
      const int g = static_cast<int>((from[x] >> 8) & 0xFF);
      const int b = static_cast<int>(from[x] & 0xFF);
      luma[2 * x] = luma[2 * x + 1] = Weighted(r, g, b, w.y, w.y_offset);
      u[x] = Weighted(r, g, b, w.u, 128);
      v[x] = Weighted(r, g, b, w.v, 128);
    }
    std::copy_n(luma, 2 * width, luma + planes.y_stride);
  }
}

void FilmPlanes::Convert(const FilmFrame& frame) {
  std::uint8_t* const luma = planes_.data();
  constexpr std::size_t kChromaBytes = kLumaBytes / 4;
  ConvertFilmRows(
      frame, FilmRange::kFull,
      {luma, luma + kLumaBytes, luma + kLumaBytes + kChromaBytes, kFilmWidth, kFilmWidth / 2});
}

}  // namespace card
